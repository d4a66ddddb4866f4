// The committed tray icons read back: the design's 16x16 image, each bitmap's frame, an "off"
// icon that differs from the "on" one in luminance, not in colour alone, and the PNG headers.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace {

struct Image {
    int size = 0, bpp = 0;
    std::string png;                 // a PNG image's bytes, whose pixels are not read
    std::vector<std::uint32_t> rgb;  // 0xRRGGBB, top row first
    std::uint32_t at(int x, int y) const { return rgb[static_cast<size_t>(y * size + x)]; }
};

std::uint32_t u32(const std::string& d, size_t at) {
    return static_cast<std::uint8_t>(d[at]) | static_cast<std::uint8_t>(d[at + 1]) << 8 |
           static_cast<std::uint8_t>(d[at + 2]) << 16 |
           static_cast<std::uint32_t>(static_cast<std::uint8_t>(d[at + 3])) << 24;
}

// The square images of an .ico file: uncompressed DIBs, read within the file, and PNG images.
std::vector<Image> readIco(const std::string& name) {
    std::ifstream f(std::string(VDG_SOURCE_DIR) + "/resources/" + name, std::ios::binary);
    const std::string d((std::istreambuf_iterator<char>(f)), {});
    std::vector<Image> images;
    if (d.size() < 6) return images;
    const int count = static_cast<std::uint8_t>(d[4]) | static_cast<std::uint8_t>(d[5]) << 8;
    for (int i = 0; i < count; ++i) {
        const size_t entry = 6 + 16 * static_cast<size_t>(i);
        Image im;
        im.size = static_cast<std::uint8_t>(d[entry]);
        im.bpp = static_cast<int>(u32(d, entry + 4) >> 16);
        const size_t at = u32(d, entry + 12), length = u32(d, entry + 8), bits = at + 40;
        const size_t stride = (static_cast<size_t>(im.size * im.bpp / 8) + 3) & ~size_t{3};
        if (at + length > d.size()) return {};
        if (d.compare(at, 8, "\x89PNG\r\n\x1a\n") == 0)
            im.png = d.substr(at, length);
        else if (40 + stride * static_cast<size_t>(im.size) > length)
            return {};
        for (int y = 0; im.png.empty() && y < im.size; ++y)
            for (int x = 0; x < im.size; ++x) {
                const size_t p = bits + stride * static_cast<size_t>(im.size - 1 - y) +
                                 static_cast<size_t>(x * im.bpp / 8);
                im.rgb.push_back(u32(d, p) & 0xFFFFFF);  // stored B, G, R: read as 0xRRGGBB
            }
        images.push_back(im);
    }
    return images;
}

double luminance(std::uint32_t c) {
    return 0.2126 * (c >> 16 & 0xFF) + 0.7152 * (c >> 8 & 0xFF) + 0.0722 * (c & 0xFF);
}

// The design: '#' black, 'B' blue (7, 162, 254), '.' light cyan (177, 255, 255).
const char* const kDesign[16] = {
    "################", "#..............#", "#.############.#", "#.#BBBBBBBBBB#.#",
    "#.#BBBBBBBBBB#.#", "#.#BBBBBBBBBB#.#", "#.####BBBB####.#", "#....#BBBB#....#",
    "#....#BBBB#....#", "#....#BBBB#....#", "#....#BBBB#....#", "#....#BBBB#....#",
    "#....#BBBB#....#", "#....######....#", "#..............#", "################"};

TEST(IconFiles, TrayIconsKeepTheDesignAndTheOffIconDiffersInLuminance) {
    const std::vector<Image> on = readIco("tray.ico"), off = readIco("tray_off.ico");
    const std::vector<int> sizes = {16, 20, 24, 28, 32, 40, 48, 64, 80};  // PNG from 64 on
    ASSERT_EQ(on.size(), sizes.size());
    ASSERT_EQ(off.size(), sizes.size());

    ASSERT_EQ(on[0].bpp, 24);
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 16; ++x) {
            const char c = kDesign[y][x];
            const std::uint32_t want = c == '#' ? 0 : c == 'B' ? 0x07A2FE : 0xB1FFFF;
            EXPECT_EQ(on[0].at(x, y), want) << "16x16 pixel " << x << "," << y;
        }

    for (size_t i = 0; i < sizes.size(); ++i) {
        const int s = sizes[i];
        ASSERT_EQ(on[i].size, s);
        ASSERT_EQ(off[i].size, s);
        if (s > 48) {  // after the signature, the header's width, height, bit depth, colour type 6
            const std::string side = std::string(3, '\0') + char(s);  // 32 bits, big-endian
            for (const Image* im : {&on[i], &off[i]})
                EXPECT_EQ(im->png.substr(std::min<size_t>(16, im->png.size()), 10),
                          side + side + "\x08\x06")
                    << s;
            continue;
        }
        for (const Image* im : {&on[i], &off[i]})
            for (int k = 0; k < s; ++k) {
                EXPECT_EQ(im->at(k, 0) | im->at(k, s - 1) | im->at(0, k) | im->at(s - 1, k), 0u)
                    << "frame of the " << s << " image, at " << k;
            }
        int darker = 0;  // pixels inside the frame that the off icon shows clearly darker
        for (int y = 1; y < s - 1; ++y)
            for (int x = 1; x < s - 1; ++x)
                if (luminance(on[i].at(x, y)) - luminance(off[i].at(x, y)) > 60) ++darker;
        EXPECT_GE(darker, s) << "off and on differ at " << s << " only in colour";
    }
}

}  // namespace
