#include "runtime/number_text.h"

#include <gtest/gtest.h>

#include <cmath>

#include "runtime/run_error.h"

namespace {

struct ReadCase {
    const wchar_t* text;
    double expected;
};

TEST(LeadingNumber, TakesTheLongestLeadingDecimalNumber) {
    const ReadCase cases[] = {
        {L"", 0},        {L"0", 0},         {L"11", 11},     {L"-1", -1},
        {L"  2.5", 2.5}, {L" -2.5x", -2.5}, {L"\t\r\n7", 7}, {L"7abc", 7},
        {L"abc", 0},     {L"1,5", 1},       {L".", 0},       {L"+", 0},
        {L"-", 0},       {L".5", 0.5},      {L"-.5", -0.5},  {L"5.", 5},
        {L"+3", 3},      {L"1e3", 1000},    {L"1E-1", 0.1},  {L"1e", 1},
        {L"1e+", 1},     {L"2e+1x", 20},    {L"&H10", 0},    {L"1d2", 1},
        {L"1.2.3", 1.2}, {L"35.6", 35.6},   {L"- 2", 0},     {L"00012", 12},
        {L"1 2", 1},     {L"\x0661", 0},  // an Arabic-Indic digit is not a decimal digit here
    };
    for (const auto& c : cases) {
        EXPECT_DOUBLE_EQ(runtime::leadingNumber(c.text), c.expected) << "text: [" << c.text << "]";
    }
}

TEST(LeadingNumber, HugeExponentsGiveInfinities) {
    EXPECT_TRUE(std::isinf(runtime::leadingNumber(L"1e400")));
    EXPECT_LT(runtime::leadingNumber(L"-1e400"), 0);
}

TEST(RoundToInt16, RoundsToNearestWithTiesToEven) {
    const std::pair<double, int> cases[] = {
        {0.5, 0},   {1.5, 2},         {2.5, 2},           {3.5, 4},         {-0.5, 0},
        {-1.5, -2}, {-2.5, -2},       {1.6, 2},           {2.9, 3},         {35.6, 36},
        {-1.4, -1}, {32767.4, 32767}, {-32768.5, -32768}, {32766.5, 32766}, {0.49999, 0},
    };
    for (const auto& [value, expected] : cases) {
        EXPECT_EQ(runtime::roundToInt16(value), expected) << "value: " << value;
    }
}

TEST(RoundToInt16, ReportsOverflowOutsideTheRange) {
    for (double value : {32767.5, 32768.0, -32768.6, -32769.0, 1e9, double(INFINITY),
                         -double(INFINITY), double(NAN)}) {
        try {
            runtime::roundToInt16(value);
            ADD_FAILURE() << "no error for " << value;
        } catch (const runtime::Error& e) {
            EXPECT_EQ(e.number, runtime::kOverflow) << value;
            EXPECT_EQ(e.description, L"Overflow");
        }
    }
}

}  // namespace
