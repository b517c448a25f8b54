#include "ServiceMachine.h"
#include "statusservice/ServiceEntry.h"

namespace statusservice::testing {
namespace {

using namespace platform;

class ServiceRun : public CServiceMachineTest {
  protected:
    // Starts the service as the SCM would and runs it until it reports.
    void StartService() {
        sim::StartServiceProcess(ProgramEntry);
        ASSERT_TRUE(sim::RunUntil([] { return !sim::StatusReports().empty(); }));
    }

    void SendDeviceEvent(std::uint32_t eventType, const std::string& path) {
        auto result =
            sim::SendControl(ServiceControlDeviceEvent, eventType,
                             sim::DeviceInterfaceRecord(GuidDevinterfaceUsbDevice, Wide(path)));
        ASSERT_EQ(result, std::optional<std::uint32_t>(ErrorSuccess));
    }

    static std::u16string Printer(const std::string& serial) {
        return Wide(PrinterInstanceId(serial));
    }
};

bool SameStatus(const ServiceStatusRecord& a, const ServiceStatusRecord& b) {
    return a.serviceType == b.serviceType && a.currentState == b.currentState &&
           a.controlsAccepted == b.controlsAccepted && a.win32ExitCode == b.win32ExitCode &&
           a.serviceSpecificExitCode == b.serviceSpecificExitCode && a.checkPoint == b.checkPoint &&
           a.waitHint == b.waitHint;
}

TEST_F(ServiceRun, AStartFromACommandPromptTracesTheDispatcherError) {
    EXPECT_EQ(ProgramEntry(), 0);
    EXPECT_EQ(sim::DebugOutput(), std::vector<std::string>{" MainError:1063\n"});
    EXPECT_TRUE(sim::StatusReports().empty());
}

TEST_F(ServiceRun, RunsPollsAndStopsUnderTheServiceControlManager) {
    AttachPrinter("SN1", "USB001");
    sim::ScriptReads(Printer("SN1"), {Report(0x24)});
    StartService();

    const ServiceStatusRecord running{0x10, ServiceRunning, 5, 0, 0, 0, 60000};
    ASSERT_EQ(sim::StatusReports().size(), 1u);
    EXPECT_TRUE(SameStatus(sim::StatusReports()[0].status, running));
    EXPECT_TRUE(sim::StatusReports()[0].accepted);
    EXPECT_EQ(sim::DispatchedService(), u"testserviceTamrel");
    EXPECT_EQ(sim::HandlerName(), u"testservice");
    EXPECT_EQ(CurrentPort, u"USB001");
    auto notifications = sim::DeviceNotifications();
    ASSERT_EQ(notifications.size(), 1u);
    EXPECT_EQ(notifications[0].recipient, sim::CurrentStatusHandle());
    EXPECT_EQ(notifications[0].flags, DeviceNotifyServiceHandle);
    EXPECT_EQ(notifications[0].filter.size, 32u);
    EXPECT_EQ(notifications[0].filter.deviceType, DbtDevtypDeviceInterface);
    EXPECT_EQ(notifications[0].filter.classGuid, GuidDevinterfaceUsbDevice);

    sim::RunFor(4 * 800);
    EXPECT_EQ(TraceCount("Brisomate STATUS:36\r\n"), 5u);
    EXPECT_EQ(sim::DeviceReadCount(Printer("SN1")), 5u);
    EXPECT_TRUE(Queue().paused);
    EXPECT_EQ(Queue().statusWord, PrinterStatusDoorOpen);

    EXPECT_EQ(sim::SendControl(ServiceControlInterrogate), ErrorSuccess);
    EXPECT_EQ(sim::SendControl(ServiceControlStop), ErrorSuccess);
    ServiceStatusRecord stopped = running;
    stopped.currentState = ServiceStopped;
    EXPECT_TRUE(SameStatus(sim::StatusReports().back().status, stopped));
    EXPECT_TRUE(SameStatus(sim::StatusReports()[1].status, running));

    ASSERT_TRUE(sim::RunUntil(sim::ProcessEnded));
    EXPECT_EQ(sim::ProcessExitCode(), 0);
    EXPECT_EQ(sim::DebugOutput().back(), " MainError:0\n");
    sim::RunFor(0);
    EXPECT_EQ(sim::LiveThreadCount(), 0u);
}

TEST_F(ServiceRun, ShutdownStopsLikeStop) {
    StartService();
    EXPECT_EQ(sim::SendControl(ServiceControlShutdown), ErrorSuccess);
    EXPECT_EQ(sim::StatusReports().back().status.currentState, ServiceStopped);
    EXPECT_TRUE(sim::RunUntil(sim::ProcessEnded));
}

TEST_F(ServiceRun, AMissingQueueStillRunsAndTracesAtStart) {
    sim::ResetSpooler();
    StartService();
    EXPECT_EQ(sim::StatusReports()[0].status.currentState, ServiceRunning);
    EXPECT_EQ(CurrentPort, u"");
    EXPECT_EQ(TraceCount(" Open Printer Error :GetLastError() returns: 0x709\n"), 2u);
}

TEST_F(ServiceRun, ThePrinterMovedToAnotherPortIsFollowed) {
    AttachPrinter("SN1", "USB001");
    sim::ScriptReads(Printer("SN1"), {Report(0x20)});
    StartService();
    sim::RunFor(800);

    sim::UnplugDevice(Printer("SN1"));
    sim::RunUntil([] { return PrinterRemoved.load() == 1; });
    EXPECT_TRUE(Queue().paused);
    EXPECT_EQ(Queue().statusWord, PrinterStatusOffline);

    sim::SetRegistryString(UsbPortsKey + "USB001", "Device Id", "");
    sim::SetRegistryString(UsbPortsKey + "USB002", "Device Id", PrinterInstanceId("SN1"));
    sim::PlugDevice(PrinterDevice("SN1"));
    sim::ScriptReads(Printer("SN1"), {Report(0x20)});
    sim::RunUntil([] { return CurrentPort == u"USB002"; });
    sim::RunFor(2 * 800);

    EXPECT_EQ(Queue().portName, u"USB002");
    EXPECT_EQ(sim::SpoolerRestarts(), 1u);
    EXPECT_FALSE(Queue().paused);
    EXPECT_EQ(Queue().statusWord, 0u);
    EXPECT_EQ(PrinterRemoved.load(), 0);
    EXPECT_EQ(sim::DeviceOpenHandles(Printer("SN1")), 1u);
    EXPECT_GE(sim::DeviceReadCount(Printer("SN1")), 1u);
}

// The reopen after another device's arrival must not be refused by the
// poll thread's own exclusive handle.
TEST_F(ServiceRun, AnotherDevicesArrivalReopensThePrinterAndKeepsReading) {
    AttachPrinter("SN1", "USB001");
    sim::ScriptReads(Printer("SN1"), {Report(0x20)});
    StartService();
    sim::RunFor(800);

    sim::PlugDevice(MouseDevice());
    sim::RunUntil([] { return ReopenRequested.load() == 0; });
    const std::uint32_t readsAfterReopen = sim::DeviceReadCount(Printer("SN1"));
    sim::RunFor(3 * 800);

    EXPECT_EQ(sim::DeviceOpenCount(Printer("SN1")), 2u);
    EXPECT_EQ(sim::DeviceOpenHandles(Printer("SN1")), 1u);
    EXPECT_EQ(sim::DeviceReadCount(Printer("SN1")), readsAfterReopen + 3);
    EXPECT_EQ(Queue().portName, u"USB001");
    EXPECT_EQ(sim::SpoolerRestarts(), 0u);
}

struct RemovalCase {
    const char* name;
    std::string path;
    bool takesQueueOffline;
};

TEST_F(ServiceRun, OnlyThePrintersRemovalTakesTheQueueOffline) {
    const std::vector<RemovalCase> cases = {
        {"printer", PrinterPath("SN1"), true},
        {"mouse", MousePath, false},
    };
    for (const RemovalCase& c : cases) {
        SCOPED_TRACE(c.name);
        TearDown();
        SetUp();
        AttachPrinter("SN1", "USB001");
        sim::ScriptReads(Printer("SN1"), {Report(0x20)});
        StartService();
        sim::RunFor(800);

        SendDeviceEvent(DbtDeviceRemoveComplete, c.path);
        sim::RunFor(800);

        EXPECT_EQ(PrinterRemoved.load(), c.takesQueueOffline ? 1 : 0);
        EXPECT_EQ(Queue().paused, c.takesQueueOffline);
        EXPECT_EQ(Queue().statusWord, c.takesQueueOffline ? PrinterStatusOffline : 0u);
    }
}

TEST_F(ServiceRun, AnArrivalOfAnotherDeviceClearsTheRemovalAndLeavesThePortAlone) {
    AttachPrinter("SN1", "USB001");
    sim::ScriptReads(Printer("SN1"), {Report(0x24)});
    StartService();
    SendDeviceEvent(DbtDeviceRemoveComplete, PrinterPath("SN1"));
    sim::RunFor(800);
    EXPECT_EQ(Queue().statusWord, PrinterStatusOffline);

    SendDeviceEvent(DbtDeviceArrival, MousePath);
    EXPECT_EQ(PrinterRemoved.load(), 0);
    sim::RunFor(800);

    EXPECT_EQ(Queue().statusWord, PrinterStatusDoorOpen);
    EXPECT_EQ(PortChanges(), 0u);
}

} // namespace
} // namespace statusservice::testing
