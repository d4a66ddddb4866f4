#include <gtest/gtest.h>

#include "hotkey/catalogue.h"
#include "main_window/status_line.h"
#include "runtime/run_error.h"
#include "settings/stored_index.h"
#include "startup_entry/run_value.h"

namespace {

// What the load makes of a stored list index: the selection, "none", or the error number it
// reports. Mirrors the load's two steps: the range test, then the rounded index on the list.
std::string restore(const std::wstring& stored, int count) {
    if (!settings::storedIndexInRange(stored, count)) return "none";
    try {
        const int index = settings::storedIndex(stored);
        if (index < -1 || index >= count) return "error 380";
        return index == -1 ? "none" : std::to_string(index);
    } catch (const runtime::Error& e) {
        return "error " + std::to_string(e.number);
    }
}

TEST(StoredIndex, StoredTextsSelectAnItemNothingOrAnError) {
    const struct {
        const wchar_t* stored;
        int count;
        const char* outcome;
    } rows[] = {
        {L"0", 3, "0"},        {L"2", 3, "2"},          {L"3", 3, "none"},       {L"7", 3, "none"},
        {L"-1", 3, "none"},    {L"1.6", 3, "2"},        {L"2.5", 3, "2"},        {L"0.5", 3, "0"},
        {L"1.5", 3, "2"},      {L"2.9", 3, "error 380"}, {L"-1.4", 3, "none"},   {L"-1.6", 3, "error 380"},
        {L"-2", 3, "error 380"}, {L"-40000", 3, "error 6"}, {L"-1e400", 3, "error 6"}, {L"abc", 3, "0"},
        {L"", 3, "0"},         {L"11", 36, "11"},       {L"35", 36, "35"},       {L"35.6", 36, "error 380"},
        {L"36", 36, "none"},   {L"3.5", 36, "4"},       {L"  2.5", 36, "2"},     {L"7abc", 36, "7"},
        {L"1e1", 36, "10"},    {L"&H10", 36, "0"},
    };
    for (const auto& row : rows) {
        EXPECT_EQ(restore(row.stored, row.count), row.outcome) << "stored [" << row.stored << "]";
    }
}

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
    const unsigned flags[] = {3, 6, 5, 0, 0};
    for (int i = -1; i < 4; ++i) EXPECT_EQ(hotkey::modifierFlags(i), flags[i < 0 ? 4 : i]) << i;
}

TEST(StatusLine, NamesTheCombinationOrSaysWhyTheSoftwareIsOff) {
    EXPECT_EQ(main_window::statusLine(L"Ctrl + Alt", L"L"), L"Software is on. Press Ctrl + Alt + L to lock computer");
    EXPECT_EQ(main_window::statusLine(L"", L"L"), L"Software is on. Press  + L to lock computer");
    EXPECT_EQ(main_window::statusLine(L"Alt + Shift", L""), L"Software is on. Press Alt + Shift +  to lock computer");
    EXPECT_EQ(main_window::statusLineOff(L"Ctrl + Alt", L"L", true),
              L"Software is off. Ctrl + Alt + L is already used by another program");
    EXPECT_EQ(main_window::statusLineOff(L"Ctrl + Shift", L"9", false),
              L"Software is off. Ctrl + Shift + 9 could not be registered");
}

TEST(RunValue, NamesTheProgramFileAndQuotesItsPath) {
    EXPECT_EQ(startup_entry::runValueName(L"C:\\Apps\\Tool\\Tool.exe"), L"Tool.exe");
    EXPECT_EQ(startup_entry::runValueName(L"C:\\Tool.exe"), L"Tool.exe");
    EXPECT_EQ(startup_entry::runValueData(L"C:\\Program Files\\T\\V D G.exe"), L"\"C:\\Program Files\\T\\V D G.exe\"");
}

}  // namespace
