#include "statusservice/PortMatching.h"

#include <algorithm>

#include "platform/Registry.h"
#include "platform/Spooler.h"
#include "statusservice/DeviceDiscovery.h"
#include "statusservice/PrinterIdentity.h"
#include "statusservice/QueueOperations.h"
#include "statusservice/RegistryText.h"
#include "statusservice/ServiceState.h"
#include "statusservice/Trace.h"
#include "statusservice/WideText.h"

namespace statusservice {
namespace {

using namespace platform;

// \\?\USB#VID_0483&PID_5741#serial#{a5dc...} names the device
// USB\VID_0483&PID_5741\serial.
std::u16string InstanceIdOf(std::u16string path) {
    std::size_t last = path.rfind(u'#');
    if (last != std::u16string::npos)
        path.erase(last);
    std::replace(path.begin(), path.end(), u'#', u'\\');
    return path.size() > 4 ? path.substr(4) : std::u16string();
}

// A missing key is not told apart: the read on it fails and is traced.
bool PortRecordsDevice(const std::u16string& portName, const std::u16string& instanceId) {
    Outcome<RegKey> key =
        RegOpenKeyExA(FormatKeyName(UsbMonitorPortKeyTemplate, portName), KeyRead);
    Outcome<std::string> deviceId =
        RegQueryValueExA(key.value, "Device Id", RegistryValueBufferSize);
    if (!deviceId) {
        Trace("GetLastError:%d\r\n", static_cast<int>(deviceId.error));
        return false;
    }
    return EqualsIgnoringCase(WideFromAnsi(deviceId.value), instanceId);
}

} // namespace

std::vector<std::u16string> ListUsbPorts() {
    std::vector<std::u16string> usbPorts;
    Outcome<std::vector<PortInfo2>> ports = EnumPortsW();
    for (const PortInfo2& port : ports.value)
        if (Contains(port.portName, u"USB"))
            usbPorts.push_back(port.portName);
    return usbPorts;
}

std::u16string FindDevicePort(std::vector<std::u16string> portNames, std::u16string devicePath) {
    std::u16string instanceId = InstanceIdOf(std::move(devicePath));
    for (const std::u16string& portName : portNames)
        if (PortRecordsDevice(portName, instanceId))
            return portName;
    return {};
}

bool RepointQueue(std::u16string devicePath) {
    if (!IsOwnPrinter(devicePath))
        return false;
    std::u16string newPort = FindDevicePort(ListUsbPorts(), devicePath);
    if (!EqualsIgnoringCase(newPort, CurrentPort)) {
        SetQueuePort(newPort);
        CurrentPort = GetQueuePort();
        SetQueueState(PrinterControlResume, 0);
    }
    return true;
}

} // namespace statusservice
