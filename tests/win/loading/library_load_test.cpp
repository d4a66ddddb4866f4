// What really loads on a Windows without the LOAD_LIBRARY_SEARCH_* flags (Windows 7 without
// KB2533623), in a process that has loaded no common controls yet. The build plants a marker DLL
// beside this test as comctl32.dll, and the test's runner has Wine take a native copy first, as
// Windows does for every DLL outside its KnownDLLs: whatever loads it leaves comctl32.dll.ran.
// The process has no manifest of its own (the system's search meets no context that would answer
// first); the program's context is activated from a resource where the test wants it.
#include <windows.h>
#include <gtest/gtest.h>
#include <shlwapi.h>

#include <string>
#include <string_view>

#include "win/common_controls.h"
#include "win/files.h"
#include "win/function_lookup.h"

namespace {

FARPROC withoutSearchFlags(const char* name) {
    if (std::string_view(name) == "AddDllDirectory") return nullptr;
    return GetProcAddress(GetModuleHandleW(L"kernel32.dll"), name);
}

bool markerRan() {
    return win::fileExists(win::programFolder() + L"\\comctl32.dll.ran");
}

// An activation context of its own, with no dependency on the common controls.
HANDLE contextWithoutCommonControls() {
    wchar_t folder[MAX_PATH];
    GetTempPathW(MAX_PATH, folder);
    const std::wstring path = std::wstring(folder) + L"vdg-no-common-controls.manifest";
    const char manifest[] =
        "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\n"
        "<assembly xmlns=\"urn:schemas-microsoft-com:asm.v1\" manifestVersion=\"1.0\">\n"
        "<assemblyIdentity type=\"win32\" name=\"Vantrel.NoCommonControls\" version=\"1.0.0.0\"/>\n"
        "</assembly>\n";
    HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    DWORD written = 0;
    WriteFile(file, manifest, sizeof manifest - 1, &written, nullptr);
    CloseHandle(file);
    ACTCTXW context{};
    context.cbSize = sizeof context;
    context.lpSource = path.c_str();
    return CreateActCtxW(&context);
}

TEST(LibraryLoad, WithoutSearchFlagsNothingPlantedBesideTheProgramLoads) {
    DeleteFileW((win::programFolder() + L"\\comctl32.dll.ran").c_str());
    ASSERT_TRUE(win::fileExists(win::programFolder() + L"\\comctl32.dll"));
    ASSERT_EQ(GetModuleHandleW(L"comctl32.dll"), nullptr) << "nothing loaded it yet";
    win::setKernel32Lookup(withoutSearchFlags);
    ASSERT_FALSE(win::librarySearchFlags());

    // In a context that does not answer the bare name, nothing is loaded by it; and a system DLL
    // that imports comctl32, loaded by its full path, finds it in the system folder, not here.
    HANDLE context = contextWithoutCommonControls();
    ASSERT_NE(context, INVALID_HANDLE_VALUE);
    ULONG_PTR cookie = 0;
    ASSERT_TRUE(ActivateActCtx(context, &cookie));
    EXPECT_EQ(win::loadCommonControls(), nullptr);
    EXPECT_EQ(GetModuleHandleW(L"comctl32.dll"), nullptr);
    const HMODULE comdlg32 = win::systemLibrary(L"comdlg32.dll");
    EXPECT_NE(comdlg32, nullptr);
    FreeLibrary(comdlg32);  // and the comctl32 it brought, which would answer the next load
    DeactivateActCtx(0, cookie);
    ReleaseActCtx(context);
    EXPECT_FALSE(markerRan());

    // The program's manifest answers the bare name with the side-by-side copy. Windows' copy
    // reports version 6 or later and is taken; Wine 8's reports 5.81, and there it is left unused.
    ACTCTXW program{};
    program.cbSize = sizeof program;
    program.dwFlags = ACTCTX_FLAG_RESOURCE_NAME_VALID | ACTCTX_FLAG_HMODULE_VALID;
    program.hModule = GetModuleHandleW(nullptr);
    program.lpResourceName = MAKEINTRESOURCEW(2);
    const std::wstring self = win::programPath();
    program.lpSource = self.c_str();
    context = CreateActCtxW(&program);
    ASSERT_NE(context, INVALID_HANDLE_VALUE);
    ASSERT_TRUE(ActivateActCtx(context, &cookie));
    const HMODULE sideBySide = LoadLibraryW(L"comctl32.dll");
    ASSERT_NE(sideBySide, nullptr);
    const std::wstring store = win::windowsFolder() + L"\\winsxs\\";
    const std::wstring path = win::modulePath(sideBySide);
    EXPECT_EQ(CompareStringOrdinal(path.c_str(), static_cast<int>(store.size()), store.c_str(),
                                   static_cast<int>(store.size()), TRUE),
              CSTR_EQUAL)
        << path;
    const auto getVersion = win::moduleFunction<DLLGETVERSIONPROC>(sideBySide, "DllGetVersion");
    DLLVERSIONINFO version{};
    version.cbSize = sizeof version;
    ASSERT_TRUE(getVersion && SUCCEEDED(getVersion(&version)));
    EXPECT_EQ(win::loadCommonControls(), version.dwMajorVersion >= 6 ? sideBySide : nullptr)
        << version.dwMajorVersion << "." << version.dwMinorVersion;
    DeactivateActCtx(0, cookie);
    ReleaseActCtx(context);
    EXPECT_FALSE(markerRan());
    win::setKernel32Lookup(nullptr);
}

}  // namespace
