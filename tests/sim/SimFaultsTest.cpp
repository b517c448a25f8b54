#include <gtest/gtest.h>

#include "platform/sim/SimFaults.h"

using namespace platform;

TEST(SimFaults, OnceFailsTheChosenCallOnly) {
    sim::ClearFaults();
    sim::FailOnce("ReadFile", ErrorGenFailure, 2);
    EXPECT_EQ(sim::TakeFault("ReadFile"), ErrorSuccess);
    EXPECT_EQ(sim::TakeFault("ReadFile"), ErrorSuccess);
    EXPECT_EQ(sim::TakeFault("ReadFile"), ErrorGenFailure);
    EXPECT_EQ(sim::TakeFault("ReadFile"), ErrorSuccess);
    EXPECT_EQ(sim::CallCount("ReadFile"), 4u);
    EXPECT_EQ(sim::TakeFault("CreateFileW"), ErrorSuccess);
}

TEST(SimFaults, AlwaysFailsUntilCleared) {
    sim::ClearFaults();
    sim::FailAlways("SetPrinterW", ErrorAccessDenied);
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(sim::TakeFault("SetPrinterW"), ErrorAccessDenied);
    sim::ClearFaults();
    EXPECT_EQ(sim::TakeFault("SetPrinterW"), ErrorSuccess);
}
