// The image's load configuration, which the system's loader reads before any code of ours runs.
#include <windows.h>

#include <cstddef>

// DependentLoadFlags (honoured from Windows 10 1607): the exe's own static imports are looked for
// in System32 only, never beside the program. It does not reach the imports of those DLLs. MinGW's
// header still calls that field Reserved1. The size is the structure's for this word size, through
// SEHandlerCount; on 32-bit the SafeSEH table stays empty (no table, count 0), as in an image
// without a load configuration. GNU ld places the structure but does not enter it in the PE header;
// the build's step after the link does (cmake/load_config.py).
constexpr IMAGE_LOAD_CONFIG_DIRECTORY loadConfig() {
    IMAGE_LOAD_CONFIG_DIRECTORY c{};  // every other field zero: the system's defaults
    c.Size = sizeof c;
    c.Reserved1 = LOAD_LIBRARY_SEARCH_SYSTEM32;  // DependentLoadFlags
    return c;
}

extern "C" constinit const IMAGE_LOAD_CONFIG_DIRECTORY _load_config_used = loadConfig();

static_assert(offsetof(IMAGE_LOAD_CONFIG_DIRECTORY, Reserved1) ==
                  (sizeof(void*) == 8 ? 0x4E : 0x36),
              "DependentLoadFlags sits where Windows reads it");
static_assert(sizeof(IMAGE_LOAD_CONFIG_DIRECTORY) == (sizeof(void*) == 8 ? 0x70 : 0x48));
