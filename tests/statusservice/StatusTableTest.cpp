#include <cstdio>

#include "ServiceMachine.h"
#include "statusservice/DeviceDiscovery.h"
#include "statusservice/StatusPoll.h"

namespace statusservice::testing {
namespace {

using namespace platform;

struct ExpectedRow {
    std::vector<int> bytes;
    std::uint32_t control;
    std::uint32_t statusWord;
};

const std::vector<ExpectedRow> ActingRows = {
    {{0x04, 0x0C, 0x24}, PrinterControlPause, PrinterStatusDoorOpen},
    {{0x00, 0x08, 0x80}, PrinterControlPause, PrinterStatusPaperOut},
    {{0x20, 0x28, 0xA0}, PrinterControlResume, 0},
};

const ExpectedRow* RowFor(int statusByte) {
    for (const ExpectedRow& row : ActingRows)
        if (std::find(row.bytes.begin(), row.bytes.end(), statusByte) != row.bytes.end())
            return &row;
    return nullptr;
}

class StatusTable : public CServiceMachineTest {};

// The queue starts paused with an error word, so "unchanged" is visible.
TEST_F(StatusTable, EveryStatusByteActsAndTracesAsTheTableSays) {
    for (int statusByte = 0; statusByte < 256; ++statusByte) {
        SCOPED_TRACE(statusByte);
        TearDown();
        SetUp();
        PrinterInfo2 queue = sim::QueueRecord(u"Varnoquill").value();
        queue.status = PrinterStatusPaused | 0x2;
        sim::AddQueue(queue);
        AttachPrinter("SN1", "USB001");
        sim::ScriptReads(Wide(PrinterInstanceId("SN1")),
                         {Report(static_cast<std::uint8_t>(statusByte))});
        DeviceHandle = OpenPrinterDevice();
        sim::ClearOutput();
        sim::ClearSpoolerCalls();

        PollCycle();

        char traced[40];
        std::snprintf(traced, sizeof traced, "Brisomate STATUS:%d\r\n",
                      statusByte < 128 ? statusByte : statusByte - 256);
        EXPECT_EQ(sim::DebugOutput(), std::vector<std::string>{traced});
        const ExpectedRow* row = RowFor(statusByte);
        if (!row) {
            EXPECT_TRUE(QueueControls().empty());
            EXPECT_TRUE(Queue().paused);
            EXPECT_EQ(Queue().statusWord, 0x2u);
            continue;
        }
        using Controls = std::vector<std::pair<std::uint32_t, std::uint32_t>>;
        EXPECT_EQ(QueueControls(),
                  (Controls{{row->control, 0}, {PrinterControlSetStatus, row->statusWord}}));
        EXPECT_EQ(Queue().paused, row->control == PrinterControlPause);
        EXPECT_EQ(Queue().statusWord, row->statusWord);
    }
}

TEST_F(StatusTable, ARemovedPrinterKeepsTracingButLeavesTheQueueAlone) {
    AttachPrinter("SN1", "USB001");
    sim::ScriptReads(Wide(PrinterInstanceId("SN1")), {Report(0x24)});
    DeviceHandle = OpenPrinterDevice();
    PrinterRemoved = 1;
    sim::ClearSpoolerCalls();

    PollCycle();

    EXPECT_TRUE(QueueControls().empty());
    EXPECT_EQ(TraceCount("Brisomate STATUS:36\r\n"), 1u);
}

struct BadRead {
    const char* name;
    sim::ScriptedRead read;
};

// A failed or short read says nothing: neither a stale byte nor the zero
// buffer may reach the queue or the trace.
TEST_F(StatusTable, AFailedOrShortReadIsNotEvaluated) {
    const std::vector<BadRead> badReads = {
        {"failed", {{}, ErrorGenFailure}},
        {"short", {{0x1B, 0x02, 0x00, 0x24}}},
        {"empty", {{}}},
    };
    for (const BadRead& bad : badReads) {
        SCOPED_TRACE(bad.name);
        for (bool earlierReport : {false, true}) {
            TearDown();
            SetUp();
            AttachPrinter("SN1", "USB001");
            std::vector<sim::ScriptedRead> script;
            if (earlierReport)
                script.push_back(Report(0x20));
            script.push_back(bad.read);
            sim::ScriptReads(Wide(PrinterInstanceId("SN1")), script);
            DeviceHandle = OpenPrinterDevice();
            if (earlierReport)
                PollCycle();
            sim::ClearOutput();
            sim::ClearSpoolerCalls();

            PollCycle();

            EXPECT_TRUE(QueueControls().empty());
            EXPECT_TRUE(sim::DebugOutput().empty());
            EXPECT_FALSE(Queue().paused);
        }
    }
}

} // namespace
} // namespace statusservice::testing
