// The queue, the driver and the model's own driver files removed.
#include "platform/Files.h"
#include "platform/Spooler.h"
#include "tests/engine/EngineMachine.h"

namespace engine::testing {
namespace {

using namespace platform;

class RemovePrinter : public EngineTest {
  protected:
    void SetUp() override {
        EngineTest::SetUp();
        m_before = sim::TakeSnapshot();
        ASSERT_EQ(Engine().InstallPrinter(Model, Port), 0);
        m_installed = sim::TakeSnapshot();
        sim::ClearOutput();
    }

    sim::SimSnapshot m_before;
    sim::SimSnapshot m_installed;
};

TEST_F(RemovePrinter, DeletesQueueDriverAndTheModelsOwnFilesOnly) {
    EXPECT_EQ(Engine().RemovePrinter(Model), 0);
    EXPECT_EQ(Engine().GetErrorCode(), 0);
    ExpectMachine(sim::TakeSnapshot(), Removed(m_before));
    EXPECT_TRUE(sim::DebugOutput().empty());
    EXPECT_TRUE(sim::StandardOutput().empty());
}

TEST_F(RemovePrinter, SharedFilesNamedInAnyCaseStay) {
    ASSERT_EQ(Engine().RemovePrinter(Model), 0);
    MediumFiles names;
    names.depends = {u"unires.dll", u"stdnames.gpd", u"own.dll"};
    m_catalogue = {SeedModel(Model, u"C:\\Setup", names)};
    ASSERT_EQ(Engine().InstallPrinter(Model, Port), 0);
    ASSERT_EQ(Engine().RemovePrinter(Model), 0);
    const std::u16string version = X64Drivers + u"3\\";
    EXPECT_TRUE(PathFileExistsW(version + u"unires.dll"));
    EXPECT_TRUE(PathFileExistsW(version + u"stdnames.gpd"));
    EXPECT_FALSE(PathFileExistsW(version + u"own.dll"));
    EXPECT_FALSE(PathFileExistsW(version + u"vq.gpd"));
    EXPECT_TRUE(PathFileExistsW(version + u"vq_drv.dll"));
}

TEST_F(RemovePrinter, EveryVersionFolderIsSwept) {
    for (const char16_t* folder : {u"1\\", u"2\\", u"4\\"})
        sim::PutFile(X64Drivers + folder + u"vq.gpd", "older");
    ASSERT_EQ(Engine().RemovePrinter(Model), 0);
    for (const char16_t* folder : {u"1\\", u"2\\", u"4\\"})
        EXPECT_FALSE(PathFileExistsW(X64Drivers + folder + u"vq.gpd")) << Utf8(folder);
}

TEST_F(RemovePrinter, ADriverAnotherQueueUsesStaysAndNoFileIsDeleted) {
    PrinterInfo2 other = *sim::QueueRecord(Model);
    other.printerName = u"Second queue";
    sim::AddQueue(other);
    sim::SimSnapshot withSecond = sim::TakeSnapshot();
    EXPECT_EQ(Engine().RemovePrinter(Model), -1);
    EXPECT_EQ(Engine().GetErrorCode(), static_cast<int>(ErrorPrinterDriverInUse));
    std::erase_if(withSecond.spooler.queues,
                  [](const PrinterInfo2& queue) { return queue.printerName == Model; });
    ExpectMachine(sim::TakeSnapshot(), withSecond);
}

TEST_F(RemovePrinter, AQueueWithoutFullAccessIsMinusOneAndUntouched) {
    sim::SetQueueAccess(Model, PrinterAccessUse);
    sim::SimSnapshot before = sim::TakeSnapshot();
    EXPECT_EQ(Engine().RemovePrinter(Model), -1);
    EXPECT_EQ(Engine().GetErrorCode(), static_cast<int>(ErrorAccessDenied));
    ExpectMachine(sim::TakeSnapshot(), before);
}

TEST_F(RemovePrinter, ANameOutsideTheCatalogueKeepsTheErrorCode) {
    sim::FailOnce("OpenPrinterW", ErrorAccessDenied);
    ASSERT_EQ(Engine().RemovePrinter(Model), -1);
    EXPECT_EQ(Engine().RemovePrinter(u"varnoquill"), -1);
    EXPECT_EQ(Engine().GetErrorCode(), static_cast<int>(ErrorAccessDenied));
    ExpectMachine(sim::TakeSnapshot(), m_installed);
}

} // namespace
} // namespace engine::testing
