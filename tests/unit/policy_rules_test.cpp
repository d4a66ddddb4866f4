// A policy takes only the texts the program itself stores for a choice.
#include "settings/policy_rules.h"

#include <gtest/gtest.h>

using settings::policyIndexValid;
using settings::policySwitchValid;

TEST(PolicyRules, AnIndexMustBeTheDecimalNumberOfAnItem) {
    EXPECT_TRUE(policyIndexValid(L"0", 36));
    EXPECT_TRUE(policyIndexValid(L"35", 36));
    EXPECT_TRUE(policyIndexValid(L"2", 3));
    EXPECT_FALSE(policyIndexValid(L"3", 3));
    for (const wchar_t* refused :
         {L"", L"36", L"-1", L"2.5", L" 1", L"1x", L"abc", L"99999999999999999999"})
        EXPECT_FALSE(policyIndexValid(refused, 36)) << refused;
}

TEST(PolicyRules, ASwitchIsOnOrOffExactly) {
    EXPECT_TRUE(policySwitchValid(L"On"));
    EXPECT_TRUE(policySwitchValid(L"Off"));
    EXPECT_FALSE(policySwitchValid(L"on"));
    EXPECT_FALSE(policySwitchValid(L"1"));
    EXPECT_FALSE(policySwitchValid(L""));
}
