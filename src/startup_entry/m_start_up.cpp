#include "startup_entry/m_start_up.h"

#include <string>
#include <vector>

#include "startup_entry/run_value.h"
#include "win/admin_only_path.h"
#include "win/files.h"

namespace mStartUp {

void AddToStartup() {
    const std::wstring path = win::programPath();
    if (path.empty()) return;
    RegStuff::AddRunEntry(startup_entry::runValueName(path), path,
                          win::onlyAdministratorsCanChange(path));
}

void RemoveFromStartup(bool stayingReported) {
    const std::wstring path = win::programPath();
    if (path.empty()) return;
    RegStuff::RemoveRunEntry(startup_entry::runValueName(path), path, stayingReported);
}

RegStuff::StartupEntry StartupState() {
    const std::wstring path = win::programPath();
    if (path.empty()) return {};
    return RegStuff::ReadStartup(startup_entry::runValueName(path), path);
}

RegStuff::StartupEntry DropSecondValue() {
    const RegStuff::StartupEntry now = StartupState();
    if (!(now.byPolicy || now.machineStarts()) || !now.user.names) return now;
    RegStuff::RemoveUserValue(startup_entry::runValueName(win::programPath()));
    return StartupState();
}

void MendStartup() {
    const std::wstring path = win::programPath();
    if (path.empty()) return;
    // Both Program Files folders, as every process of 64-bit Windows sees them; 32-bit Windows
    // names neither, and has one package only.
    std::vector<std::wstring> installed;
    for (const wchar_t* variable : {L"ProgramW6432", L"ProgramFiles(x86)"}) {
        wchar_t folder[MAX_PATH];
        const DWORD length = GetEnvironmentVariableW(variable, folder, MAX_PATH);
        if (length > 0 && length < MAX_PATH)
            installed.push_back(std::wstring(folder, length) +
                                std::wstring(startup_entry::kInstalledTail));
    }
    RegStuff::MendUserValue(startup_entry::runValueName(path), path, installed);
}

}  // namespace mStartUp
