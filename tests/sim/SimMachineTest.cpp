#include <gtest/gtest.h>

#include "platform/Devices.h"
#include "platform/Files.h"
#include "platform/Registry.h"
#include "platform/Services.h"
#include "platform/Spooler.h"
#include "platform/sim/SimDevices.h"
#include "platform/sim/SimFiles.h"
#include "platform/sim/SimMachine.h"
#include "platform/sim/SimRegistry.h"
#include "platform/sim/SimServices.h"
#include "platform/sim/SimSpooler.h"

using namespace platform;

namespace {

class SimMachine : public ::testing::Test {
  protected:
    void SetUp() override { sim::ResetMachine(); }
    void TearDown() override { sim::ResetMachine(); }
};

const std::u16string PrinterPath =
    u"\\\\?\\USB#VID_0483&PID_5741#SN1#{a5dcbf10-6530-11d2-901f-00c04fb951ed}";

void PlugPrinter() {
    sim::SimDevice device;
    device.instanceId = u"USB\\VID_0483&PID_5741\\SN1";
    device.interfaces = {{GuidDevinterfaceUsbDevice, PrinterPath}};
    sim::PlugDevice(device);
}

Outcome<FileHandle> OpenPrinter(std::uint32_t share) {
    return CreateFileW(PrinterPath, GenericRead | GenericWrite, share, OpenExisting, 0);
}

TEST_F(SimMachine, ADeviceRecordCarriesItsNameAtByteTwentyEight) {
    auto record = sim::DeviceInterfaceRecord(GuidDevinterfaceUsbDevice, PrinterPath);
    EXPECT_EQ(record.size(), 28 + 2 * (PrinterPath.size() + 1));
    EXPECT_EQ(record[0], record.size());
    EXPECT_EQ(record[4], DbtDevtypDeviceInterface);
    EXPECT_EQ(record[12], 0x10);
    EXPECT_EQ(record[15], 0xa5);
    EXPECT_EQ(DeviceInterfaceNameOf(record.data()), PrinterPath);
}

TEST_F(SimMachine, AnExclusiveDeviceHandleRefusesASecondOpenUntilClosed) {
    PlugPrinter();
    auto first = OpenPrinter(0);
    ASSERT_TRUE(first);
    EXPECT_EQ(OpenPrinter(FileShareRead | FileShareWrite).error, ErrorSharingViolation);
    first.value.Reset();
    EXPECT_TRUE(OpenPrinter(0));
}

TEST_F(SimMachine, ScriptedReadsThenTheLastFullReportThenUnplugged) {
    PlugPrinter();
    sim::ScriptReads(u"USB\\VID_0483&PID_5741\\SN1",
                     {{{}, ErrorGenFailure}, {{1, 2, 3, 4, 5}}, {{9, 9}}});
    auto device = OpenPrinter(0);
    std::uint8_t report[5] = {};
    EXPECT_EQ(ReadFile(device.value, report, 5).error, ErrorGenFailure);
    EXPECT_EQ(ReadFile(device.value, report, 5).value, 5u);
    EXPECT_EQ(ReadFile(device.value, report, 5).value, 2u);
    auto repeated = ReadFile(device.value, report, 5);
    EXPECT_EQ(repeated.value, 5u);
    EXPECT_EQ(report[3], 4);
    sim::UnplugDevice(u"USB\\VID_0483&PID_5741\\SN1");
    EXPECT_EQ(ReadFile(device.value, report, 5).error, ErrorDeviceNotConnected);
}

TEST_F(SimMachine, ServiceManagerAnswersWithWindowsErrorCodes) {
    auto manager = OpenSCManagerW(ScManagerAllAccess);
    ASSERT_TRUE(manager);
    EXPECT_EQ(OpenServiceW(manager.value, u"Missing", ServiceAllAccess).error,
              ErrorServiceDoesNotExist);
    ServiceConfig config;
    config.serviceName = u"Varnoquill_StatusMonitor";
    config.binaryPathName = u"C:\\Varnoquill_Printer\\Varnoquill_Statuskeeper.exe";
    auto created = CreateServiceW(manager.value, config);
    ASSERT_TRUE(created);
    EXPECT_EQ(CreateServiceW(manager.value, config).error, ErrorServiceExists);
    EXPECT_EQ(ControlService(created.value, ServiceControlStop).error, ErrorServiceNotActive);
    EXPECT_EQ(StartServiceW(created.value).error, ErrorFileNotFound);
    sim::PutFile(config.binaryPathName, "");
    EXPECT_TRUE(StartServiceW(created.value));
    EXPECT_EQ(StartServiceW(created.value).error, ErrorServiceAlreadyRunning);
    EXPECT_EQ(ControlService(created.value, ServiceControlStop).value.currentState, ServiceStopped);
    EXPECT_TRUE(DeleteService(created.value));
    EXPECT_EQ(DeleteService(created.value).error, ErrorServiceMarkedForDelete);
    EXPECT_EQ(CreateServiceW(manager.value, config).error, ErrorServiceMarkedForDelete);
    created.value.Reset();
    EXPECT_FALSE(sim::FindService(u"Varnoquill_StatusMonitor"));
}

TEST_F(SimMachine, StoppingAndStartingTheSpoolerServiceRestartsTheSpooler) {
    PrinterInfo2 queue;
    queue.printerName = u"Varnoquill";
    sim::AddQueue(queue);
    PrinterDefaults defaults{u"", PrinterAllAccess};
    auto before = OpenPrinterW(u"varnoquill", &defaults);
    ASSERT_TRUE(before);
    auto manager = OpenSCManagerW(ScManagerAllAccess);
    auto spooler = OpenServiceW(manager.value, u"Spooler", ServiceAllAccess);
    ControlService(spooler.value, ServiceControlStop);
    EXPECT_EQ(OpenPrinterW(u"Varnoquill", &defaults).error, sim::RpcServerUnavailable);
    StartServiceW(spooler.value);
    EXPECT_EQ(sim::SpoolerRestarts(), 1u);
    EXPECT_EQ(GetPrinterW(before.value).error, ErrorInvalidHandle);
    EXPECT_TRUE(OpenPrinterW(u"Varnoquill", &defaults));
}

TEST_F(SimMachine, PauseAndSetStatusAreKeptApartAsWindowsDoes) {
    PrinterInfo2 queue;
    queue.printerName = u"Varnoquill";
    sim::AddQueue(queue);
    sim::SetQueueAccess(u"Varnoquill", PrinterAccessUse);
    PrinterDefaults all{u"", PrinterAllAccess};
    EXPECT_EQ(OpenPrinterW(u"Varnoquill", &all).error, ErrorAccessDenied);
    sim::SetQueueAccess(u"Varnoquill", 0xFFFFFFFF);
    auto printer = OpenPrinterW(u"Varnoquill", &all);
    SetPrinterW(printer.value, PrinterControlPause);
    SetPrinterW(printer.value, PrinterControlSetStatus, PrinterStatusPaperOut);
    EXPECT_EQ(GetPrinterW(printer.value).value.status, PrinterStatusPaused | PrinterStatusPaperOut);
    SetPrinterW(printer.value, PrinterControlResume);
    EXPECT_EQ(GetPrinterW(printer.value).value.status, PrinterStatusPaperOut);
}

TEST_F(SimMachine, RegistryKeysIgnoreCaseAndValuesMustFitTheBuffer) {
    sim::SetRegistryString("SYSTEM\\Ports\\USB001", "Device Id", "USB\\VID_0483");
    auto key = RegOpenKeyExA("system\\PORTS\\usb001", KeyRead);
    ASSERT_TRUE(key);
    EXPECT_EQ(RegQueryValueExA(key.value, "device id", 200).value, "USB\\VID_0483");
    EXPECT_EQ(RegQueryValueExA(key.value, "Device Id", 12).error, ErrorMoreData);
    EXPECT_EQ(RegQueryValueExA(key.value, "Other", 200).error, ErrorFileNotFound);
    EXPECT_EQ(RegOpenKeyExA("SYSTEM\\Ports\\USB002", KeyRead).error, ErrorFileNotFound);
}

} // namespace
