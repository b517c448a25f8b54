#include "platform/Services.h"
#include "platform/System.h"
#include "tests/contract/ContractService.h"
#include "tests/contract/ContractTest.h"

namespace contract {
namespace {

using namespace platform;

constexpr char16_t ScratchService[] = u"VqContractScratch";

class ServicesContract : public ContractTest {
  protected:
    void SetUp() override {
        ContractTest::SetUp();
        auto manager = OpenSCManagerW(ScManagerAllAccess);
        ASSERT_TRUE(manager) << manager.error;
        m_manager = std::move(manager.value);
        RemoveIfPresent(ScratchService);
        RemoveIfPresent(ProbeServiceName);
    }
    void TearDown() override {
        RemoveIfPresent(ScratchService);
        RemoveIfPresent(ProbeServiceName);
    }

    void RemoveIfPresent(std::u16string_view name) {
        if (auto service = OpenServiceW(m_manager, name, ServiceAllAccess)) {
            ControlService(service.value, ServiceControlStop);
            DeleteService(service.value);
        }
    }

    Outcome<ScHandle> CreateScratch(std::uint32_t startType = ServiceDemandStart) {
        ServiceConfig config;
        config.serviceName = ScratchService;
        config.displayName = u"Contract scratch service";
        config.startType = startType;
        config.binaryPathName = Env().WorkFolder() + u"\\absent.exe";
        return CreateServiceW(m_manager, config);
    }

    ScHandle m_manager;
};

TEST_F(ServicesContract, OpeningAMissingServiceIsServiceDoesNotExist) {
    auto service = OpenServiceW(m_manager, u"VqContractAbsent", ServiceQueryStatus);
    EXPECT_EQ(service.error, ErrorServiceDoesNotExist);
    EXPECT_FALSE(service.value.IsValid());
}

TEST_F(ServicesContract, ACreatedServiceIsStoppedUntilDeleted) {
    auto created = CreateScratch(ServiceAutoStart);
    ASSERT_TRUE(created) << created.error;
    auto status = QueryServiceStatus(created.value);
    ASSERT_TRUE(status) << status.error;
    EXPECT_EQ(status.value.currentState, ServiceStopped);
    EXPECT_EQ(status.value.serviceType, ServiceWin32OwnProcess);

    auto reopened = OpenServiceW(m_manager, ScratchService, ServiceQueryStatus);
    EXPECT_TRUE(reopened) << reopened.error;
    EXPECT_TRUE(DeleteService(created.value));
    created.value.Reset();
    reopened.value.Reset();
    EXPECT_EQ(OpenServiceW(m_manager, ScratchService, ServiceQueryStatus).error,
              ErrorServiceDoesNotExist);
}

TEST_F(ServicesContract, TheConfigurationReadsBackAsCreatedWithTheDefaultAccount) {
    auto created = CreateScratch(ServiceAutoStart);
    ASSERT_TRUE(created) << created.error;
    auto config = QueryServiceConfigW(created.value);
    ASSERT_TRUE(config) << config.error;
    EXPECT_EQ(config.value.serviceType, ServiceWin32OwnProcess);
    EXPECT_EQ(config.value.startType, ServiceAutoStart);
    EXPECT_EQ(config.value.errorControl, ServiceErrorNormal);
    EXPECT_EQ(config.value.binaryPathName, Env().WorkFolder() + u"\\absent.exe");
    EXPECT_EQ(config.value.displayName, u"Contract scratch service");
    EXPECT_EQ(config.value.serviceStartName, u"LocalSystem");
}

TEST_F(ServicesContract, CreatingAnExistingServiceIsServiceExists) {
    auto first = CreateScratch();
    ASSERT_TRUE(first) << first.error;
    auto second = CreateScratch();
    EXPECT_EQ(second.error, ErrorServiceExists);
    EXPECT_FALSE(second.value.IsValid());
}

TEST_F(ServicesContract, StoppingAStoppedServiceIsServiceNotActive) {
    auto created = CreateScratch();
    ASSERT_TRUE(created) << created.error;
    EXPECT_EQ(ControlService(created.value, ServiceControlStop).error, ErrorServiceNotActive);
}

TEST_F(ServicesContract, StartingAServiceWhoseProgramIsMissingFails) {
    auto created = CreateScratch();
    ASSERT_TRUE(created) << created.error;
    Status started = StartServiceW(created.value);
    EXPECT_EQ(started.error, ErrorFileNotFound);
}

TEST_F(ServicesContract, TheDispatcherOutsideAServiceFailsAtOnce) {
    Status dispatched =
        StartServiceCtrlDispatcherW({{u"VqContractDispatch", [](std::uint32_t, char16_t**) {}}});
    EXPECT_EQ(dispatched.error, ErrorFailedServiceControllerConnect);
}

// The probe service is this very program, so only a machine that starts
// programs as services can run it.
TEST_F(ServicesContract, AServiceStartsRunsAndStopsThroughItsHandler) {
    if (OnSimulation())
        GTEST_SKIP() << "the simulated machine starts no programs";
    auto self = GetModuleFileNameW();
    ASSERT_TRUE(self) << self.error;
    ServiceConfig config;
    config.serviceName = ProbeServiceName;
    config.startType = ServiceDemandStart;
    config.binaryPathName = u"\"" + self.value + u"\" " + u"--contract-probe-service";
    auto service = CreateServiceW(m_manager, config);
    ASSERT_TRUE(service) << service.error;

    ASSERT_TRUE(StartServiceW(service.value));
    std::uint32_t state = ServiceStartPending;
    for (int poll = 0; poll < 500 && state != ServiceRunning; ++poll, Sleep(20))
        state = QueryServiceStatus(service.value).value.currentState;
    EXPECT_EQ(state, ServiceRunning);

    auto stopped = ControlService(service.value, ServiceControlStop);
    EXPECT_TRUE(stopped) << stopped.error;
    for (int poll = 0; poll < 500 && state != ServiceStopped; ++poll, Sleep(20))
        state = QueryServiceStatus(service.value).value.currentState;
    EXPECT_EQ(state, ServiceStopped);
    EXPECT_TRUE(DeleteService(service.value));
}

} // namespace
} // namespace contract
