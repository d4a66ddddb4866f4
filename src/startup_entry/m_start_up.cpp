#include "startup_entry/m_start_up.h"

#include <string>

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

}  // namespace mStartUp
