#include "win/integrity.h"

#include <optional>
#include <vector>

#include "win/win_handles.h"

namespace win {
namespace {

// The integrity level of a process: the last sub-authority of its token's mandatory label.
std::optional<DWORD> integrityOf(HANDLE process) {
    OwnedHandle token;
    if (!OpenProcessToken(process, TOKEN_QUERY, token.receive())) return std::nullopt;
    DWORD size = 0;
    GetTokenInformation(token.get(), TokenIntegrityLevel, nullptr, 0, &size);
    std::vector<unsigned char> label(size);
    if (size == 0 ||
        !GetTokenInformation(token.get(), TokenIntegrityLevel, label.data(), size, &size))
        return std::nullopt;
    const PSID sid = reinterpret_cast<const TOKEN_MANDATORY_LABEL*>(label.data())->Label.Sid;
    if (!IsValidSid(sid) || *GetSidSubAuthorityCount(sid) == 0) return std::nullopt;
    return *GetSidSubAuthority(sid, *GetSidSubAuthorityCount(sid) - 1u);
}

}  // namespace

bool aboveOurIntegrity(HWND window) {
    DWORD processId = 0;
    if (!window || !GetWindowThreadProcessId(window, &processId)) return true;
    const OwnedHandle process(OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, processId));
    if (!process) return true;
    const std::optional<DWORD> theirs = integrityOf(process.get());
    const std::optional<DWORD> ours = integrityOf(GetCurrentProcess());
    return !theirs || !ours || *theirs > *ours;
}

}  // namespace win
