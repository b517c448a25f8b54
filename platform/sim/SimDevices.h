// Seeding and inspection of the simulated devices: present devices with
// their instance IDs, setup class, device interfaces, children and
// bus-reported description; device files whose reads a test scripts; and
// the device notifications the program registered.
//
// Opening an interface path with CreateFileW gives a device file. Its reads
// take the device's scripted reads in order (a full report, a short report,
// or a failure); once the script runs out, the last read that delivered all
// the bytes asked for is repeated, and before any such read, reads fail with
// ErrorGenFailure. Sharing is checked as Windows does: a device opened
// without sharing refuses another open with ErrorSharingViolation while the
// first handle is open.
//
// Unplugging removes the device at once; reads on handles still open to it
// fail with ErrorDeviceNotConnected, also after the device is plugged in
// again (a replug is a new device object). Plugging and unplugging post
// DBT_DEVICEARRIVAL / DBT_DEVICEREMOVECOMPLETE, one per interface, to the
// service handler when a registered notification's class matches.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/Devices.h"
#include "platform/Handle.h"

namespace platform::sim {

constexpr WinError ErrorNotFound = 1168;

struct SimDeviceInterface {
    Guid classGuid;
    std::u16string path;
};

struct SimDevice {
    std::u16string instanceId; // its first component is the enumerator ("USB")
    Guid setupClass;
    std::vector<SimDeviceInterface> interfaces;
    std::vector<std::u16string> children; // instance IDs
    std::optional<std::u16string> busReportedDescription;
};

struct ScriptedRead {
    std::vector<std::uint8_t> bytes; // fewer than asked is a short read
    WinError error = ErrorSuccess;   // when set, the read fails and gives nothing
};

// No devices, no notifications; SetupDiGetDevicePropertyW present.
void ResetDevices();
void SetDevicePropertyApiPresent(bool present);

void PlugDevice(const SimDevice& device);
void UnplugDevice(std::u16string_view instanceId);
bool DevicePresent(std::u16string_view instanceId);

void ScriptReads(std::u16string_view instanceId, const std::vector<ScriptedRead>& reads);
// Reads and successful opens of the present device so far, and its handles
// open now.
std::uint32_t DeviceReadCount(std::u16string_view instanceId);
std::uint32_t DeviceOpenCount(std::u16string_view instanceId);
std::uint32_t DeviceOpenHandles(std::u16string_view instanceId);

struct NotificationRegistration {
    RawHandle recipient = nullptr;
    DevBroadcastDeviceInterfaceFilter filter;
    std::uint32_t flags = 0;
    bool active = false;
};
std::vector<NotificationRegistration> DeviceNotifications();

} // namespace platform::sim
