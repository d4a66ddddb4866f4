#pragma once
// What the main window told its user and remembers having told, so that it is not told again:
// each notice, how long it counts as told, and where that is kept.
#include <string>
#include <utility>
#include <vector>

namespace main_window {

enum class Notice {
    kOffReason,      // why the software went off, in a balloon over the tray icon
    kLockPolicy,     // that a system policy disables locking, in the same balloon
    kStartupStays,   // the Run values this user may not delete, reported at load
    kRefusedPolicy,  // a policy text that names no choice, reported at load or a refresh
};

enum class Scope {
    kRun,           // each subject once while the program runs
    kUntilLifted,   // once for this user, until the subject is gone (a mark in the setting)
    kUntilChanged,  // once for this user, until the subject's text changes (the text kept)
};

struct NoticeMemory {
    Notice notice;
    Scope scope;
    const wchar_t* setting = nullptr;     // beside the options; none for a run's notice
    const wchar_t* toldMark = nullptr;    // the setting's text once told (kUntilLifted),
    const wchar_t* liftedMark = nullptr;  // and once lifted
    // A refused write of the setting is an error of its own; otherwise it costs only the notice
    // told once more.
    bool refusalReported = false;
};

// Users' registries hold these settings: their names and texts never change.
inline constexpr NoticeMemory kNoticeMemory[] = {
    {Notice::kOffReason, Scope::kRun},
    {Notice::kLockPolicy, Scope::kUntilLifted, L"Policy Notice", L"On", L"Off"},
    // Written before the report it stands for: its refusal is reported in that report's place.
    {Notice::kStartupStays, Scope::kUntilChanged, L"Machine Startup Reported", nullptr, nullptr,
     true},
    {Notice::kRefusedPolicy, Scope::kRun},
};

// The one place the form asks before telling one of these notices.
class RememberedNotices {
  public:
    // True when `subject` (what the notice tells) is to be told now: not told yet in its notice's
    // scope. From here on it counts as told. A notice kept until lifted has one subject.
    bool firstTelling(Notice notice, const std::wstring& subject);
    // The notice's subject is gone (the policy lifted, no value stays): told again when it returns.
    void lift(Notice notice);

  private:
    std::vector<std::pair<Notice, std::wstring>> toldThisRun_;
};

}  // namespace main_window
