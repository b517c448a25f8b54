#include "ServiceMachine.h"
#include "platform/sim/SimFaults.h"
#include "statusservice/PortMatching.h"

namespace statusservice::testing {
namespace {

using namespace platform;

class RepointQueueTest : public CServiceMachineTest {
  protected:
    void SetUp() override {
        CServiceMachineTest::SetUp();
        PrinterInfo2 queue = sim::QueueRecord(u"Varnoquill").value();
        queue.status = PrinterStatusPaused | PrinterStatusOffline;
        sim::AddQueue(queue);
        CurrentPort = u"USB001";
        sim::ClearSpoolerCalls();
    }
};

TEST_F(RepointQueueTest, APrinterOnAnotherPortMovesTheQueueAndRestartsTheSpooler) {
    RecordPrinter("SN1", "USB002");
    const std::uint64_t start = sim::Now();

    EXPECT_TRUE(RepointQueue(Wide(PrinterPath("SN1"))));

    EXPECT_EQ(Queue().portName, u"USB002");
    EXPECT_EQ(CurrentPort, u"USB002");
    EXPECT_EQ(sim::SpoolerRestarts(), 1u);
    EXPECT_EQ(sim::Now() - start, 1600u);
    EXPECT_FALSE(Queue().paused);
    EXPECT_EQ(Queue().statusWord, 0u);
    // The port changes before the restart, the resume comes after the waits.
    std::uint64_t portChangedAt = 0, resumedAt = 0;
    for (const sim::SpoolerCall& call : sim::SpoolerCalls()) {
        if (call.operation == "SetPrinterW" && call.level == 2)
            portChangedAt = call.time;
        if (call.operation == "SetPrinterW" && call.level == 0)
            resumedAt = call.time;
    }
    EXPECT_EQ(portChangedAt, start);
    EXPECT_EQ(resumedAt, start + 1600);
}

TEST_F(RepointQueueTest, APortEqualButForCaseChangesNothing) {
    RecordPrinter("SN1", "USB002");
    CurrentPort = u"usb002";
    const std::uint64_t start = sim::Now();

    EXPECT_TRUE(RepointQueue(Wide(PrinterPath("SN1"))));

    EXPECT_EQ(PortChanges(), 0u);
    EXPECT_TRUE(QueueControls().empty());
    EXPECT_EQ(sim::SpoolerRestarts(), 0u);
    EXPECT_EQ(sim::Now(), start);
    EXPECT_EQ(CurrentPort, u"usb002");
}

TEST_F(RepointQueueTest, ARefusedPortIsTriedTwentyOneTimesWithoutARestart) {
    sim::SetRegistryString(DeviceParametersKey("SN1"), "Port Description", "Varnoquill");

    EXPECT_TRUE(RepointQueue(Wide(PrinterPath("SN1"))));

    EXPECT_EQ(PortChanges(), 21u);
    EXPECT_EQ(sim::SpoolerRestarts(), 0u);
    EXPECT_EQ(CurrentPort, u"USB001");
    EXPECT_EQ(QueueControls(), (std::vector<std::pair<std::uint32_t, std::uint32_t>>{
                                   {PrinterControlResume, 0}, {PrinterControlSetStatus, 0}}));
}

TEST_F(RepointQueueTest, APortAcceptedOnTheLastAttemptStillRestartsTheSpooler) {
    RecordPrinter("SN1", "USB002");
    for (int i = 0; i < 20; ++i)
        sim::FailOnce("SetPrinterW", ErrorAccessDenied);

    EXPECT_TRUE(RepointQueue(Wide(PrinterPath("SN1"))));

    EXPECT_EQ(PortChanges(), 21u);
    EXPECT_EQ(Queue().portName, u"USB002");
    EXPECT_EQ(sim::SpoolerRestarts(), 1u);
}

TEST_F(RepointQueueTest, AnUnreachableServiceManagerSkipsTheRestartButNotTheMove) {
    RecordPrinter("SN1", "USB002");
    sim::FailAlways("OpenSCManagerW", ErrorAccessDenied);
    const std::uint64_t start = sim::Now();

    EXPECT_TRUE(RepointQueue(Wide(PrinterPath("SN1"))));

    EXPECT_EQ(Queue().portName, u"USB002");
    EXPECT_EQ(sim::SpoolerRestarts(), 0u);
    EXPECT_EQ(sim::Now(), start);
}

TEST_F(RepointQueueTest, AnotherDeviceTouchesNothing) {
    RecordPrinter("SN1", "USB002");

    EXPECT_FALSE(RepointQueue(Wide(MousePath)));

    EXPECT_TRUE(sim::SpoolerCalls().empty());
    EXPECT_EQ(CurrentPort, u"USB001");
}

} // namespace
} // namespace statusservice::testing
