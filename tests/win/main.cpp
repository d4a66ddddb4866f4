// The Windows test binary: real windows, controls and registry, under Wine or Windows.
#include <windows.h>
#include <gtest/gtest.h>

#include "win/common_controls.h"

int main(int argc, char** argv) {
    win::initCommonControls(ICC_STANDARD_CLASSES);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
