#include "ServiceMachine.h"
#include "statusservice/DeviceDiscovery.h"
#include "statusservice/PortMatching.h"

namespace statusservice::testing {
namespace {

using namespace platform;

class DevicePath : public CServiceMachineTest {};

struct DescriptionCase {
    const char* name;
    bool keyPresent;
    const char* description; // null: the key has no such value
    bool accepted;
    const char* trace; // null: nothing traced
};

TEST_F(DevicePath, IsOwnPrinterReadsThePrintInterfacesPortDescription) {
    const std::string longText(200, 'V');
    const std::vector<DescriptionCase> cases = {
        {"model word", true, "Varnoquill", true, nullptr},
        {"other case", true, "VARNOquill", true, nullptr},
        {"other model", true, "Brisomate", false, nullptr},
        {"no value", true, nullptr, false, "GetLastError:2\r\n"},
        {"too long for 200 bytes", true, longText.c_str(), false, "GetLastError:234\r\n"},
        {"no key", false, nullptr, false, nullptr},
    };
    for (const DescriptionCase& c : cases) {
        SCOPED_TRACE(c.name);
        TearDown();
        SetUp();
        if (c.keyPresent)
            sim::AddRegistryKey(DeviceParametersKey("SN1"));
        if (c.description)
            sim::SetRegistryString(DeviceParametersKey("SN1"), "Port Description", c.description);

        EXPECT_EQ(IsOwnPrinter(Wide(PrinterPath("SN1"))), c.accepted);
        std::vector<std::string> expected;
        if (c.trace)
            expected.push_back(c.trace);
        EXPECT_EQ(sim::DebugOutput(), expected);
    }
}

TEST_F(DevicePath, FindDevicePortPicksThePortThatRecordsTheInstanceId) {
    sim::SetRegistryString(UsbPortsKey + "USB001", "Device Id", "USB\\VID_0483&PID_5741\\OTHER");
    sim::SetRegistryString(UsbPortsKey + "USB002", "Device Id", "usb\\vid_0483&pid_5741\\sn1");

    EXPECT_EQ(FindDevicePort({u"USB001", u"USB002"}, Wide(PrinterPath("SN1"))), u"USB002");
    EXPECT_TRUE(sim::DebugOutput().empty());
}

TEST_F(DevicePath, FindDevicePortTracesPortsWithoutARecordAndMayFindNone) {
    sim::SetRegistryString(UsbPortsKey + "USB001", "Device Id", "USB\\VID_0483&PID_5741\\OTHER");
    sim::AddRegistryKey(UsbPortsKey + "USB003");

    EXPECT_EQ(FindDevicePort({u"USB001", u"USB002", u"USB003"}, Wide(PrinterPath("SN1"))), u"");
    EXPECT_EQ(sim::DebugOutput(),
              (std::vector<std::string>{"GetLastError:6\r\n", "GetLastError:2\r\n"}));
}

TEST_F(DevicePath, ListUsbPortsKeepsNamesContainingUsbInOrder) {
    sim::AddPort({u"VirtualUSB7", {}, {}, 0});
    sim::AddPort({u"usb009", {}, {}, 0});

    EXPECT_EQ(ListUsbPorts(), (std::vector<std::u16string>{u"USB001", u"USB002", u"VirtualUSB7"}));
}

TEST_F(DevicePath, OpenPrinterDeviceOpensTheFirstPrinterWhoseDescriptionMatches) {
    sim::PlugDevice(MouseDevice());
    RecordPrinter("SN1", "USB001", "Brisomate");
    sim::PlugDevice(PrinterDevice("SN1"));
    AttachPrinter("SN2", "USB002");
    AttachPrinter("SN3", "USB003");

    FileHandle device = OpenPrinterDevice();

    EXPECT_TRUE(device);
    EXPECT_EQ(sim::DeviceOpenHandles(Wide(PrinterInstanceId("SN2"))), 1u);
    EXPECT_EQ(sim::DeviceOpenHandles(Wide(PrinterInstanceId("SN3"))), 0u);
    EXPECT_EQ(sim::DebugOutput(),
              (std::vector<std::string>{" DevicePath:" + PrinterPath("SN1") + "\n",
                                        " DevicePath:" + PrinterPath("SN2") + "\n"}));
}

TEST_F(DevicePath, OpenPrinterDeviceFindsNothingWithoutThePrinter) {
    sim::PlugDevice(MouseDevice());
    EXPECT_FALSE(OpenPrinterDevice());
    EXPECT_TRUE(sim::DebugOutput().empty());
}

TEST_F(DevicePath, ThePrinterIdsAreMatchedAsTheyAreWritten) {
    EXPECT_TRUE(CarriesPrinterIds(Wide(PrinterPath("SN1"))));
    EXPECT_FALSE(CarriesPrinterIds(Wide(MousePath)));
    EXPECT_FALSE(CarriesPrinterIds(Wide(PrinterPath("SN1", "VID_0483&PID_5742"))));
    EXPECT_FALSE(CarriesPrinterIds(u""));
}

} // namespace
} // namespace statusservice::testing
