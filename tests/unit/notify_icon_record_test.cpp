#include "tray/notify_icon_record.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

// Offsets written out from the record's layout table, independently of the builder's constants.
struct Word {
    size_t offset;
    uint32_t value;
};
struct Text {
    size_t offset, size;
    std::string bytes;  // what should stand before the NUL
};

// Checks all 488 bytes: the words little-endian, the text fields as text + NUL + blanks, and zero
// everywhere else.
void expectRecord(const tray::NotifyIconRecord& r, const std::vector<Word>& words,
                  const std::vector<Text>& texts) {
    std::vector<int> expected(tray::kRecordSize, 0);
    for (const Word& w : words)
        for (size_t i = 0; i < 4; ++i) expected[w.offset + i] = (w.value >> (8 * i)) & 0xFF;
    for (const Text& t : texts) {
        ASSERT_LT(t.bytes.size(), t.size);
        for (size_t i = 0; i < t.size; ++i)
            expected[t.offset + i] = i < t.bytes.size()    ? static_cast<uint8_t>(t.bytes[i])
                                     : i == t.bytes.size() ? 0
                                                           : 0x20;
    }
    for (size_t i = 0; i < tray::kRecordSize; ++i) ASSERT_EQ(r[i], expected[i]) << "byte " << i;
}

constexpr uint32_t kWnd = 0x00AB12CD, kIco = 0x8765F0E1;

TEST(NotifyIconRecord, EveryRequestFillsOnlyTheFieldsItNames) {
    struct Row {
        const char* name;
        tray::NotifyRequest request;
        uint32_t operation;
        std::vector<Word> words;
        std::vector<Text> texts;
    };
    const std::vector<Row> rows = {
        {"add with icon and tip",
         tray::addRequest(kWnd, 0, kIco, "Vantrel Desk Guard"),
         0,
         {{0, 488}, {4, kWnd}, {12, 1 | 2 | 4}, {16, 1125}, {20, kIco}},
         {{24, 128, "Vantrel Desk Guard"}}},
        {"add without icon",
         tray::addRequest(kWnd, 0, std::nullopt, "tip"),
         0,
         {{0, 488}, {4, kWnd}, {12, 1 | 4}, {16, 1125}},
         {{24, 128, "tip"}}},
        {"add with empty tip",
         tray::addRequest(kWnd, 0, kIco, ""),
         0,
         {{0, 488}, {4, kWnd}, {12, 1 | 2}, {16, 1125}, {20, kIco}},
         {}},
        {"add with icon handle 0 still names the icon",
         tray::addRequest(kWnd, 7, 0u, ""),
         0,
         {{0, 488}, {4, kWnd}, {8, 7}, {12, 1 | 2}, {16, 1125}},
         {}},
        {"remove", tray::removeRequest(kWnd, 0), 2, {{0, 488}, {4, kWnd}}, {}},
        {"change icon",
         tray::changeIconRequest(kWnd, 0, kIco),
         1,
         {{0, 488}, {4, kWnd}, {12, 2}, {20, kIco}},
         {}},
        {"change tip",
         tray::changeTipRequest(kWnd, 0, "new tip"),
         1,
         {{0, 488}, {4, kWnd}, {12, 4}},
         {{24, 128, "new tip"}}},
        {"empty tip is sent too",
         tray::changeTipRequest(kWnd, 0, ""),
         1,
         {{0, 488}, {4, kWnd}, {12, 4}},
         {{24, 128, ""}}},
        {"show balloon",
         tray::showBalloonRequest(kWnd, 0, "text\r\nline", "Title", 5000),
         1,
         {{0, 488}, {4, kWnd}, {12, 0x10}, {416, 5000}},
         {{160, 256, "text\r\nline"}, {420, 64, "Title"}}},
        {"show balloon without a time",
         tray::showBalloonRequest(kWnd, 0, "t", "T", 0),
         1,
         {{0, 488}, {4, kWnd}, {12, 0x10}},
         {{160, 256, "t"}, {420, 64, "T"}}},
        {"clear balloon keeps the shown record's time",
         tray::clearBalloonRequest(tray::showBalloonRequest(kWnd, 0, "text", "Title", 5000)),
         1,
         {{0, 488}, {4, kWnd}, {12, 0x10}, {416, 5000}},
         {{160, 256, ""}, {420, 64, ""}}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(row.request.operation, row.operation);
        expectRecord(row.request.record, row.words, row.texts);
    }
}

TEST(NotifyIconRecord, TextFieldsAreCutToLeaveRoomForTheirNul) {
    struct Row {
        const char* name;
        size_t fieldOffset, fieldSize;
        size_t length;  // of the text given
        tray::NotifyRequest (*build)(const std::string&);
    };
    auto tip = [](const std::string& s) { return tray::changeTipRequest(kWnd, 0, s); };
    auto info = [](const std::string& s) { return tray::showBalloonRequest(kWnd, 0, s, "", 0); };
    auto title = [](const std::string& s) { return tray::showBalloonRequest(kWnd, 0, "", s, 0); };
    const std::vector<Row> rows = {
        {"tip 126", 24, 128, 126, +tip},    {"tip 127", 24, 128, 127, +tip},
        {"tip 128", 24, 128, 128, +tip},    {"tip 300", 24, 128, 300, +tip},
        {"info 255", 160, 256, 255, +info}, {"info 256", 160, 256, 256, +info},
        {"info 999", 160, 256, 999, +info}, {"title 62", 420, 64, 62, +title},
        {"title 63", 420, 64, 63, +title},  {"title 64", 420, 64, 64, +title},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        std::string text;
        for (size_t i = 0; i < row.length; ++i) text += static_cast<char>('A' + i % 26);
        const tray::NotifyIconRecord r = row.build(text).record;
        const size_t kept = std::min(row.length, row.fieldSize - 1);
        EXPECT_EQ(std::string(reinterpret_cast<const char*>(&r[row.fieldOffset]), kept),
                  text.substr(0, kept));
        EXPECT_EQ(r[row.fieldOffset + kept], 0);
        for (size_t i = kept + 1; i < row.fieldSize; ++i)
            ASSERT_EQ(r[row.fieldOffset + i], 0x20) << "byte " << i << " of the field";
        // The field never spills into the next one.
        EXPECT_EQ(r[row.fieldOffset + row.fieldSize], 0);
    }
}

TEST(NotifyIconRecord, BytesPassThroughUnchangedUpToTheFirstNul) {
    // The default tip carries its own NUL as 14th character: the tooltip ends there.
    const std::string defaultTip("Telnet Server\0", 14);
    const tray::NotifyIconRecord r = tray::changeTipRequest(kWnd, 0, defaultTip).record;
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(&r[24]), 16),
              std::string("Telnet Server\0\0 ", 16));
    EXPECT_EQ(tray::readText(r, tray::kTip), "Telnet Server");
    // Code-page bytes above 0x7F are copied as they are.
    const tray::NotifyIconRecord b =
        tray::showBalloonRequest(kWnd, 0, "\xE9t\xE9", "\x80", 0).record;
    EXPECT_EQ(b[160], 0xE9);
    EXPECT_EQ(b[162], 0xE9);
    EXPECT_EQ(b[420], 0x80);
    EXPECT_EQ(tray::readU32(b, tray::kTimeout), 0u);
}

}  // namespace
