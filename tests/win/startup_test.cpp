// The start-up box against registry roots of the test's own, and the admin-only path test behind
// its view of the file system. Wine enforces no file permissions: the view models Windows's.
#include <windows.h>
#include <aclapi.h>
#include <gtest/gtest.h>
#include <sddl.h>

#include <map>

#include "main_window/form1.h"
#include "settings/policy_store.h"
#include "startup_entry/reg_stuff.h"
#include "startup_entry/run_value.h"
#include "win/admin_only_path.h"
#include "win/files.h"
#include "win/registry.h"
#include "win/win_handles.h"
#include "win_test_support.h"

namespace {

using startup_entry::kMarksRun;
using startup_entry::kMarksRun32;
using startup_entry::kRunSubkey;
const wchar_t kRoots[] = L"Software\\Vantrel test roots";
const wchar_t kPolicies[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Policies\\Explorer";

// Descriptors as Windows sets them (SDDL). A drive's root lets Authenticated Users add folders.
const wchar_t kAdminOnly[] = L"O:BAD:(A;OICI;FA;;;BA)(A;OICI;FA;;;SY)(A;OICI;0x1200a9;;;BU)";
const wchar_t kDriveRoot[] =
    L"O:SYD:(A;OICI;FA;;;BA)(A;OICI;FA;;;SY)(A;;0x4;;;AU)(A;OICIIO;SDGXGWGR;;;AU)";
const wchar_t kUsersModify[] = L"O:BAD:(A;OICI;FA;;;BA)(A;OICIID;0x1301bf;;;AU)";
const wchar_t kUsersRename[] = L"O:BAD:(A;OICI;FA;;;BA)(A;;SD;;;AU)";

HKEY openRoot(const wchar_t* which) {
    HKEY key = nullptr;
    RegCreateKeyExW(HKEY_CURRENT_USER, (std::wstring(kRoots) + L"\\" + which).c_str(), 0, nullptr,
                    0, KEY_ALL_ACCESS, nullptr, &key, nullptr);
    return key;
}

void put(HKEY root, const wchar_t* subkey, const std::wstring& name, const std::string& bytes,
         DWORD type) {
    win::OwnedKey key;
    RegCreateKeyExW(root, subkey, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, key.receive(), nullptr);
    RegSetValueExW(key.get(), name.c_str(), 0, type, reinterpret_cast<const BYTE*>(bytes.data()),
                   static_cast<DWORD>(bytes.size()));
}

bool has(HKEY root, const wchar_t* subkey, const std::wstring& name) {
    win::OwnedKey key;
    return RegOpenKeyExW(root, subkey, 0, KEY_QUERY_VALUE, key.receive()) == ERROR_SUCCESS &&
           win::findValue(key.get(), name) == ERROR_SUCCESS;
}

// Lets everyone read the key and change its permissions, and nothing else: a standard user's
// view of a machine key; `open` gives the test its rights back.
void restrict(HKEY root, const wchar_t* subkey, bool open) {
    win::OwnedKey key;
    RegCreateKeyExW(root, subkey, 0, nullptr, 0, WRITE_DAC, nullptr, key.receive(), nullptr);
    PSECURITY_DESCRIPTOR sd = nullptr;
    ConvertStringSecurityDescriptorToSecurityDescriptorW(
        open ? L"D:(A;OICI;KA;;;WD)" : L"D:(A;OICI;KR;;;WD)(A;OICI;WD;;;WD)", SDDL_REVISION_1, &sd,
        nullptr);
    RegSetKeySecurity(key.get(), DACL_SECURITY_INFORMATION, sd);
    LocalFree(sd);
}

enum Lock { none, machineRun = 1, machineMarks = 2 };
enum Path { adminOnly, othersWrite, parentRenamed, unreadable };

struct Row {
    const char* what;
    const char* before;  // U, M: this program's user and machine value; u, m: their disabling marks
    const char* policies = "";  // u, m: the user's or the machine's Run key switched off; O: "Off"
    int lock = none;
    Path path = adminOnly;
    RegStuff::MachineView view = RegStuff::MachineView::native;
    const wchar_t* machineMarks = kMarksRun;  // where this row's machine mark goes
    // Expected: the box after the load (checked, enabled), the boxes reported at two loads, and
    // what the registry holds after the load, and after the box is clicked once and twice.
    int checked;
    bool enabled;
    const char* afterLoad;
    const char* afterClick;
    const char* afterTwo;
    int reported[2] = {0, 0};
};

class StartupTest : public test_support::CapturedBoxes, public testing::WithParamInterface<Row> {
  protected:
    void SetUp() override {
        CapturedBoxes::SetUp();
        RegDeleteTreeW(HKEY_CURRENT_USER, kRoots);
        machine.reset(openRoot(L"machine"));
        user.reset(openRoot(L"user"));
        RegStuff::setMachineRoot(machine.get());
        RegStuff::setUserRoot(user.get());
        settings::setPolicyRoot(machine.get());
        put(machine.get(), kRunSubkey, L"-", "", REG_SZ);  // the machine's Run key exists
        win::pathView() = fakeView();
    }
    void TearDown() override {
        restrict(machine.get(), kRunSubkey, true);
        restrict(machine.get(), GetParam().machineMarks, true);
        RegStuff::setMachineRoot(HKEY_LOCAL_MACHINE);
        RegStuff::setUserRoot(HKEY_CURRENT_USER);
        RegStuff::setMachineView(RegStuff::MachineView::native);
        settings::setPolicyRoot(HKEY_LOCAL_MACHINE);
        win::resetPathView();
        machine.reset();
        user.reset();
        RegDeleteTreeW(HKEY_CURRENT_USER, kRoots);
        CapturedBoxes::TearDown();
    }

    win::PathView fakeView() {
        const std::wstring exe = win::programPath();
        std::map<std::wstring, const wchar_t*> sddl;  // by path; the rest is admin-only
        const std::wstring folder = exe.substr(0, exe.find_last_of(L'\\'));
        const std::wstring parent = folder.substr(0, folder.find_last_of(L'\\'));
        sddl[exe.substr(0, 3)] = kDriveRoot;
        if (GetParam().path == othersWrite) sddl[folder] = kUsersModify;
        if (GetParam().path == parentRenamed) sddl[parent] = kUsersRename;
        win::PathView v;
        v.attributes = [=](const std::wstring& p) -> std::optional<DWORD> {
            if (GetParam().path == unreadable && p == folder) return std::nullopt;
            return FILE_ATTRIBUTE_DIRECTORY;
        };
        v.driveType = [](const std::wstring&) { return UINT(DRIVE_FIXED); };
        v.substituted = [](const std::wstring&) { return false; };
        v.volumeFlags = [](const std::wstring&) { return DWORD(FILE_PERSISTENT_ACLS); };
        v.onlyAdministrators = [sddl](const std::wstring& p, win::Reach reach) {
            const auto found = sddl.find(p);
            PSECURITY_DESCRIPTOR sd = nullptr;
            ConvertStringSecurityDescriptorToSecurityDescriptorW(
                found == sddl.end() ? kAdminOnly : found->second, SDDL_REVISION_1, &sd, nullptr);
            PSID owner = nullptr;
            PACL dacl = nullptr;
            BOOL present = FALSE, defaulted = FALSE;
            GetSecurityDescriptorOwner(sd, &owner, &defaulted);
            GetSecurityDescriptorDacl(sd, &present, &dacl, &defaulted);
            const bool verdict = win::onlyAdministratorsChange(owner, dacl, reach);
            LocalFree(sd);
            return verdict;
        };
        return v;
    }

    void arrange(const Row& row) {
        const std::string self = [] {
            const std::wstring d = startup_entry::runValueData(win::programPath());
            return std::string(reinterpret_cast<const char*>(d.c_str()), (d.size() + 1) * 2);
        }();
        const std::string disabled("\x03\0\0\0\x11\x22\x33\x44\x55\x66\x77\x08", 12);
        const std::string on("\x01\0\0\0", 4);
        const std::string text(row.before);
        if (text.find('U') != std::string::npos) put(user.get(), kRunSubkey, name, self, REG_SZ);
        if (text.find('M') != std::string::npos) put(machine.get(), kRunSubkey, name, self, REG_SZ);
        if (text.find('u') != std::string::npos)
            put(user.get(), kMarksRun, name, disabled, REG_BINARY);
        if (text.find('m') != std::string::npos)
            put(machine.get(), row.machineMarks, name, disabled, REG_BINARY);
        const std::string policies(row.policies);
        if (policies.find('u') != std::string::npos)
            put(user.get(), kPolicies, L"DisableCurrentUserRun", on, REG_DWORD);
        if (policies.find('m') != std::string::npos)
            put(machine.get(), kPolicies, L"DisableLocalMachineRun", on, REG_DWORD);
        if (policies.find('O') != std::string::npos)
            put(machine.get(), settings::kPolicyKey, L"Windows Startup",
                std::string(reinterpret_cast<const char*>(L"Off"), 8), REG_SZ);
        if (row.lock & machineRun) restrict(machine.get(), kRunSubkey, false);
        if (row.lock & machineMarks) restrict(machine.get(), row.machineMarks, false);
        RegStuff::setMachineView(row.view);
    }

    std::string registry(const Row& row) const {
        std::string s;
        if (has(user.get(), kRunSubkey, name)) s += 'U';
        if (has(machine.get(), kRunSubkey, name)) s += 'M';
        if (has(user.get(), kMarksRun, name)) s += 'u';
        if (has(machine.get(), row.machineMarks, name)) s += 'm';
        return s;
    }

    win::OwnedKey machine, user;
    const std::wstring name = startup_entry::runValueName(win::programPath());
};

TEST_P(StartupTest, TheBoxShowsWhatWindowsWillStartAndClicksMakeItTrue) {
    const Row& row = GetParam();
    arrange(row);
    for (int start = 0; start < 2; ++start) {
        Form1 f;
        f.create();
        f.Form_Load();
        f.Timer1.setEnabled(false);
        EXPECT_EQ(reports.size(), size_t(row.reported[start])) << "start " << start;
        reports.clear();
        if (start == 1) break;
        EXPECT_EQ(f.Check4.value(), row.checked);
        EXPECT_EQ(IsWindowEnabled(f.Check4.hwnd()) != FALSE, row.enabled);
        EXPECT_EQ(f.Check4.accessibleFacts().description.empty(), row.enabled);
        EXPECT_EQ(registry(row), row.afterLoad);
        if (!row.enabled) continue;
        SendMessageW(f.Check4.hwnd(), BM_CLICK, 0, 0);
        EXPECT_EQ(registry(row), row.afterClick) << "after one click";
        EXPECT_EQ(f.Check4.value(), 1 - row.checked);
        SendMessageW(f.Check4.hwnd(), BM_CLICK, 0, 0);
        EXPECT_EQ(registry(row), row.afterTwo) << "after two clicks";
        EXPECT_EQ(f.Check4.value(), row.checked);
    }
    EXPECT_TRUE(unguarded.empty()) << (unguarded.empty() ? "" : std::string("a click was refused"));
}

using View = RegStuff::MachineView;
INSTANTIATE_TEST_SUITE_P(
    Rows, StartupTest,
    testing::Values(
        Row{"no value", "", "", none, adminOnly, View::native, kMarksRun, 0, true, "", "M", ""},
        Row{"user value", "U", "", none, adminOnly, View::native, kMarksRun, 1, true, "U", "", "M"},
        Row{"machine value", "M", "", none, adminOnly, View::native, kMarksRun, 1, true, "M", "",
            "M"},
        Row{"user value marked off", "Uu", "", none, othersWrite, View::native, kMarksRun, 0, true,
            "Uu", "U", ""},
        Row{"machine value marked off", "Mm", "", none, adminOnly, View::native, kMarksRun, 0, true,
            "Mm", "M", ""},
        Row{"machine mark this user may not delete", "Mm", "", machineMarks, adminOnly,
            View::native, kMarksRun, 0, true, "Mm", "UMm", "m"},
        Row{"user Run key off by policy", "U", "u", none, adminOnly, View::native, kMarksRun, 0,
            true, "U", "M", ""},
        Row{"machine Run key off by policy", "M", "m", none, adminOnly, View::native, kMarksRun, 0,
            true, "M", "UM", ""},
        Row{"both Run keys off by policy", "UM", "um", none, adminOnly, View::native, kMarksRun, 0,
            false, "UM", "", ""},
        Row{"machine value this user may not delete", "M", "", machineRun, adminOnly, View::native,
            kMarksRun, 1, false, "M", "", ""},
        Row{"the same with policy Off",
            "UM",
            "O",
            machineRun,
            adminOnly,
            View::native,
            kMarksRun,
            1,
            false,
            "M",
            "",
            "",
            {1, 0}},
        Row{"machine and user value", "UM", "", none, adminOnly, View::native, kMarksRun, 1, true,
            "M", "", "M"},
        Row{"32-bit view: its mark in Run32", "Mm", "", none, adminOnly, View::wow64, kMarksRun32,
            0, true, "Mm", "M", ""},
        Row{"32-bit view: a Run mark is another's", "Mm", "", none, adminOnly, View::wow64,
            kMarksRun, 1, true, "Mm", "m", "Mm"},
        Row{"machine value, path others can write", "Mm", "", none, othersWrite, View::native,
            kMarksRun, 0, true, "Mm", "Um", "m"},
        Row{"parent others can rename", "", "", none, parentRenamed, View::native, kMarksRun, 0,
            true, "", "U", ""},
        Row{"path that cannot be read", "", "", none, unreadable, View::native, kMarksRun, 0, true,
            "", "U", ""}),
    [](const testing::TestParamInfo<Row>& info) {
        std::string n;
        for (const char* c = info.param.what; *c; ++c)
            if (isalnum(static_cast<unsigned char>(*c))) n += *c;
        return n;
    });

// One object's verdict on descriptors the file system stores. Wine 8 keeps none (it reports the
// Unix owner and mode) and enforces none.
TEST(AdminOnlyObject, AFolderUsersMayWriteIsNotAdminOnlyOneOnlyAdministratorsChangeIs) {
    wchar_t temp[MAX_PATH];
    GetTempPathW(MAX_PATH, temp);
    const std::wstring folder = std::wstring(temp) + L"vantrel verdict";
    CreateDirectoryW(folder.c_str(), nullptr);
    struct Case {
        const wchar_t* sddl;
        bool adminOnly;
    };
    for (const Case c : {Case{L"O:BAD:(A;;FA;;;BA)(A;;FA;;;SY)(A;;0x1301bf;;;BU)", false},
                         Case{L"O:BAD:(A;;FA;;;BA)(A;;FA;;;SY)(A;;0x1200a9;;;BU)", true}}) {
        PSECURITY_DESCRIPTOR sd = nullptr;
        ASSERT_TRUE(ConvertStringSecurityDescriptorToSecurityDescriptorW(c.sddl, SDDL_REVISION_1,
                                                                         &sd, nullptr));
        PSID owner = nullptr;
        PACL dacl = nullptr;
        BOOL present = FALSE, defaulted = FALSE;
        GetSecurityDescriptorOwner(sd, &owner, &defaulted);
        GetSecurityDescriptorDacl(sd, &present, &dacl, &defaulted);
        const DWORD set =
            SetNamedSecurityInfoW(const_cast<wchar_t*>(folder.c_str()), SE_FILE_OBJECT,
                                  OWNER_SECURITY_INFORMATION | DACL_SECURITY_INFORMATION |
                                      PROTECTED_DACL_SECURITY_INFORMATION,
                                  owner, nullptr, dacl, nullptr);
        ASSERT_EQ(set, DWORD(ERROR_SUCCESS));
        PSID stored = nullptr;
        PSECURITY_DESCRIPTOR back = nullptr;
        GetNamedSecurityInfoW(folder.c_str(), SE_FILE_OBJECT, OWNER_SECURITY_INFORMATION, &stored,
                              nullptr, nullptr, nullptr, &back);
        const bool kept = stored && EqualSid(stored, owner);
        LocalFree(back);
        LocalFree(sd);
        if (!kept) {
            RemoveDirectoryW(folder.c_str());
            GTEST_SKIP() << "Wine accepted the descriptor and kept none (it makes a file's owner "
                            "and DACL up from the Unix owner and mode): the verdict is tested on "
                            "descriptors in memory";
        }
        EXPECT_EQ(win::onlyAdministratorsChange(folder.c_str(), win::Reach::everything),
                  c.adminOnly)
            << c.sddl;
    }
    RemoveDirectoryW(folder.c_str());
}

}  // namespace
