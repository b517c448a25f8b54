#include "statusservice/ServiceState.h"

#include "platform/Devices.h"

namespace statusservice {

platform::ServiceStatusRecord ServiceStatus;
platform::ServiceStatusHandle StatusHandle = nullptr;
platform::RawHandle DeviceNotification = nullptr;
std::u16string CurrentPort;
platform::FileHandle DeviceHandle;
std::array<std::uint8_t, 5> StatusReport{};
std::atomic<std::uint8_t> ReopenRequested{0};
std::atomic<std::uint8_t> PrinterRemoved{0};

void ResetServiceState() {
    ServiceStatus = {};
    StatusHandle = nullptr;
    platform::DeviceNotifyHandle(DeviceNotification).Reset();
    DeviceNotification = nullptr;
    CurrentPort.clear();
    DeviceHandle.Reset();
    StatusReport = {};
    ReopenRequested = 0;
    PrinterRemoved = 0;
}

} // namespace statusservice
