#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "hotkey/catalogue.h"
#include "main_window/holder_answer.h"
#include "main_window/status_line.h"
#include "runtime/run_error.h"
#include "startup_entry/run_value.h"

namespace {

TEST(Catalogue, ListsTheCombinationsInTheirFixedOrder) {
    const auto keys = hotkey::keyTexts();
    EXPECT_EQ(keys[0], L"A");
    EXPECT_EQ(keys[11], L"L");
    EXPECT_EQ(keys[25], L"Z");
    EXPECT_EQ(keys[26], L"1");
    EXPECT_EQ(keys[34], L"9");
    EXPECT_EQ(keys[35], L"0");
    for (const auto& key : keys) EXPECT_EQ(key.size(), 1u);
    EXPECT_EQ(hotkey::keyCode(L"L"), 0x4C);
    EXPECT_EQ(hotkey::keyCode(L"0"), 0x30);
    EXPECT_THROW(hotkey::keyCode(L""), runtime::Error);
    const unsigned flags[] = {3, 6, 5};
    for (int i = 0; i < 3; ++i) EXPECT_EQ(hotkey::modifierFlags(i), flags[i]) << i;
}

TEST(StatusLine, NamesTheCombinationOrSaysWhyTheSoftwareIsOff) {
    EXPECT_EQ(main_window::statusLine(L"Ctrl + Alt", L"L"),
              L"Software is on. Press Ctrl + Alt + L to lock computer");
    EXPECT_EQ(main_window::statusLine(L"", L"L"), L"Software is on. Press  + L to lock computer");
    EXPECT_EQ(main_window::statusLine(L"Alt + Shift", L""),
              L"Software is on. Press Alt + Shift +  to lock computer");
    using main_window::Holder;
    EXPECT_EQ(main_window::statusLineOff(L"Ctrl + Alt", L"L", Holder::kAnotherProgram),
              L"Software is off. Ctrl + Alt + L is already used by another program");
    EXPECT_EQ(main_window::statusLineOff(L"Ctrl + Alt", L"L", Holder::kRunningCopy),
              L"Software is off. Vantrel Desk Guard is already running and holds Ctrl + Alt + L");
    EXPECT_EQ(main_window::statusLineOff(L"Ctrl + Shift", L"9", Holder::kUnknown),
              L"Software is off. Ctrl + Shift + 9 could not be registered");
}

TEST(HolderAnswer, NamesACopyOnlyWhenItSaysItHoldsThisVeryCombination) {
    using main_window::Holder, main_window::holdsAnswer;
    const std::uint32_t ctrlAltL = holdsAnswer(3, 0x4C), none = main_window::kBindsNone,
                        hung = main_window::kDoesNotRespond;
    EXPECT_EQ(ctrlAltL, 0x0100034Cu);  // the same bits from either build, never 0 or "binds none"
    const std::pair<std::vector<std::uint32_t>, Holder> cases[] = {
        {{}, Holder::kAnotherProgram},  // no copy of ours runs
        {{0, ctrlAltL}, Holder::kRunningCopy},
        {{holdsAnswer(3, 0x4B), none, holdsAnswer(5, 0x4C)}, Holder::kAnotherProgram},
        {{none, 0}, Holder::kRunningCopy},  // an older copy, a time-out, or access refused
        {{0x0200034C}, Holder::kRunningCopy},
        {{hung, none, holdsAnswer(3, 0x4B)}, Holder::kCopyNotResponding},
        {{hung, 0}, Holder::kRunningCopy},  // the older copy may hold it and lock
        {{hung, ctrlAltL}, Holder::kRunningCopy},
    };
    for (const auto& [answers, holder] : cases)
        EXPECT_EQ(main_window::holderFromAnswers(ctrlAltL, answers), holder)
            << testing::PrintToString(answers);
}

TEST(StatusLine, TheTrayTipNamesEveryReasonWholeOnOneLineAndShortensOnlyTheReason) {
    using main_window::Holder;
    std::vector<std::wstring> lines = {main_window::kStatusLinePolicy,
                                       main_window::kStatusLineNoCombination};
    for (const auto& pair : hotkey::kModifierPairs)
        for (const auto& key : hotkey::keyTexts())
            for (Holder h : {Holder::kUnknown, Holder::kAnotherProgram, Holder::kRunningCopy,
                             Holder::kCopyNotResponding})
                lines.push_back(main_window::statusLineOff(pair.text, key, h));
    for (const auto& line : lines) {
        const std::wstring reason = main_window::offReason(line);
        EXPECT_EQ(L"Software is off. " + reason, line);
        EXPECT_EQ(main_window::trayTip(reason), L"Vantrel Desk Guard is off: " + reason);
        EXPECT_LE(main_window::trayTip(reason).size(), main_window::kTrayTipChars) << line;
    }
    EXPECT_EQ(
        main_window::trayTip(main_window::offReason(main_window::statusLine(L"Alt + Shift", L"L"))),
        L"Vantrel Desk Guard");
    const std::wstring tooLong = main_window::trayTip(std::wstring(200, L'x'));
    EXPECT_EQ(tooLong.size(), main_window::kTrayTipChars);
    EXPECT_EQ(tooLong.substr(0, 27) + tooLong.substr(124), L"Vantrel Desk Guard is off: ...");
}

TEST(RunValue, NamesTheProgramFileAndQuotesItsPath) {
    EXPECT_EQ(startup_entry::runValueName(L"C:\\Apps\\Tool\\Tool.exe"), L"Tool.exe");
    EXPECT_EQ(startup_entry::runValueName(L"C:\\Tool.exe"), L"Tool.exe");
    EXPECT_EQ(startup_entry::runValueData(L"C:\\Program Files\\T\\V D G.exe"),
              L"\"C:\\Program Files\\T\\V D G.exe\"");
}

TEST(RunValue, ReadsTheStartedPathAndTheMarksAsObserved) {
    EXPECT_EQ(startup_entry::runValuePath(L"\"C:\\A B\\t.exe\""), L"C:\\A B\\t.exe");
    EXPECT_EQ(startup_entry::runValuePath(L"C:\\t.exe"), L"C:\\t.exe");
    EXPECT_EQ(startup_entry::runValuePath(L"\""), L"\"");
    EXPECT_EQ(startup_entry::runValuePath(L"\"C:\\A B\\t.exe\" /x"), L"C:\\A B\\t.exe");
    const std::pair<std::string, bool> marks[] = {{std::string("\x03\0\0\0", 4), true},
                                                  {std::string("\x02\0\0\0", 4), false},
                                                  {std::string("\x06\0\0\0", 4), false},
                                                  {"", false}};
    for (const auto& [bytes, disabled] : marks)
        EXPECT_EQ(startup_entry::markDisables(bytes), disabled)
            << int(bytes.empty() ? -1 : bytes[0]);
}

}  // namespace
