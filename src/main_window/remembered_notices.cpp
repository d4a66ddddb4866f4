#include "main_window/remembered_notices.h"

#include <algorithm>

#include "runtime/run_error.h"
#include "settings/settings_store.h"

namespace main_window {
namespace {

const NoticeMemory& memoryOf(Notice notice) {
    return *std::find_if(std::begin(kNoticeMemory), std::end(kNoticeMemory),
                         [notice](const NoticeMemory& m) { return m.notice == notice; });
}

void store(const NoticeMemory& memory, const std::wstring& text) {
    try {
        settings::saveSetting(memory.setting, text);
    } catch (const runtime::Error&) {
        if (memory.refusalReported) throw;
    }
}

}  // namespace

bool RememberedNotices::firstTelling(Notice notice, const std::wstring& subject) {
    const NoticeMemory& memory = memoryOf(notice);
    switch (memory.scope) {
        case Scope::kRun: {
            const std::pair<Notice, std::wstring> told{notice, subject};
            if (std::find(toldThisRun_.begin(), toldThisRun_.end(), told) != toldThisRun_.end())
                return false;
            toldThisRun_.push_back(told);
            return true;
        }
        case Scope::kUntilLifted:
            if (settings::getSetting(memory.setting, memory.liftedMark) == memory.toldMark)
                return false;
            store(memory, memory.toldMark);
            return true;
        case Scope::kUntilChanged:
            if (settings::getSetting(memory.setting, L"") == subject) return false;
            store(memory, subject);
            return true;
    }
    return true;
}

void RememberedNotices::lift(Notice notice) {
    const NoticeMemory& memory = memoryOf(notice);
    switch (memory.scope) {
        case Scope::kRun:
            toldThisRun_.erase(
                std::remove_if(toldThisRun_.begin(), toldThisRun_.end(),
                               [notice](const auto& t) { return t.first == notice; }),
                toldThisRun_.end());
            break;
        // Written only where it says told: a lifted notice costs no write at every status line.
        case Scope::kUntilLifted:
            if (settings::getSetting(memory.setting, memory.liftedMark) == memory.toldMark)
                store(memory, memory.liftedMark);
            break;
        case Scope::kUntilChanged:
            if (!settings::getSetting(memory.setting, L"").empty())
                settings::removeSetting(memory.setting);
            break;
    }
}

}  // namespace main_window
