// Feeds arbitrary bytes to the skin file reader. A refusal must come as runtime::Error with a
// proper description; any other exception, a sanitizer report or a broken result is a crash.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "runtime/run_error.h"
#include "skin_engine/skin_file.h"

namespace {

void check(bool ok) {
    if (!ok) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const std::wstring_view name = L"C:\\app\\x\\o.cjs";
    try {
        const skin_engine::Skin skin = skin_engine::parseSkin(bytes, name);
        // What the painter relies on for an accepted file.
        check(size <= skin_engine::kMaxSkinFileBytes);
        check(skin.version == skin_engine::kSkinVersion);
        check(skin.font.face.size() <= 31);
        check(!skin.font.points || (*skin.font.points >= 1 && *skin.font.points <= 72));
        check(!skin.font.weight || (*skin.font.weight >= 100 && *skin.font.weight <= 900 &&
                                    *skin.font.weight % 100 == 0));
    } catch (const runtime::Error& e) {
        check(e.number == runtime::kBadSkinFile);
        check(e.description.starts_with(L"Skin file C:\\app\\x\\o.cjs"));
        check(e.description.size() < 600);  // messages quote the file only in short pieces
    }
    return 0;
}
