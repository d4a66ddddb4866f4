#include "win/admin_only_path.h"

#include <cwctype>

namespace win {
namespace {

PathView realPathView() {
    PathView v;
    v.attributes = [](const std::wstring& path) -> std::optional<DWORD> {
        const DWORD a = GetFileAttributesW(path.c_str());
        if (a == INVALID_FILE_ATTRIBUTES) return std::nullopt;
        return a;
    };
    v.driveType = [](const std::wstring& root) { return GetDriveTypeW(root.c_str()); };
    v.substituted = [](const std::wstring& drive) {
        wchar_t target[MAX_PATH];
        // A subst drive names a folder ("\??\C:\x"), a real one a device ("\Device\...").
        return QueryDosDeviceW(drive.c_str(), target, MAX_PATH) == 0 ||
               std::wstring_view(target).substr(0, 4) == L"\\??\\";
    };
    v.volumeFlags = [](const std::wstring& root) -> DWORD {
        DWORD flags = 0;
        return GetVolumeInformationW(root.c_str(), nullptr, 0, nullptr, nullptr, &flags, nullptr, 0)
                   ? flags
                   : 0;
    };
    v.onlyAdministrators = [](const std::wstring& path, Reach reach) {
        return onlyAdministratorsChange(path.c_str(), reach);
    };
    return v;
}

}  // namespace

PathView& pathView() {
    static PathView current = realPathView();
    return current;
}

bool onlyAdministratorsCanChange(const std::wstring& programPath) {
    // "X:\" and more; a UNC path, a device path (\\?\) or a relative one does not pass.
    if (programPath.size() < 4 || !std::iswalpha(programPath[0]) || programPath[1] != L':' ||
        programPath[2] != L'\\')
        return false;
    const PathView& view = pathView();
    const std::wstring drive = programPath.substr(0, 2), root = drive + L"\\";
    // A network drive (mapped or not) and a subst drive belong to one logon session.
    if (view.driveType(root) != DRIVE_FIXED || view.substituted(drive)) return false;
    if (!(view.volumeFlags(root) & FILE_PERSISTENT_ACLS)) return false;
    // From the file up to the root: the file and its folder in every right, the rest in renaming.
    std::wstring object = programPath;
    for (int level = 0;; ++level) {
        const auto attributes = view.attributes(object);
        if (!attributes || (*attributes & FILE_ATTRIBUTE_REPARSE_POINT)) return false;
        if (!view.onlyAdministrators(object, level < 2 ? Reach::everything : Reach::renaming))
            return false;
        if (object == root) return true;
        const size_t slash = object.find_last_of(L'\\');
        object = slash <= 2 ? root : object.substr(0, slash);
    }
}

}  // namespace win
