#include "statusservice/QueueOperations.h"
#include "ServiceMachine.h"
#include "platform/sim/SimFaults.h"

namespace statusservice::testing {
namespace {

using namespace platform;

// "打开打印机失败!" and "获得PRINTER_INFO_2的数组失败!" in code page 936.
const std::string OpenFailedGbk = "\xB4\xF2\xBF\xAA\xB4\xF2\xD3\xA1\xBB\xFA\xCA\xA7\xB0\xDC!";
const std::string RecordFailedGbk = "\xBB\xF1\xB5\xC3"
                                    "PRINTER_INFO_2"
                                    "\xB5\xC4\xCA\xFD\xD7\xE9\xCA\xA7\xB0\xDC!";

class QueueOperations : public CServiceMachineTest {};

struct OpenFailure {
    const char* name;
    void (*arrange)();
    const char* trace;
};

TEST_F(QueueOperations, AQueueThatCannotBeOpenedIsTracedOnBothChannels) {
    const std::vector<OpenFailure> failures = {
        {"missing", [] { sim::ResetSpooler(); },
         " Open Printer Error :GetLastError() returns: 0x709\n"},
        {"refusing all access", [] { sim::SetQueueAccess(u"Varnoquill", PrinterAccessUse); },
         " Open Printer Error :GetLastError() returns: 0x5\n"},
    };
    for (const OpenFailure& failure : failures) {
        SCOPED_TRACE(failure.name);
        TearDown();
        SetUp();
        failure.arrange();

        EXPECT_EQ(GetQueuePort(), u"");
        EXPECT_EQ(sim::DebugOutput(),
                  (std::vector<std::string>{"GetPrinterHandle", failure.trace}));
        EXPECT_EQ(sim::StandardOutput(), OpenFailedGbk);

        sim::ClearOutput();
        SetQueueState(PrinterControlPause, PrinterStatusOffline);
        EXPECT_EQ(sim::DebugOutput(), std::vector<std::string>{failure.trace});
        EXPECT_EQ(sim::StandardOutput(), OpenFailedGbk);
        EXPECT_TRUE(QueueControls().empty());
    }
}

TEST_F(QueueOperations, AFailedRecordReadIsTracedInCodePage936) {
    sim::FailOnce("GetPrinterW", ErrorInvalidHandle);

    EXPECT_EQ(GetQueuePort(), u"");
    EXPECT_EQ(sim::DebugOutput(), (std::vector<std::string>{"GetPrinterHandle", RecordFailedGbk}));
    EXPECT_EQ(sim::StandardOutput(), "");
}

TEST_F(QueueOperations, SetQueueStateOpensControlsSetsTheStatusAndCloses) {
    SetQueueState(PrinterControlPause, PrinterStatusOffline);

    std::vector<std::string> operations;
    for (const sim::SpoolerCall& call : sim::SpoolerCalls())
        operations.push_back(call.operation);
    EXPECT_EQ(operations, (std::vector<std::string>{"OpenPrinterW", "GetPrinterW", "SetPrinterW",
                                                    "SetPrinterW", "ClosePrinter"}));
    EXPECT_EQ(QueueControls(),
              (std::vector<std::pair<std::uint32_t, std::uint32_t>>{
                  {PrinterControlPause, 0}, {PrinterControlSetStatus, PrinterStatusOffline}}));
    EXPECT_EQ(sim::QueueRecord(u"Varnoquill")->status, PrinterStatusPaused | PrinterStatusOffline);
}

TEST_F(QueueOperations, GetQueuePortReadsThePortTheSpoolerHas) {
    EXPECT_EQ(GetQueuePort(), u"USB001");
    EXPECT_EQ(sim::DebugOutput(), std::vector<std::string>{"GetPrinterHandle"});
}

} // namespace
} // namespace statusservice::testing
