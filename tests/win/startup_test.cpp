// The start-up box against registry roots of the test's own, and the admin-only path test behind
// its view of the file system. Wine enforces no file permissions: the view models Windows's.
#include <windows.h>
#include <gtest/gtest.h>
#include <sddl.h>

#include <cstring>
#include <map>
#include <utility>

#include "main_window/form1.h"
#include "runtime/run_error.h"
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
using startup_entry::kPolicyRun;
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

// A descriptor from its SDDL text, with its owner and DACL.
struct Descriptor {
    explicit Descriptor(const wchar_t* sddl) {
        ConvertStringSecurityDescriptorToSecurityDescriptorW(sddl, SDDL_REVISION_1, &sd, nullptr);
        BOOL present = FALSE, defaulted = FALSE;
        GetSecurityDescriptorOwner(sd, &owner, &defaulted);
        GetSecurityDescriptorDacl(sd, &present, &dacl, &defaulted);
    }
    ~Descriptor() { LocalFree(sd); }
    PSECURITY_DESCRIPTOR sd = nullptr;
    PSID owner = nullptr;
    PACL dacl = nullptr;
};

// Lets everyone read the key and change its permissions, and nothing else: a standard user's
// view of a machine key; `open` gives the test its rights back.
void restrict(HKEY root, const wchar_t* subkey, bool open) {
    win::OwnedKey key;
    RegCreateKeyExW(root, subkey, 0, nullptr, 0, WRITE_DAC, nullptr, key.receive(), nullptr);
    const Descriptor d(open ? L"D:(A;OICI;KA;;;WD)" : L"D:(A;OICI;KR;;;WD)(A;OICI;WD;;;WD)");
    RegSetKeySecurity(key.get(), DACL_SECURITY_INFORMATION, d.sd);
}

enum Path { adminOnly, othersWrite, parentRenamed, unreadable };

// What a row's registry holds before, on 64-bit Windows: U, M, W this program's user value and
// machine value in the 64-bit and in the 32-bit view (WOW6432Node); u, m, w their disabling marks
// (in Run, Run and Run32), e in a mark's place the enabled form; P a value of the policy Run list;
// T each value over 260 characters (the path and an argument); p, q the user's and the machine's
// Run key off by policy (set in the other hive: either counts); O the policy "Windows Startup" Off;
// R, K the machine's Run key and its Run marks read-only for this user; 3 a 32-bit program, whose
// own view is the 32-bit one. Expected: the box after the load (1, 0; L locked), the registry in
// the same letters after the load and after one and two clicks, and the boxes reported at the
// first load (none at a second).
struct Row {
    const char* what;
    const char* before;
    Path path;
    const char* box;
    const char* load;
    const char* click;
    const char* two;
    size_t reported;
};

void PrintTo(const Row& row, std::ostream* out) {
    *out << row.what;
}

bool in(const char* letters, char c) {
    return std::strchr(letters, c) != nullptr;
}

class StartupTest : public test_support::CapturedBoxes, public testing::WithParamInterface<Row> {
  protected:
    void SetUp() override {
        CapturedBoxes::SetUp();
        RegDeleteTreeW(HKEY_CURRENT_USER, kRoots);
        machine.reset(openRoot(L"machine"));
        machine32.reset(openRoot(L"machine32"));
        user.reset(openRoot(L"user"));
        machineRoots.set(machine.get());
        machineRoots.wow64.set(machine32.get());
        userRoot.set(user.get());
        policyRoot.set(machine.get());
        put(machine.get(), kRunSubkey, L"-", "", REG_SZ);  // the machine's Run keys exist
        put(machine32.get(), kRunSubkey, L"-", "", REG_SZ);
        win::pathView() = fakeView(GetParam().path);
    }
    void TearDown() override {
        restrict(machine.get(), kRunSubkey, true);
        restrict(machine.get(), kMarksRun, true);
        machine.reset();
        machine32.reset();
        user.reset();
        RegDeleteTreeW(HKEY_CURRENT_USER, kRoots);
        CapturedBoxes::TearDown();
    }

    static win::PathView fakeView(Path path) {
        const std::wstring exe = win::programPath();
        const std::wstring folder = exe.substr(0, exe.find_last_of(L'\\'));
        const std::wstring parent = folder.substr(0, folder.find_last_of(L'\\'));
        std::map<std::wstring, const wchar_t*> sddl;  // by path; the rest is admin-only
        sddl[exe.substr(0, 3)] = kDriveRoot;
        if (path == othersWrite) sddl[folder] = kUsersModify;
        if (path == parentRenamed) sddl[parent] = kUsersRename;
        win::PathView v;
        v.attributes = [=](const std::wstring& p) -> std::optional<DWORD> {
            if (path == unreadable && p == folder) return std::nullopt;
            return FILE_ATTRIBUTE_DIRECTORY;
        };
        v.driveType = [](const std::wstring&) { return UINT(DRIVE_FIXED); };
        v.substituted = [](const std::wstring&) { return false; };
        v.volumeFlags = [](const std::wstring&) { return DWORD(FILE_PERSISTENT_ACLS); };
        v.onlyAdministrators = [sddl](const std::wstring& p, win::Reach reach) {
            const auto found = sddl.find(p);
            const Descriptor d(found == sddl.end() ? kAdminOnly : found->second);
            return win::onlyAdministratorsChange(d.owner, d.dacl, reach);
        };
        return v;
    }

    void arrange(const char* before) {
        const std::wstring quoted = startup_entry::runValueData(win::programPath());
        const std::wstring text =
            in(before, 'T') ? quoted + L" " + std::wstring(260, L'x') : quoted;
        const std::string self(reinterpret_cast<const char*>(text.c_str()),
                               (text.size() + 1) * sizeof(wchar_t));
        const std::string disabled("\x03\0\0\0\x11\x22\x33\x44\x55\x66\x77\x08", 12);
        const std::string on("\x01\0\0\0", 4), off(reinterpret_cast<const char*>(L"Off"), 8);
        if (in(before, '3')) machineView.set(RegStuff::MachineView::wow64);
        if (in(before, 'U')) put(user.get(), kRunSubkey, name, self, REG_SZ);
        if (in(before, 'M')) put(machine.get(), kRunSubkey, name, self, REG_SZ);
        if (in(before, 'W')) put(machine32.get(), kRunSubkey, name, self, REG_SZ);
        if (in(before, 'u')) put(user.get(), kMarksRun, name, disabled, REG_BINARY);
        if (in(before, 'm')) put(machine.get(), kMarksRun, name, disabled, REG_BINARY);
        if (in(before, 'w')) put(machine.get(), kMarksRun32, name, disabled, REG_BINARY);
        if (in(before, 'P')) {  // Group Policy's names; the second names this program
            put(machine.get(), kPolicyRun, L"1", std::string("C\0:\0\0", 6), REG_SZ);
            put(machine.get(), kPolicyRun, L"2", self, REG_SZ);
        }
        if (in(before, 'p')) put(machine.get(), kPolicies, L"DisableCurrentUserRun", on, REG_DWORD);
        if (in(before, 'q')) put(user.get(), kPolicies, L"DisableLocalMachineRun", on, REG_DWORD);
        if (in(before, 'O'))
            put(machine.get(), settings::kPolicyKey, L"Windows Startup", off, REG_SZ);
        if (in(before, 'R')) restrict(machine.get(), kRunSubkey, false);
        if (in(before, 'K')) restrict(machine.get(), kMarksRun, false);
    }

    std::string registry() const {
        std::string s;
        if (has(user.get(), kRunSubkey, name)) s += 'U';
        if (has(machine.get(), kRunSubkey, name)) s += 'M';
        if (has(machine32.get(), kRunSubkey, name)) s += 'W';
        const std::pair<HKEY, const wchar_t*> marks[] = {
            {user.get(), kMarksRun}, {machine.get(), kMarksRun}, {machine.get(), kMarksRun32}};
        for (size_t i = 0; i < 3; ++i) {
            win::OwnedKey key;
            RegOpenKeyExW(marks[i].first, marks[i].second, 0, KEY_QUERY_VALUE, key.receive());
            const std::string bytes = key ? win::readBytes(key.get(), name) : "";
            if (!bytes.empty())  // the disabling form, the enabled form, or another
                s += bytes == startup_entry::kEnabledMark ? 'e' : bytes[0] == 3 ? "umw"[i] : '?';
        }
        if (has(machine.get(), kPolicyRun, L"2")) s += 'P';
        return s;
    }

    win::OwnedKey machine, machine32, user;
    const std::wstring name = startup_entry::runValueName(win::programPath());
};

TEST_P(StartupTest, TheBoxShowsWhatWindowsWillStartAndClicksMakeItTrue) {
    const Row& row = GetParam();
    arrange(row.before);
    // A locked box is loaded twice: a refusal is reported at the first load only.
    for (const size_t reported : {row.reported, size_t(0)}) {
        Form1 f;
        f.create();
        f.Form_Load();
        f.Timer1.setEnabled(false);
        EXPECT_EQ(std::exchange(reports, {}).size(), reported);
        const int checked = row.box[0] == '1';
        const bool locked = in(row.box, 'L');
        EXPECT_EQ(f.Check4.value(), checked);
        EXPECT_EQ(IsWindowEnabled(f.Check4.hwnd()) == FALSE, locked);
        EXPECT_EQ(f.Check4.accessibleFacts().description.empty(), !locked) << "it says why";
        EXPECT_EQ(registry(), row.load);
        if (locked) continue;
        SendMessageW(f.Check4.hwnd(), BM_CLICK, 0, 0);
        EXPECT_EQ(registry(), row.click) << "after one click";
        EXPECT_EQ(f.Check4.value(), 1 - checked);
        SendMessageW(f.Check4.hwnd(), BM_CLICK, 0, 0);
        EXPECT_EQ(registry(), row.two) << "after two clicks";
        EXPECT_EQ(f.Check4.value(), checked);
        break;
    }
    EXPECT_TRUE(unguarded.empty()) << "a click was refused";
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(Rows, StartupTest, testing::Values(
    Row{"no value",                              "",      adminOnly,     "0",  "",   "M",    "",   0},
    Row{"user value",                            "U",     adminOnly,     "1",  "U",  "",     "M",  0},
    Row{"machine value",                         "M",     adminOnly,     "1",  "M",  "",     "M",  0},
    Row{"user value marked off",                 "Uu",    othersWrite,   "0",  "Uu", "Ue",   "e",  0},
    Row{"machine value marked off",              "Mm",    adminOnly,     "0",  "Mm", "Me",   "e",  0},
    Row{"machine mark this user may not delete", "MmK",   adminOnly,     "0",  "Mm", "UMm",  "m",  0},
    Row{"user Run key off by policy",            "Up",    adminOnly,     "0",  "U",  "M",    "",   0},
    Row{"machine Run key off by policy",         "Mq",    adminOnly,     "0",  "M",  "UM",   "",   0},
    Row{"both Run keys off by policy",           "UMpq",  adminOnly,     "0L", "UM", "",     "",   0},
    Row{"machine value this user may not delete","MR",    adminOnly,     "1L", "M",  "",     "",   0},
    Row{"the same with policy Off",              "UMRO",  adminOnly,     "1L", "M",  "",     "",   1},
    Row{"machine and user value",                "UM",    adminOnly,     "1",  "M",  "",     "M",  0},
    Row{"32-bit view: its Run32 mark enabled",   "Ww3",   adminOnly,     "0",  "Ww", "We",   "e",  0},
    Row{"32-bit view: a Run mark is another's",  "Wm3",   adminOnly,     "1",  "Wm", "m",    "Wm", 0},
    Row{"the other view's value and a user's",   "UW",    adminOnly,     "1",  "W",  "",     "M",  0},
    Row{"policy Run value and a user's",         "UP",    adminOnly,     "1L", "P",  "",     "",   0},
    Row{"values over 260 characters",            "UMT",   adminOnly,     "0",  "UM", "M",    "",   0},
    Row{"machine value, path others can write",  "Mm",    othersWrite,   "0",  "Mm", "Um",   "m",  0},
    Row{"parent others can rename",              "",      parentRenamed, "0",  "",   "U",    "",   0},
    Row{"path that cannot be read",              "",      unreadable,    "0",  "",   "U",    "",   0}),
    [](const testing::TestParamInfo<Row>& info) {
        std::string n;
        for (const char* c = info.param.what; *c; ++c)
            if (std::isalnum(static_cast<unsigned char>(*c))) n += *c;
        return n;
    });
// clang-format on

// "The data value for a key is a command line no longer than 260 characters": a path of 258
// (260 quoted) is written, one of 259 refused with the reason and written nowhere.
TEST(StartupCommandLine, APathTooLongForWindowsToRunIsRefused) {
    RegDeleteTreeW(HKEY_CURRENT_USER, kRoots);
    const win::OwnedKey machine(openRoot(L"machine")), user(openRoot(L"user"));
    test_support::MachineRootsGuard machineRoots;
    test_support::SeamGuard<HKEY> userRoot{RegStuff::setUserRoot};
    machineRoots.set(machine.get());
    userRoot.set(user.get());
    put(machine.get(), kRunSubkey, L"-", "", REG_SZ);
    for (const size_t length : {258, 259}) {
        const std::wstring name = std::to_wstring(length) + L".exe";
        const std::wstring path = L"C:\\" + std::wstring(length - 11, L'd') + L"\\" + name;
        std::wstring refusal;
        try {
            RegStuff::AddRunEntry(name, path, true);
        } catch (const runtime::Error& e) {
            refusal = e.description;
        }
        EXPECT_EQ(has(machine.get(), kRunSubkey, name) || has(user.get(), kRunSubkey, name),
                  length == 258);
        EXPECT_EQ(refusal.find(L"path is too long for Windows to start it") != refusal.npos,
                  length == 259);
    }
    RegDeleteTreeW(HKEY_CURRENT_USER, kRoots);
}

}  // namespace
