#include "statusservice/DeviceDiscovery.h"

#include <algorithm>
#include <cstdio>

#include "platform/Devices.h"
#include "platform/Registry.h"
#include "platform/System.h"
#include "statusservice/PrinterIdentity.h"
#include "statusservice/RegistryText.h"
#include "statusservice/Trace.h"
#include "statusservice/WideText.h"

namespace statusservice {
namespace {

using namespace platform;

// The print interface's key name from the USB device interface's path:
// \\?\USB#VID_0483&PID_5741#serial#{a5dc...} becomes
// ##?#USB#VID_0483&PID_5741#serial#{28d78fad-...}.
std::u16string PrintInterfaceKeyName(std::u16string path) {
    std::replace(path.begin(), path.end(), u'\\', u'#');
    std::size_t last = path.rfind(u'#');
    if (last != std::u16string::npos)
        path.erase(last);
    path += UsbPrintInterfaceSuffix;
    return path;
}

FileHandle OpenExclusively(std::u16string_view devicePath) {
    Outcome<FileHandle> opened =
        CreateFileW(devicePath, GenericRead | GenericWrite, 0, OpenExisting, FileFlagNoBuffering);
    return opened ? std::move(opened.value) : FileHandle();
}

} // namespace

bool CarriesPrinterIds(std::u16string_view devicePath) {
    return Contains(devicePath, VendorIdText) && Contains(devicePath, ProductIdText);
}

bool IsOwnPrinter(std::u16string devicePath) {
    std::string keyName =
        FormatKeyName(DeviceParametersKeyTemplate, PrintInterfaceKeyName(std::move(devicePath)));
    Outcome<RegKey> key = RegOpenKeyExA(keyName, KeyRead);
    if (!key)
        return false;
    Outcome<std::string> description =
        RegQueryValueExA(key.value, "Port Description", RegistryValueBufferSize);
    if (!description) {
        Trace("GetLastError:%d\r\n", static_cast<int>(description.error));
        return false;
    }
    std::u16string model = WideFromAnsi(ModelWord);
    return EqualsIgnoringCase(WideFromAnsi(description.value), model);
}

FileHandle OpenPrinterDevice() {
    Outcome<DevInfoHandle> devices =
        SetupDiGetClassDevsW(&GuidDevinterfaceUsbDevice, {}, DigcfPresent | DigcfDeviceInterface);
    if (!devices)
        return {};
    for (std::uint32_t index = 0;; ++index) {
        Outcome<DeviceInterfaceData> item =
            SetupDiEnumDeviceInterfaces(devices.value, GuidDevinterfaceUsbDevice, index);
        if (!item)
            return {};
        Outcome<std::u16string> path = SetupDiGetDeviceInterfaceDetailW(devices.value, item.value);
        if (!path || !CarriesPrinterIds(path.value))
            continue;
        Trace(" DevicePath:%s\n", Narrow(path.value).c_str());
        if (IsOwnPrinter(path.value))
            return OpenExclusively(path.value);
    }
}

} // namespace statusservice
