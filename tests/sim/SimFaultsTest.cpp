#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <regex>
#include <stdexcept>

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

// Every name a simulated operation takes its faults under is one a test may
// fail; the sources are the list's witness.
TEST(SimFaults, EveryOperationOfTheSourcesIsKnownByName) {
    const std::regex call(R"re((?:TakeFault|Entry)\("([A-Za-z_0-9]+)"\))re");
    int found = 0;
    for (const auto& file : std::filesystem::directory_iterator(VQ_SOURCE_DIR "/platform/sim")) {
        std::ifstream in(file.path());
        std::string text(std::istreambuf_iterator<char>(in), {});
        for (std::sregex_iterator it(text.begin(), text.end(), call), end; it != end; ++it, ++found)
            EXPECT_TRUE(sim::IsSimulatedOperation((*it)[1].str()))
                << (*it)[1].str() << " in " << file.path().filename();
    }
    EXPECT_GT(found, 0);
}

TEST(SimFaults, AnUnknownNameIsRefusedAtOnce) {
    sim::ClearFaults();
    EXPECT_THROW(sim::FailOnce("CopyFileA", ErrorAccessDenied), std::invalid_argument);
    EXPECT_THROW(sim::FailAlways("OpenPrinter", ErrorAccessDenied), std::invalid_argument);
    EXPECT_EQ(sim::TakeFault("CopyFileW"), ErrorSuccess);
}
