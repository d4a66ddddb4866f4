#include "win/admin_only_object.h"

#include <aclapi.h>
#include <sddl.h>

namespace win {
namespace {

bool administrative(PSID sid) {
    if (!sid || !IsValidSid(sid)) return false;
    if (IsWellKnownSid(sid, WinBuiltinAdministratorsSid) || IsWellKnownSid(sid, WinLocalSystemSid))
        return true;
    // NT SERVICE\TrustedInstaller, which owns the system's own folders.
    static const PSID trustedInstaller = [] {
        PSID made = nullptr;
        ConvertStringSidToSidW(L"S-1-5-80-956008885-3418522649-1831038044-1853292631-2271478464",
                               &made);
        return made;  // kept for the life of the process
    }();
    return trustedInstaller && EqualSid(sid, trustedInstaller);
}

ACCESS_MASK countedRights(Reach reach) {
    const ACCESS_MASK renaming = DELETE | FILE_DELETE_CHILD | WRITE_DAC | WRITE_OWNER;
    if (reach == Reach::renaming) return renaming;
    return renaming | FILE_WRITE_DATA | FILE_APPEND_DATA | FILE_WRITE_EA;
}

}  // namespace

bool onlyAdministratorsChange(PSID owner, const ACL* dacl, Reach reach) {
    if (!administrative(owner) || !dacl) return false;
    GENERIC_MAPPING mapping{FILE_GENERIC_READ, FILE_GENERIC_WRITE, FILE_GENERIC_EXECUTE,
                            FILE_ALL_ACCESS};
    for (DWORD i = 0; i < dacl->AceCount; ++i) {
        void* entry = nullptr;
        if (!GetAce(const_cast<ACL*>(dacl), i, &entry)) return false;
        const auto* header = static_cast<const ACE_HEADER*>(entry);
        if (header->AceFlags & INHERIT_ONLY_ACE) continue;  // passed on only, not applied here
        if (header->AceType == ACCESS_DENIED_ACE_TYPE) continue;  // takes rights away only
        if (header->AceType != ACCESS_ALLOWED_ACE_TYPE) return false;
        const auto* allowed = static_cast<const ACCESS_ALLOWED_ACE*>(entry);
        ACCESS_MASK rights = allowed->Mask;
        MapGenericMask(&rights, &mapping);
        if ((rights & countedRights(reach)) &&
            !administrative(const_cast<DWORD*>(&allowed->SidStart)))
            return false;
    }
    return true;
}

bool onlyAdministratorsChange(const wchar_t* path, Reach reach) {
    PSID owner = nullptr;
    PACL dacl = nullptr;
    PSECURITY_DESCRIPTOR descriptor = nullptr;
    if (GetNamedSecurityInfoW(path, SE_FILE_OBJECT,
                              OWNER_SECURITY_INFORMATION | DACL_SECURITY_INFORMATION, &owner,
                              nullptr, &dacl, nullptr, &descriptor) != ERROR_SUCCESS)
        return false;
    const bool verdict = onlyAdministratorsChange(owner, dacl, reach);
    LocalFree(descriptor);
    return verdict;
}

}  // namespace win
