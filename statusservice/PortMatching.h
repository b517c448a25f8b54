// Following the printer to the USB port under which the spooler now knows it.
#pragma once

#include <string>
#include <vector>

namespace statusservice {

// The spooler's ports whose names contain "USB", in enumeration order.
std::vector<std::u16string> ListUsbPorts();
// The first port whose recorded "Device Id" is the device's instance ID;
// empty when none is.
std::u16string FindDevicePort(std::vector<std::u16string> portNames, std::u16string devicePath);
// Moves the queue to the printer's port when it changed. True when the path
// is the printer's.
bool RepointQueue(std::u16string devicePath);

} // namespace statusservice
