// Stands in for a DLL or a program that someone planted beside ours under a system name: whatever
// loads or starts it leaves "<its own path>.ran" beside it, holding that path.
#include <windows.h>

namespace {

void leaveMark(HINSTANCE self) {
    wchar_t path[MAX_PATH + 8];
    const DWORD length = GetModuleFileNameW(self, path, MAX_PATH);
    if (length == 0 || length >= MAX_PATH) return;
    lstrcatW(path, L".ran");
    HANDLE mark = CreateFileW(path, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    if (mark == INVALID_HANDLE_VALUE) return;
    DWORD written = 0;
    WriteFile(mark, path, length * sizeof(wchar_t), &written, nullptr);
    CloseHandle(mark);
}

}  // namespace

#ifdef PLANTED_DLL
extern "C" BOOL WINAPI DllMain(HINSTANCE self, DWORD reason, void*) {
    if (reason == DLL_PROCESS_ATTACH) leaveMark(self);
    return TRUE;
}
#else
int WINAPI wWinMain(HINSTANCE self, HINSTANCE, PWSTR, int) {
    leaveMark(self);
    return 0;
}
#endif
