#include "platform/Devices.h"
#include "tests/contract/ContractTest.h"

namespace contract {
namespace {

using namespace platform;

class DevicesContract : public ContractTest {};

TEST_F(DevicesContract, GuidsCompareByValue) {
    EXPECT_EQ(GuidDevinterfaceUsbDevice, GuidDevinterfaceUsbDevice);
    EXPECT_FALSE(GuidDevinterfaceUsbDevice == GuidDevinterfaceUsbPrint);
}

// No USB device is attached to the machines the suite runs on.
TEST_F(DevicesContract, EnumeratingUsbInterfacesEndsAtOnceWithNoMoreItems) {
    auto set =
        SetupDiGetClassDevsW(&GuidDevinterfaceUsbDevice, u"", DigcfPresent | DigcfDeviceInterface);
    ASSERT_TRUE(set) << set.error;
    EXPECT_TRUE(set.value.IsValid());
    auto first = SetupDiEnumDeviceInterfaces(set.value, GuidDevinterfaceUsbDevice, 0);
    EXPECT_EQ(first.error, ErrorNoMoreItems);
    EXPECT_EQ(SetupDiEnumDeviceInfo(set.value, 0).error, ErrorNoMoreItems);
    EXPECT_TRUE(set.value.Close());
}

TEST_F(DevicesContract, AllPresentDevicesCanBeListedAndNamed) {
    auto set = SetupDiGetClassDevsW(nullptr, u"", DigcfPresent | DigcfAllClasses);
    ASSERT_TRUE(set) << set.error;
    for (std::uint32_t index = 0;; ++index) {
        auto device = SetupDiEnumDeviceInfo(set.value, index);
        if (!device) {
            EXPECT_EQ(device.error, ErrorNoMoreItems);
            break;
        }
        auto id = CM_Get_Device_IDW(device.value.devInst, 200);
        EXPECT_EQ(id.error, CrSuccess) << "device " << index;
        EXPECT_FALSE(id.value.empty()) << "device " << index;
    }
}

// Windows: an ID that fills the buffer exactly is a success, without a
// terminator, and one character less is CrBufferSmall. Wine never answers
// CrBufferSmall: it cuts the ID to the buffer less the terminator.
TEST_F(DevicesContract, ADeviceIdLongerThanTheBufferIsBufferSmallExceptOnWine) {
    auto set = SetupDiGetClassDevsW(nullptr, u"", DigcfPresent | DigcfAllClasses);
    ASSERT_TRUE(set) << set.error;
    auto device = SetupDiEnumDeviceInfo(set.value, 0);
    if (!device)
        GTEST_SKIP() << "the machine has no devices at all";
    auto id = CM_Get_Device_IDW(device.value.devInst, 200);
    ASSERT_EQ(id.error, CrSuccess);
    auto exact = static_cast<std::uint32_t>(id.value.size());
    auto shorter = CM_Get_Device_IDW(device.value.devInst, exact - 1);
    auto fitting = CM_Get_Device_IDW(device.value.devInst, exact);
    if (Env().Kind() == Machine::Wine) {
        EXPECT_EQ(shorter.error, CrSuccess);
        EXPECT_EQ(shorter.value, id.value.substr(0, exact - 2));
        EXPECT_EQ(fitting.error, CrSuccess);
        EXPECT_EQ(fitting.value, id.value.substr(0, exact - 1));
    } else {
        EXPECT_EQ(shorter.error, CrBufferSmall);
        EXPECT_EQ(fitting.error, CrSuccess);
        EXPECT_EQ(fitting.value, id.value);
    }
}

TEST_F(DevicesContract, TheDevicePropertyFunctionIsExported) {
    EXPECT_TRUE(HasSetupDiGetDevicePropertyW());
}

} // namespace
} // namespace contract
