#include "startup_entry/m_start_up.h"

#include <string>

#include "startup_entry/reg_stuff.h"
#include "startup_entry/run_value.h"
#include "win/files.h"

namespace mStartUp {

void AddToStartup() {
    const std::wstring path = win::programPath();
    if (path.empty()) return;
    RegStuff::AddRunEntry(startup_entry::runValueName(path), startup_entry::runValueData(path));
}

void RemoveFromStartup() {
    const std::wstring path = win::programPath();
    if (path.empty()) return;
    RegStuff::RemoveRunEntry(startup_entry::runValueName(path));
}

}  // namespace mStartUp
