// The status service registered, started, stopped and deleted, and the
// removal's lines on standard output.
#include "platform/Services.h"
#include "tests/engine/EngineMachine.h"

namespace engine::testing {
namespace {

using namespace platform;
using engine::testing::PrintTo;

class StatusService : public EngineTest {
  protected:
    void SetUp() override {
        EngineTest::SetUp();
        sim::PutFile(u"C:\\Program Files\\placeholder", "");
        ASSERT_TRUE(Engine().StageFiles(Model, u"C:\\Program Files\\Varnoquill", 1));
    }
};

ServiceConfig Registered(std::u16string name, std::u16string path) {
    ServiceConfig config;
    config.serviceName = name;
    config.displayName = name;
    config.desiredAccess = ServiceAllAccess;
    config.serviceType = ServiceWin32OwnProcess;
    config.startType = ServiceAutoStart;
    config.errorControl = ServiceErrorNormal;
    config.binaryPathName = path;
    return config;
}

// Quoted, so that no C:\Program.exe can run in its place.
TEST_F(StatusService, IsRegisteredWithTheQuotedProgramPathAndStarted) {
    sim::PutFile(u"C:\\Program.exe", "planted");
    EXPECT_TRUE(Engine().InstallStatusService(Model));
    auto service = sim::FindService(ServiceName);
    ASSERT_TRUE(service);
    EXPECT_EQ(
        service->config,
        Registered(ServiceName, u"\"C:\\Program Files\\Varnoquill\\Varnoquill_Statuskeeper.exe\""));
    EXPECT_EQ(service->currentState, ServiceRunning);
}

TEST_F(StatusService, AnExistingRegistrationIsOnlyStarted) {
    ServiceConfig old = Registered(ServiceName, u"C:\\Old\\Varnoquill_Statuskeeper.exe");
    sim::PutFile(old.binaryPathName, "old");
    sim::AddService(old);
    EXPECT_TRUE(Engine().InstallStatusService(Model));
    EXPECT_EQ(sim::FindService(ServiceName)->config, old);
    EXPECT_EQ(sim::FindService(ServiceName)->currentState, ServiceRunning);
    EXPECT_TRUE(Engine().InstallStatusService(Model)) << "already running";
}

TEST_F(StatusService, NoServiceManagerFailsWithoutEndingTheProgram) {
    sim::FailOnce("OpenSCManagerW", ErrorAccessDenied);
    sim::SimSnapshot before = sim::TakeSnapshot();
    EXPECT_FALSE(Engine().InstallStatusService(Model));
    ExpectMachine(sim::TakeSnapshot(), before);
    EXPECT_TRUE(Engine().InstallStatusService(Model));
}

TEST_F(StatusService, NamesOutsideTheAnsiCodePageAreRegisteredAsWritten) {
    const std::u16string model = u"\u30f4\u30a1\u30eb\u30ce";
    m_catalogue = {SeedModel(model)};
    ASSERT_TRUE(Engine().StageFiles(model, u"C:\\\u30d7\u30ea\u30f3\u30bf", 1));
    EXPECT_TRUE(Engine().InstallStatusService(model));
    auto service = sim::FindService(model + u"_StatusMonitor");
    ASSERT_TRUE(service);
    EXPECT_EQ(service->config.displayName, model + u"_StatusMonitor");
    EXPECT_EQ(service->config.binaryPathName,
              u"\"C:\\\u30d7\u30ea\u30f3\u30bf\\" + model + u"_Statuskeeper.exe\"");
    EXPECT_TRUE(Engine().RemoveStatusService(model));
    EXPECT_FALSE(sim::FindService(model + u"_StatusMonitor"));
}

TEST_F(StatusService, NothingStagedIsNothingRegistered) {
    CInstallEngine fresh(m_catalogue, 9);
    EXPECT_FALSE(fresh.InstallStatusService(Model));
    EXPECT_FALSE(sim::FindService(ServiceName));
}

struct RemovalRow {
    const char* name;
    std::uint32_t state; // 0: not registered
    const char* failingCall;
    WinError error;
    std::uint32_t controls;   // stop requests sent
    bool registered;          // afterwards
    std::uint32_t stateAfter; // when registered
    const char* output;
};

class StatusServiceRemoval : public StatusService,
                             public ::testing::WithParamInterface<RemovalRow> {};

TEST_P(StatusServiceRemoval, StopsDeletesAndSays) {
    const RemovalRow& row = GetParam();
    if (row.state != 0) {
        ASSERT_TRUE(Engine().InstallStatusService(Model));
        if (row.state == ServiceStopped) {
            auto manager = OpenSCManagerW(ScManagerAllAccess);
            auto service = OpenServiceW(manager.value, ServiceName, ServiceAllAccess);
            ASSERT_TRUE(ControlService(service.value, ServiceControlStop));
        }
    }
    sim::ClearFaults();
    if (*row.failingCall)
        sim::FailOnce(row.failingCall, row.error);
    EXPECT_EQ(Engine().RemoveStatusService(Model), !row.registered && row.state != 0);
    EXPECT_EQ(sim::CallCount("ControlService"), row.controls);
    auto service = sim::FindService(ServiceName);
    EXPECT_EQ(service.has_value(), row.registered);
    if (service) {
        EXPECT_EQ(service->currentState, row.stateAfter);
    }
    EXPECT_EQ(sim::StandardOutput(), row.output);
}

INSTANTIATE_TEST_SUITE_P(
    Engine, StatusServiceRemoval,
    ::testing::Values(
        RemovalRow{"Running", ServiceRunning, "", 0, 1, false, 0, "Uninstall Service Success!\n"},
        RemovalRow{"Stopped", ServiceStopped, "", 0, 0, false, 0, "Uninstall Service Success!\n"},
        RemovalRow{"NotRegistered", 0, "", 0, 0, false, 0, ""},
        RemovalRow{"RefusesToStop", ServiceRunning, "ControlService", 1061, 1, true, ServiceRunning,
                   "Stop Service failed:1061!\n"},
        RemovalRow{"DeletionFails", ServiceRunning, "DeleteService", ErrorAccessDenied, 1, true,
                   ServiceStopped, "Uninstall Service failed:5!\n"},
        RemovalRow{"NoServiceManager", ServiceRunning, "OpenSCManagerW", ErrorAccessDenied, 0, true,
                   ServiceRunning, ""},
        RemovalRow{"NotOpened", ServiceRunning, "OpenServiceW", ErrorAccessDenied, 0, true,
                   ServiceRunning, ""},
        RemovalRow{"NoStatus", ServiceRunning, "QueryServiceStatus", ErrorAccessDenied, 0, true,
                   ServiceRunning, ""}),
    RowName());

} // namespace
} // namespace engine::testing
