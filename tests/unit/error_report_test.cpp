#include "runtime/error_report.h"

#include <gtest/gtest.h>

#include <vector>

#include "build_config.h"
#include "main_window/app_title.h"
#include "main_window/home_page.h"
#include "runtime/procedure_path.h"

namespace {

const std::wstring kTail =
    std::wstring(L"\r\rPlease email screenshot of this message to ") + build_config::kSupportEmail;

class GuardTest : public ::testing::Test {
  protected:
    void SetUp() override {
        before_ =
            runtime::setReportPresenter([this](const std::wstring& m) { reports.push_back(m); });
    }
    void TearDown() override { runtime::setReportPresenter(std::move(before_)); }
    std::vector<std::wstring> reports;
    runtime::ReportPresenter before_;
};

TEST(ReportMessage, JoinsTheDescriptionPathLineAndRequest) {
    EXPECT_EQ(runtime::reportMessage(runtime::procedurePath(L"ShortCuts", L"ProcessMessages"),
                                     L"Overflow", 108),
              L"Overflow\r\nin Vantrel2021/08/31.ShortCuts.ProcessMessages at line 108" + kTail);
    // An empty description still leads with CR LF.
    EXPECT_EQ(runtime::reportMessage(L"in P.F.X ", L"", 0), L"\r\nin P.F.X at line 0" + kTail);
}

TEST_F(GuardTest, ReportsTheFailingStatementAndResumesWithTheNext) {
    runtime::Guard guard(L"in P.Form1.Form_Load ");
    std::vector<int> ran;
    guard.step(100, [&] { throw runtime::Error(runtime::kInvalidPicture); });
    guard.step(102, [&] { ran.push_back(102); });
    for (int pass = 0; pass < 2; ++pass) {  // a loop body: each pass reports its own statement
        guard.step(140, [&] { ran.push_back(140); });
        guard.step(142, [&] { throw runtime::Error(5, L"bad"); });
        guard.step(144, [&] { ran.push_back(144); });
    }
    EXPECT_EQ(ran, (std::vector<int>{102, 140, 144, 140, 144}));
    ASSERT_EQ(reports.size(), 3u);
    EXPECT_EQ(reports[0], L"Invalid picture\r\nin P.Form1.Form_Load at line 100" + kTail);
    EXPECT_EQ(reports[1], L"bad\r\nin P.Form1.Form_Load at line 142" + kTail);
}

TEST_F(GuardTest, AFailingConditionEntersWhatItGuards) {
    runtime::Guard guard(L"in P.M.T ");
    EXPECT_TRUE(guard.test(166, [] { return true; }));
    EXPECT_FALSE(guard.test(168, [] { return false; }));
    EXPECT_TRUE(guard.test(170, []() -> bool { throw runtime::Error(runtime::kOverflow); }));
    ASSERT_EQ(reports.size(), 1u);
    EXPECT_EQ(reports[0], L"Overflow\r\nin P.M.T at line 170" + kTail);
}

TEST(ApplicationTitle, CutsAtTheLastBlankAtLeastOnceThenToFortyCharacters) {
    EXPECT_EQ(main_window::applicationTitle(main_window::kProductTitle), L"Vantrel Desk");
    EXPECT_EQ(main_window::applicationTitle(L"A B"), L"A");
    EXPECT_EQ(main_window::applicationTitle(L"NoBlank"), L"NoBlank");
    // 45 characters: one cut leaves 41, a second leaves 35.
    EXPECT_EQ(main_window::applicationTitle(L"aaaaaaaaaa bbbbbbbbbb cccccccccc dddd eeeee ff"),
              L"aaaaaaaaaa bbbbbbbbbb cccccccccc dddd");
}

TEST(HomePage, OpensOnOneDrawInAHundred) {
    int drawn = 0;
    for (int i = 0; i < 100; ++i) drawn += main_window::homePageDrawn(i / 100.0 + 0.005);
    EXPECT_EQ(drawn, 1);
    EXPECT_TRUE(main_window::homePageDrawn(0.06));
    EXPECT_TRUE(main_window::homePageDrawn(0.0699));
    EXPECT_FALSE(main_window::homePageDrawn(0.07));
    EXPECT_FALSE(main_window::homePageDrawn(0.0599));
    EXPECT_EQ(main_window::homePageCommand(L"https://x.example/"),
              L"explorer \"https://x.example/\"");
}

}  // namespace
