// The driver registered and the queue created, the existence test and the
// default printer.
#include "platform/Files.h"
#include "platform/Spooler.h"
#include "tests/engine/EngineMachine.h"

namespace engine::testing {
namespace {

using namespace platform;
using engine::testing::PrintTo;

using InstallPrinter = EngineTest;

TEST_F(InstallPrinter, RegistersTheDriverAndCreatesTheQueue) {
    sim::SimSnapshot before = sim::TakeSnapshot();
    ASSERT_EQ(Engine().InstallPrinter(Model, Port), 0);
    EXPECT_EQ(Engine().GetErrorCode(), 0);
    EXPECT_EQ(sim::Drivers(u"Windows x64"), std::vector<DriverInfo3>{ExpectedDriver()});
    EXPECT_EQ(sim::QueueRecord(Model), ExpectedQueue());
    // The spooler's own copies in its version folder; none staged in the root.
    ExpectMachine(sim::TakeSnapshot(), Installed(before));
    EXPECT_EQ(TakeTraces(), Traces({0, 0, 0, 0, 0, 0, 0}));
}

TEST_F(InstallPrinter, TheDependentFileListNamesTheMainFilesFirst) {
    MediumFiles names{u"drv", u"dat", u"cfg", u"hlp", {u"e1", u"e2"}};
    m_catalogue = {SeedModel(Model, u"C:\\Setup", names)};
    ASSERT_EQ(Engine().InstallPrinter(Model, Port), 0);
    EXPECT_EQ(sim::Drivers(u"Windows x64").at(0).dependentFiles,
              (std::vector<std::u16string>{u"drv", u"dat", u"cfg", u"hlp", u"e1", u"e2"}));
}

// Many drivers have no help file: a catalogue without Help installs, and the
// dependent files after it still reach the spooler.
TEST_F(InstallPrinter, AFileSetWithoutHelpInstallsWithEveryDependentFile) {
    m_catalogue = {SeedModel(Model, u"C:\\Setup", {u"drv", u"dat", u"cfg", u"hlp", {u"e1"}})};
    m_catalogue[0].amd64.Help.clear();
    ASSERT_EQ(Engine().InstallPrinter(Model, Port), 0);
    EXPECT_EQ(Engine().GetErrorCode(), 0);
    const DriverInfo3 driver = sim::Drivers(u"Windows x64").at(0);
    EXPECT_EQ(driver.helpFile, u"");
    EXPECT_EQ(driver.dependentFiles, (std::vector<std::u16string>{u"drv", u"dat", u"cfg", u"e1"}));
    ASSERT_TRUE(sim::QueueRecord(Model));
    EXPECT_EQ(sim::QueueRecord(Model)->driverName, Model);
}

TEST_F(InstallPrinter, AnExistingQueueIsMinusTwoAndChangesNothing) {
    ASSERT_EQ(Engine().InstallPrinter(Model, Port), 0);
    sim::SimSnapshot installed = sim::TakeSnapshot();
    sim::ClearOutput();
    EXPECT_EQ(Engine().InstallPrinter(Model, u"FILE:"), -2);
    EXPECT_EQ(Engine().GetErrorCode(), 0);
    EXPECT_TRUE(TakeTraces().empty());
    ExpectMachine(sim::TakeSnapshot(), installed);
}

TEST_F(InstallPrinter, AModelMissingFromTheCatalogueIsMinusOneWithNoCode) {
    sim::FailOnce("AddPrinterW", ErrorAccessDenied);
    ASSERT_EQ(Engine().InstallPrinter(OtherModel, u"NOPORT:"), -1);
    ASSERT_NE(Engine().GetErrorCode(), 0);
    sim::SimSnapshot before = sim::TakeSnapshot();
    EXPECT_EQ(Engine().InstallPrinter(u"VARNOQUILL", Port), -1);
    EXPECT_EQ(Engine().GetErrorCode(), 0);
    ExpectMachine(sim::TakeSnapshot(), before);
}

// The failures the engine must not report as success.
struct NotInstalledRow {
    const char* name;
    const char* call;
    WinError error;
    std::uint32_t skip;
};

class InstallPrinterNotInstalled : public EngineTest,
                                   public ::testing::WithParamInterface<NotInstalledRow> {};

TEST_P(InstallPrinterNotInstalled, IsMinusOneWithTheFailingCallsCode) {
    const NotInstalledRow& row = GetParam();
    sim::FailOnce(row.call, row.error, row.skip);
    EXPECT_EQ(Engine().InstallPrinter(Model, Port), -1);
    EXPECT_EQ(Engine().GetErrorCode(), static_cast<int>(row.error));
    EXPECT_FALSE(sim::QueueRecord(Model));
}

INSTANTIATE_TEST_SUITE_P(
    Engine, InstallPrinterNotInstalled,
    ::testing::Values(NotInstalledRow{"DriverDirectory", "GetPrinterDriverDirectoryW", 1722, 0},
                      NotInstalledRow{"DriverFileCopy", "CopyFileW", ErrorSharingViolation, 2},
                      NotInstalledRow{"DriverRegistration", "AddPrinterDriverW", 1797, 0},
                      NotInstalledRow{"QueueCreation", "AddPrinterW", ErrorAccessDenied, 0}),
    RowName());

TEST_F(InstallPrinter, AMissingDriverFileKeepsTheCopysCode) {
    DeleteFileW(X64Files().Config);
    EXPECT_EQ(Engine().InstallPrinter(Model, Port), -1);
    EXPECT_EQ(Engine().GetErrorCode(), static_cast<int>(ErrorFileNotFound));
    EXPECT_TRUE(sim::Drivers(u"Windows x64").empty());
}

TEST_F(InstallPrinter, AFolderNamedLikeTheDataFileFailsWithTheCopysCode) {
    CreateDirectoryW(X64Drivers + u"vq.gpd");
    EXPECT_EQ(Engine().InstallPrinter(Model, Port), -1);
    EXPECT_EQ(Engine().GetErrorCode(), static_cast<int>(ErrorAccessDenied));
    EXPECT_TRUE(sim::Drivers(u"Windows x64").empty());
}

TEST_F(InstallPrinter, AnUnknownPortLeavesTheDriverRegisteredAndNoStagedCopies) {
    EXPECT_EQ(Engine().InstallPrinter(Model, u"NOPORT:"), -1);
    EXPECT_EQ(Engine().GetErrorCode(), static_cast<int>(sim::ErrorUnknownPort));
    EXPECT_EQ(sim::Drivers(u"Windows x64").size(), 1u);
    EXPECT_FALSE(PathFileExistsW(X64Drivers + u"vq_drv.dll"));
}

TEST_F(InstallPrinter, AUserWhoMayNotAdministerTheServerGetsTheOpensCode) {
    sim::SimSnapshot before = sim::TakeSnapshot();
    sim::FailOnce("OpenPrinterW", ErrorAccessDenied, 1);
    EXPECT_EQ(Engine().InstallPrinter(Model, Port), -1);
    EXPECT_EQ(Engine().GetErrorCode(), static_cast<int>(ErrorAccessDenied));
    ExpectMachine(sim::TakeSnapshot(), before);
}

struct LimitRow {
    const char* name;
    std::u16string port;
    MediumFiles names;
    WinError error; // 0: installs
};

// 23 dependent names of 40 units and one of `last` units, each unique.
MediumFiles WithDependentNames(std::size_t last) {
    MediumFiles names;
    names.depends.clear();
    for (std::size_t i = 0; i < 24; ++i) {
        std::size_t length = i == 23 ? last : 40;
        names.depends.push_back(std::u16string(length - 3, u'f') +
                                static_cast<char16_t>(u'a' + i / 26) +
                                static_cast<char16_t>(u'a' + i % 26) + u"x");
    }
    return names;
}

class InstallPrinterLimits : public EngineTest, public ::testing::WithParamInterface<LimitRow> {};

TEST_P(InstallPrinterLimits, AreKeptWithoutTruncation) {
    const LimitRow& row = GetParam();
    m_catalogue = {SeedModel(Model, u"C:\\Setup", row.names)};
    sim::AddPort({std::u16string(99, u'P'), u"Local Port", u"Local Port", 0});
    sim::SimSnapshot before = sim::TakeSnapshot();
    int result = Engine().InstallPrinter(Model, row.port);
    if (row.error == 0) {
        EXPECT_EQ(result, 0) << Engine().GetErrorCode();
        EXPECT_EQ(sim::QueueRecord(Model)->portName, row.port);
        return;
    }
    EXPECT_EQ(result, -1);
    EXPECT_EQ(Engine().GetErrorCode(), static_cast<int>(row.error));
    ExpectMachine(sim::TakeSnapshot(), before);
}

// The main files' names and terminators take 35 units, the list's own
// terminator 1, 23 names of 40 units with theirs 943: a last name of 44
// units fills the 1024 units exactly.
INSTANTIATE_TEST_SUITE_P(
    Engine, InstallPrinterLimits,
    ::testing::Values(LimitRow{"PortOf99", std::u16string(99, u'P'), {}, 0},
                      LimitRow{"PortOf100", std::u16string(100, u'P'), {}, ErrorInvalidParameter},
                      LimitRow{"DependentListOf1024", Port, WithDependentNames(44), 0},
                      LimitRow{"DependentListOf1025", Port, WithDependentNames(45),
                               ErrorInsufficientBuffer}),
    RowName());

TEST_F(InstallPrinter, ADriverDirectoryTooDeepForTheBuffersIsRefusedBeforeAnyCopy) {
    const std::u16string deep = u"C:\\" + std::u16string(250, u'd');
    sim::SetDriverDirectory(u"Windows x64", deep);
    sim::SimSnapshot before = sim::TakeSnapshot();
    EXPECT_EQ(Engine().InstallPrinter(Model, Port), -1);
    EXPECT_EQ(Engine().GetErrorCode(), static_cast<int>(ErrorFilenameExcedRange));
    ExpectMachine(sim::TakeSnapshot(), before);
}

TEST_F(InstallPrinter, PrinterExistsOpensWithFullAccessAndLeavesNoHandle) {
    EXPECT_EQ(Engine().PrinterExists(Model), 0);
    ASSERT_EQ(Engine().InstallPrinter(Model, Port), 0);
    sim::ClearSpoolerCalls();
    EXPECT_EQ(Engine().PrinterExists(Model), 1);
    auto calls = sim::SpoolerCalls();
    ASSERT_EQ(calls.size(), 2u);
    EXPECT_EQ(calls[0].operation, "OpenPrinterW");
    EXPECT_EQ(calls[1].operation, "ClosePrinter");
    sim::SetQueueAccess(Model, PrinterAccessUse);
    EXPECT_EQ(Engine().PrinterExists(Model), 0);
}

TEST_F(InstallPrinter, SetDefaultPrinterMakesTheQueueTheDefault) {
    ASSERT_EQ(Engine().InstallPrinter(Model, Port), 0);
    EXPECT_FALSE(Engine().SetDefaultPrinter(u"Absent"));
    EXPECT_TRUE(Engine().SetDefaultPrinter(Model));
    EXPECT_EQ(sim::DefaultPrinter(), Model);
}

} // namespace
} // namespace engine::testing
