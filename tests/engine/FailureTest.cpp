// Every platform call on the install, removal and service paths failed once:
// nothing crashes, the result and the kept code are the failing call's, and
// the whole machine afterwards holds what it must.
#include "platform/Files.h"
#include "platform/Spooler.h"
#include "tests/engine/EngineMachine.h"

namespace engine::testing {
namespace {

using namespace platform;
using engine::testing::PrintTo;

const std::string RootFolder = "C:\\Windows\\System32\\spool\\drivers\\x64\\";

// What a run leaves, relative to the machine before it and after a clean run.
enum class Leaves {
    Nothing,    // the machine as before
    Everything, // as after a clean run
    DriverOnly, // a clean run without its queue
};

struct FailureRow {
    const char* name;
    const char* call;
    std::uint32_t skip;
    WinError error;
    int result;
    int keptError;
    Leaves leaves;
    std::vector<std::string> stagedLeft; // file names left in the driver folder's root
    std::vector<std::string> traces;
};

class FailureTest : public EngineTest, public ::testing::WithParamInterface<FailureRow> {
  protected:
    sim::SimSnapshot Expected(const sim::SimSnapshot& before, const sim::SimSnapshot& after,
                              const FailureRow& row) {
        sim::SimSnapshot expected = row.leaves == Leaves::Nothing ? before : after;
        if (row.leaves == Leaves::DriverOnly)
            expected.spooler.queues.clear();
        for (const std::string& name : row.stagedLeft)
            expected.files.files[RootFolder + name] = "amd64/" + name;
        return expected;
    }
};

// --- InstallPrinter ---------------------------------------------------------

using InstallFailure = FailureTest;

TEST_P(InstallFailure, LeavesTheMachineAsItMust) {
    const FailureRow& row = GetParam();
    sim::SimSnapshot before = sim::TakeSnapshot();
    sim::FailOnce(row.call, row.error, row.skip);
    EXPECT_EQ(Engine().InstallPrinter(Model, Port), row.result);
    EXPECT_EQ(Engine().GetErrorCode(), row.keptError);
    EXPECT_EQ(sim::DebugOutput(), row.traces);
    ExpectMachine(sim::TakeSnapshot(), Expected(before, Installed(before), row));
}

const auto AllCopies = Traces({0, 0, 0, 0, 0, 0, 0});

INSTANTIATE_TEST_SUITE_P(
    Engine, InstallFailure,
    ::testing::Values(
        // A queue that cannot be opened counts as absent.
        FailureRow{"ExistenceTest",
                   "OpenPrinterW",
                   0,
                   ErrorAccessDenied,
                   0,
                   0,
                   Leaves::Everything,
                   {},
                   AllCopies},
        FailureRow{"DriverDirectory",
                   "GetPrinterDriverDirectoryW",
                   0,
                   1722,
                   -1,
                   1722,
                   Leaves::Nothing,
                   {},
                   {}},
        FailureRow{"DriverCopy",
                   "CopyFileW",
                   0,
                   ErrorAccessDenied,
                   -1,
                   5,
                   Leaves::Nothing,
                   {},
                   Traces({5})},
        FailureRow{"ConfigCopy",
                   "CopyFileW",
                   1,
                   ErrorSharingViolation,
                   -1,
                   32,
                   Leaves::Nothing,
                   {"vq_drv.dll"},
                   Traces({0, 32})},
        FailureRow{"CopyCheck",
                   "GetFileAttributesW",
                   0,
                   ErrorAccessDenied,
                   -1,
                   5,
                   Leaves::Nothing,
                   {"vq_drv.dll"},
                   Traces({0})},
        FailureRow{"AdministerCheck",
                   "OpenPrinterW",
                   1,
                   ErrorAccessDenied,
                   -1,
                   5,
                   Leaves::Nothing,
                   {},
                   AllCopies},
        FailureRow{"MonitorClose",
                   "ClosePrinter",
                   0,
                   ErrorInvalidHandle,
                   0,
                   0,
                   Leaves::Everything,
                   {},
                   AllCopies},
        FailureRow{"SecondDriverDirectory",
                   "GetPrinterDriverDirectoryW",
                   1,
                   1722,
                   -1,
                   1722,
                   Leaves::Nothing,
                   {},
                   AllCopies},
        FailureRow{"DriverRegistration",
                   "AddPrinterDriverW",
                   0,
                   1797,
                   -1,
                   1797,
                   Leaves::Nothing,
                   {},
                   AllCopies},
        FailureRow{
            "QueueCreation", "AddPrinterW", 0, 1796, -1, 1796, Leaves::DriverOnly, {}, AllCopies},
        FailureRow{"QueueClose",
                   "ClosePrinter",
                   1,
                   ErrorInvalidHandle,
                   0,
                   0,
                   Leaves::Everything,
                   {},
                   AllCopies},
        FailureRow{"CleanUpDirectory",
                   "GetPrinterDriverDirectoryW",
                   2,
                   1722,
                   0,
                   0,
                   Leaves::Everything,
                   {"vq_drv.dll", "vq.gpd", "vq_ui.dll", "vq.hlp", "UNIRES.DLL", "STDNAMES.GPD",
                    "vq_res.dll"},
                   AllCopies},
        FailureRow{"CleanUpDeletion",
                   "DeleteFileW",
                   0,
                   ErrorSharingViolation,
                   0,
                   0,
                   Leaves::Everything,
                   {"vq_drv.dll"},
                   AllCopies},
        // Clean-up after a failure deletes the staged copies all the same.
        FailureRow{"CleanUpAfterFailure",
                   "GetPrinterDriverDirectoryW",
                   2,
                   1722,
                   0,
                   0,
                   Leaves::Everything,
                   {"vq_drv.dll", "vq.gpd", "vq_ui.dll", "vq.hlp", "UNIRES.DLL", "STDNAMES.GPD",
                    "vq_res.dll"},
                   AllCopies}),
    RowName());

// --- RemovePrinter ----------------------------------------------------------

using RemoveFailure = FailureTest;

TEST_P(RemoveFailure, LeavesTheMachineAsItMust) {
    const FailureRow& row = GetParam();
    sim::SimSnapshot before = sim::TakeSnapshot();
    sim::SimSnapshot installed = Installed(before);
    sim::SimSnapshot removed = Removed(before);
    ASSERT_EQ(Engine().InstallPrinter(Model, Port), 0);
    sim::ClearOutput();
    sim::FailOnce(row.call, row.error, row.skip);
    EXPECT_EQ(Engine().RemovePrinter(Model), row.result);
    EXPECT_EQ(Engine().GetErrorCode(), row.keptError);
    EXPECT_TRUE(sim::DebugOutput().empty());

    // Here Everything is the removed machine, Nothing the installed one,
    // DriverOnly the installed one without its queue.
    sim::SimSnapshot expected = row.leaves == Leaves::Everything ? removed : installed;
    if (row.leaves == Leaves::DriverOnly)
        expected.spooler.queues.clear();
    for (const std::string& name : row.stagedLeft)
        expected.files.files[RootFolder + "3\\" + name] = "amd64/" + name;
    ExpectMachine(sim::TakeSnapshot(), expected);
}

INSTANTIATE_TEST_SUITE_P(
    Engine, RemoveFailure,
    ::testing::Values(
        FailureRow{
            "QueueOpen", "OpenPrinterW", 0, ErrorAccessDenied, -1, 5, Leaves::Nothing, {}, {}},
        FailureRow{
            "QueueDeletion", "DeletePrinter", 0, ErrorAccessDenied, -1, 5, Leaves::Nothing, {}, {}},
        FailureRow{
            "QueueClose", "ClosePrinter", 0, ErrorInvalidHandle, 0, 0, Leaves::Everything, {}, {}},
        FailureRow{"DriverRemoval",
                   "DeletePrinterDriverW",
                   0,
                   ErrorPrinterDriverInUse,
                   -1,
                   3001,
                   Leaves::DriverOnly,
                   {},
                   {}},
        // The driver is gone; its files stay where the spooler put them.
        FailureRow{"DriverDirectory",
                   "GetPrinterDriverDirectoryW",
                   0,
                   1722,
                   0,
                   0,
                   Leaves::Everything,
                   {"vq.gpd", "vq_res.dll"},
                   {}},
        // Version 3 is the third folder swept, two deletions each.
        FailureRow{"FileDeletion",
                   "DeleteFileW",
                   4,
                   ErrorSharingViolation,
                   0,
                   0,
                   Leaves::Everything,
                   {"vq.gpd"},
                   {}}),
    RowName());

// --- StageFiles and the service ----------------------------------------------

struct ServiceFailureRow {
    const char* name;
    const char* call;
    WinError error;
    bool staged;       // StageFiles' result
    bool registered;   // InstallStatusService's result
    bool programThere; // afterwards
    bool folderProtected;
    bool serviceThere;
    std::uint32_t state;
    std::vector<std::string> traces;
};

class ServiceFailure : public EngineTest,
                       public ::testing::WithParamInterface<ServiceFailureRow> {};

TEST_P(ServiceFailure, LeavesTheMachineAsItMust) {
    const ServiceFailureRow& row = GetParam();
    sim::FailOnce(row.call, row.error);
    EXPECT_EQ(Engine().StageFiles(Model, InstallFolder, 1), row.staged);
    EXPECT_EQ(Engine().InstallStatusService(Model), row.registered);
    EXPECT_EQ(sim::DebugOutput(), row.traces);

    sim::SimSnapshot after = sim::TakeSnapshot();
    const std::string program = "C:\\Varnoquill_Printer\\Varnoquill_Statuskeeper.exe";
    EXPECT_EQ(after.files.files.count(program), row.programThere ? 1u : 0u);
    EXPECT_EQ(after.files.security.count("C:\\Varnoquill_Printer"), row.folderProtected ? 1u : 0u);
    auto service = sim::FindService(ServiceName);
    ASSERT_EQ(service.has_value(), row.serviceThere);
    if (service) {
        EXPECT_EQ(service->currentState, row.state);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Engine, ServiceFailure,
    ::testing::Values(ServiceFailureRow{"ModulePath", "GetModuleFileNameW", 5, false, false, false,
                                        false, false, 0, Traces({5})},
                      ServiceFailureRow{"FolderCreation", "CreateDirectoryW", 5, false, false,
                                        false, false, false, 0, Traces({5, 2})},
                      ServiceFailureRow{"FolderSecurity", "SetNamedSecurityInfoW", 5, false, false,
                                        false, false, false, 0, Traces({0, 5})},
                      // The missing program is registered all the same; its start fails.
                      ServiceFailureRow{"ProgramCopy", "CopyFileW", 5, false, false, false, true,
                                        true, ServiceStopped, Traces({0, 5})},
                      ServiceFailureRow{"ProgramCheck", "GetFileAttributesW", 5, false, true, true,
                                        true, true, ServiceRunning, Traces({0, 0})},
                      ServiceFailureRow{"ServiceManager", "OpenSCManagerW", 5, true, false, true,
                                        true, false, 0, Traces({0, 0})},
                      // An open that fails is followed by a creation.
                      ServiceFailureRow{"ServiceOpen", "OpenServiceW", 5, true, true, true, true,
                                        true, ServiceRunning, Traces({0, 0})},
                      ServiceFailureRow{"ServiceCreation", "CreateServiceW", 5, true, false, true,
                                        true, false, 0, Traces({0, 0})},
                      ServiceFailureRow{"ServiceStart", "StartServiceW", 1053, true, false, true,
                                        true, true, ServiceStopped, Traces({0, 0})},
                      ServiceFailureRow{"HandleClose", "CloseServiceHandle", 6, true, true, true,
                                        true, true, ServiceRunning, Traces({0, 0})}),
    RowName());

} // namespace
} // namespace engine::testing
