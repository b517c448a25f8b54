#include "statusservice/ServiceEntry.h"

#include <vector>

#include "platform/Devices.h"
#include "platform/Services.h"
#include "platform/Spooler.h"
#include "platform/System.h"
#include "statusservice/DeviceDiscovery.h"
#include "statusservice/PortMatching.h"
#include "statusservice/QueueOperations.h"
#include "statusservice/ServiceState.h"
#include "statusservice/StatusPoll.h"
#include "statusservice/Trace.h"

namespace statusservice {
namespace {

using namespace platform;

constexpr std::uint32_t StatusWaitHintMs = 60000;

void FillServiceStatus() {
    ServiceStatus.serviceType = ServiceWin32OwnProcess;
    ServiceStatus.controlsAccepted = ServiceAcceptStop | ServiceAcceptShutdown;
    ServiceStatus.win32ExitCode = 0;
    ServiceStatus.serviceSpecificExitCode = 0;
    ServiceStatus.checkPoint = 0;
    ServiceStatus.waitHint = StatusWaitHintMs;
}

// Every device exposing the USB device interface, not only the printer.
void RegisterForUsbDevices() {
    DevBroadcastDeviceInterfaceFilter filter;
    filter.classGuid = GuidDevinterfaceUsbDevice;
    Outcome<DeviceNotifyHandle> registered =
        RegisterDeviceNotificationW(StatusHandle, filter, DeviceNotifyServiceHandle);
    DeviceNotification = registered.value.Release();
}

// Any arrival may be the printer back on another port; the poll thread
// reopens either way, and again once the queue has moved.
void OnDeviceArrival(const void* eventData) {
    PrinterRemoved = 0;
    ReopenRequested = 1;
    if (RepointQueue(DeviceInterfaceNameOf(eventData)))
        ReopenRequested = 1;
}

// Only the printer's own removal takes the queue offline.
void OnDeviceRemoval(const void* eventData) {
    if (!CarriesPrinterIds(DeviceInterfaceNameOf(eventData)))
        return;
    SetQueueState(PrinterControlPause, PrinterStatusOffline);
    PrinterRemoved = 1;
}

void OnDeviceEvent(std::uint32_t eventType, const void* eventData) {
    if (eventType == DbtDeviceArrival)
        OnDeviceArrival(eventData);
    else if (eventType == DbtDeviceRemoveComplete)
        OnDeviceRemoval(eventData);
}

} // namespace

int ProgramEntry() {
    std::vector<ServiceTableEntry> table{{u"testserviceTamrel", StatusServiceMain}};
    Status dispatched = StartServiceCtrlDispatcherW(table);
    Trace(" MainError:%d\n", static_cast<int>(dispatched.error));
    return 0;
}

void StatusServiceMain(std::uint32_t argc, char16_t** argv) {
    (void)argc;
    (void)argv;
    OpenQueue();
    CurrentPort = GetQueuePort();
    FillServiceStatus();
    StatusHandle =
        RegisterServiceCtrlHandlerExW(u"testservice", StatusControlHandler, nullptr).value;
    RegisterForUsbDevices();
    ServiceStatus.currentState = ServiceRunning;
    SetServiceStatus(StatusHandle, ServiceStatus);
    CreateThread(StatusPollThread, nullptr);
}

std::uint32_t StatusControlHandler(std::uint32_t control, std::uint32_t eventType, void* eventData,
                                   void* context) {
    (void)context;
    switch (control) {
    case ServiceControlStop:
    case ServiceControlShutdown:
        ServiceStatus.currentState = ServiceStopped;
        break;
    case ServiceControlDeviceEvent:
        OnDeviceEvent(eventType, eventData);
        break;
    default:
        break;
    }
    // The handler answers with a system error code: NO_ERROR once reported.
    return SetServiceStatus(StatusHandle, ServiceStatus).error;
}

} // namespace statusservice
