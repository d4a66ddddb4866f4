// What really loads on a Windows without the LOAD_LIBRARY_SEARCH_* flags (Windows 7 without
// KB2533623), in a process that has loaded no common controls yet. The build plants a marker DLL
// beside this test as comctl32.dll, and the runner has Wine take a native copy first, as Windows
// does for every DLL outside its KnownDLLs: whatever loads it leaves comctl32.dll.ran.
#include <windows.h>
#include <gtest/gtest.h>
#include <shlwapi.h>

#include <string>
#include <string_view>

#include "../win_test_support.h"
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

// Runs `step` with the test's manifest resource `id` as the active activation context.
template <class Step>
void inContext(int id, Step step) {
    const std::wstring self = win::programPath();
    ACTCTXW request{};
    request.cbSize = sizeof request;
    request.dwFlags = ACTCTX_FLAG_RESOURCE_NAME_VALID | ACTCTX_FLAG_HMODULE_VALID;
    request.lpSource = self.c_str();
    request.hModule = GetModuleHandleW(nullptr);
    request.lpResourceName = MAKEINTRESOURCEW(id);
    HANDLE context = CreateActCtxW(&request);
    ULONG_PTR cookie = 0;
    ASSERT_TRUE(context != INVALID_HANDLE_VALUE && ActivateActCtx(context, &cookie)) << id;
    step();
    DeactivateActCtx(0, cookie);
    ReleaseActCtx(context);
}

TEST(LibraryLoad, WithoutSearchFlagsNothingPlantedBesideTheProgramLoads) {
    const std::wstring marker = win::programFolder() + L"\\comctl32.dll";
    DeleteFileW((marker + L".ran").c_str());  // left by a failed run
    ASSERT_TRUE(win::fileExists(marker) && !GetModuleHandleW(L"comctl32.dll"))
        << "planted, unloaded";
    test_support::SeamGuard<win::EntryLookup> kernel32Lookup{win::setKernel32Lookup};
    kernel32Lookup.set(withoutSearchFlags);
    ASSERT_FALSE(win::librarySearchFlags());

    // Where the context does not answer the bare name, it is not loaded; a system DLL that
    // imports comctl32, loaded by its full path, finds it in the system folder, not here.
    inContext(3, [] {
        EXPECT_EQ(win::loadCommonControls(), nullptr);
        EXPECT_EQ(GetModuleHandleW(L"comctl32.dll"), nullptr);
        const HMODULE comdlg32 = win::systemLibrary(L"comdlg32.dll");
        EXPECT_NE(comdlg32, nullptr);
        FreeLibrary(comdlg32);  // and the comctl32 it brought, which would answer the next load
    });
    EXPECT_FALSE(markerRan());

    // The program's context answers with the side-by-side copy. Windows' copy reports version 6
    // or later and is taken; Wine 8's reports 5.81, and there it is left unused.
    inContext(2, [] {
        const HMODULE sideBySide = LoadLibraryW(L"comctl32.dll");
        const std::wstring path = win::modulePath(sideBySide), store = L"\\winsxs\\";
        EXPECT_EQ(_wcsnicmp(path.c_str(), (win::windowsFolder() + store).c_str(),
                            win::windowsFolder().size() + store.size()),
                  0)
            << path;
        const auto getVersion = win::moduleFunction<DLLGETVERSIONPROC>(sideBySide, "DllGetVersion");
        DLLVERSIONINFO version{sizeof version, 0, 0, 0, 0};
        ASSERT_TRUE(getVersion && SUCCEEDED(getVersion(&version)));
        EXPECT_EQ(win::loadCommonControls(), version.dwMajorVersion >= 6 ? sideBySide : nullptr)
            << version.dwMajorVersion << "." << version.dwMinorVersion;
    });
    EXPECT_FALSE(markerRan());
}

}  // namespace
