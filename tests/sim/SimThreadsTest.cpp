#include <gtest/gtest.h>

#include <string>

#include "platform/System.h"
#include "platform/sim/SimMachine.h"
#include "platform/sim/SimThreads.h"

using namespace platform;

namespace {

class SimThreads : public ::testing::Test {
  protected:
    void SetUp() override { sim::ResetMachine(); }
    void TearDown() override { sim::ResetMachine(); }
};

std::string g_log;

TEST_F(SimThreads, SleepOnTheTestThreadAdvancesTheClockOnly) {
    Sleep(1600);
    EXPECT_EQ(sim::Now(), 1600u);
}

TEST_F(SimThreads, ThreadsInterleaveByVirtualTimeTheSameWayEveryRun) {
    g_log.clear();
    sim::SpawnThread([] {
        for (;;) {
            g_log += "a" + std::to_string(sim::Now()) + " ";
            Sleep(800);
        }
    });
    sim::SpawnThread([] {
        g_log += "b" + std::to_string(sim::Now()) + " ";
        Sleep(1000);
        g_log += "b" + std::to_string(sim::Now()) + " ";
    });
    sim::RunFor(1600);
    EXPECT_EQ(g_log, "a0 b0 a800 b1000 a1600 ");
    EXPECT_EQ(sim::Now(), 1600u);
    EXPECT_EQ(sim::LiveThreadCount(), 1u);
}

TEST_F(SimThreads, RunUntilStopsWhenTheConditionHolds) {
    static int ticks;
    ticks = 0;
    sim::SpawnThread([] {
        for (;;) {
            ++ticks;
            Sleep(800);
        }
    });
    EXPECT_TRUE(sim::RunUntil([] { return ticks == 3; }));
    EXPECT_EQ(sim::Now(), 1600u);
    EXPECT_FALSE(sim::RunUntil([] { return ticks == 0; }, 10'000));
    EXPECT_EQ(sim::Now(), 11'600u);
}

TEST_F(SimThreads, ResetEndsThreadsThatWouldSleepOrWaitForever) {
    sim::SpawnThread([] {
        for (;;)
            Sleep(800);
    });
    sim::SpawnThread([] { sim::WaitUntil([] { return false; }); });
    sim::RunFor(2000);
    EXPECT_EQ(sim::LiveThreadCount(), 2u);
    sim::ResetThreads();
    EXPECT_EQ(sim::LiveThreadCount(), 0u);
    EXPECT_EQ(sim::Now(), 0u);
}

TEST_F(SimThreads, CreateThreadRunsTheRoutineWithItsParameter) {
    static void* seen;
    static int marker;
    seen = nullptr;
    auto thread = CreateThread(
        [](void* parameter) -> std::uint32_t {
            seen = parameter;
            return 0;
        },
        &marker);
    ASSERT_TRUE(thread);
    sim::RunFor(0);
    EXPECT_EQ(seen, &marker);
}

} // namespace
