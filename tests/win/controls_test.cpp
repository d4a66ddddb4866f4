// Controls raise their change handlers for changes from code and from the user alike, and only
// when the value really changes; the timer never nests its handler.
#include <windows.h>
#include <gtest/gtest.h>

#include "main_window/form1.h"
#include "runtime/run_error.h"
#include "win_test_support.h"

namespace {

class ControlsTest : public test_support::CapturedBoxes {
  protected:
    void SetUp() override {
        CapturedBoxes::SetUp();
        form.create();
        for (const wchar_t* t : {L"a", L"b", L"c"}) form.Combo1.addItem(t);
        form.Combo1.onClick = [this] { ++comboEvents; };
        form.Check4.onClick = [this] { ++checkEvents; };
    }
    Form1 form;
    int comboEvents = 0, checkEvents = 0;
};

TEST_F(ControlsTest, ListSelectionRaisesItsHandlerOnlyOnChange) {
    const struct {
        int index, events;
        const wchar_t* text;
    } rows[] = {{-1, 0, L""}, {1, 1, L"b"}, {1, 1, L"b"}, {2, 2, L"c"}, {-1, 3, L""}, {0, 4, L"a"}};
    for (const auto& row : rows) {
        form.Combo1.setListIndex(row.index);
        EXPECT_EQ(comboEvents, row.events) << row.index;
        EXPECT_EQ(form.Combo1.text(), row.text);
    }
    // A user's choice arrives as the list's own notification.
    SendMessageW(form.Combo1.hwnd(), CB_SETCURSEL, 2, 0);
    SendMessageW(form.Frame1.hwnd(), WM_COMMAND, MAKEWPARAM(0, CBN_SELCHANGE),
                 reinterpret_cast<LPARAM>(form.Combo1.hwnd()));
    EXPECT_EQ(comboEvents, 5);
    EXPECT_EQ(form.Combo1.listIndex(), 2);
}

TEST_F(ControlsTest, AnIndexThatNamesNoItemIsAnInvalidPropertyValue) {
    for (int bad : {-2, 3, 100, -32768}) {
        try {
            form.Combo1.setListIndex(bad);
            ADD_FAILURE() << bad;
        } catch (const runtime::Error& e) {
            EXPECT_EQ(e.number, runtime::kInvalidPropertyValue);
            EXPECT_EQ(e.description, L"Invalid property value");
        }
    }
    EXPECT_EQ(comboEvents, 0);
    EXPECT_EQ(form.Combo1.listIndex(), -1);
}

TEST_F(ControlsTest, CheckBoxClicksToggleAndRaiseTheHandler) {
    form.Check4.setValue(0);
    EXPECT_EQ(checkEvents, 0);
    form.Check4.setValue(1);
    EXPECT_EQ(checkEvents, 1);
    EXPECT_EQ(SendMessageW(form.Check4.hwnd(), BM_GETCHECK, 0, 0), BST_CHECKED);
    SendMessageW(form.Check4.hwnd(), BM_CLICK, 0, 0);  // the user's click
    EXPECT_EQ(form.Check4.value(), 0);
    EXPECT_EQ(checkEvents, 2);
    EXPECT_EQ(SendMessageW(form.Check4.hwnd(), BM_GETCHECK, 0, 0), BST_UNCHECKED);
}

TEST_F(ControlsTest, TheTimerDropsTicksWhileItsHandlerRuns) {
    int entered = 0, nested = 0, depth = 0;
    form.Timer1.onTick = [&] {
        ++entered;
        if (depth++ > 0) ++nested;
        if (entered == 1) test_support::pumpFor(150);  // other ticks fall due meanwhile
        --depth;
    };
    form.Timer1.setInterval(5);
    form.Timer1.setEnabled(true);
    test_support::pumpFor(300);
    form.Timer1.setEnabled(false);
    EXPECT_EQ(nested, 0);
    EXPECT_GT(entered, 2) << "ticks go on once the long handler has returned";
}

TEST_F(ControlsTest, AnErrorInAnUnguardedHandlerIsReportedAtTheWindowBoundary) {
    form.Check4.onClick = [] {
        throw runtime::Error(runtime::kPathFileAccess, L"The setting could not be saved.");
    };
    SendMessageW(form.Check4.hwnd(), BM_CLICK, 0, 0);
    EXPECT_TRUE(reports.empty()) << "no report box of a numbered procedure";
    ASSERT_EQ(unguarded.size(), 1u);
    EXPECT_EQ(unguarded[0], L"The setting could not be saved.");
}

}  // namespace
