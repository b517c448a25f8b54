// Seeding and inspection of the simulated service control manager.
//
// The controlling side keeps a database of services with their config and
// state; starting and stopping take effect at once (a stop reports
// SERVICE_STOPPED, never a pending state). The "Spooler" service drives the
// simulated spooler: stopping it takes the spooler down, starting it again
// counts a restart.
//
// The service process side: StartServiceProcess runs a program entry as the
// main thread of a process the SCM started (see SimThreads.h for threads).
// Only there does StartServiceCtrlDispatcherW succeed: it starts the first
// table entry's service main on a new thread, then delivers posted controls
// to the registered handler on its own thread, one at a time, and returns
// once the service has reported SERVICE_STOPPED. Anywhere else it fails with
// ErrorFailedServiceControllerConnect, as a start from a command prompt does.
// When the entry returns, the process ends: its other threads are ended.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/Devices.h"
#include "platform/Services.h"

namespace platform::sim {

// The database holds only "Spooler", running; no service process.
void ResetServices();

void AddService(const ServiceConfig& config, std::uint32_t currentState = ServiceStopped);
struct SimServiceState {
    ServiceConfig config;
    std::uint32_t currentState = ServiceStopped;
    bool markedForDelete = false;

    friend bool operator==(const SimServiceState&, const SimServiceState&) = default;
};
std::optional<SimServiceState> FindService(std::u16string_view serviceName);
// Every registered service, in the order of their folded names.
std::vector<SimServiceState> AllServices();

// --- The service process ---------------------------------------------------

void StartServiceProcess(std::function<int()> entry);
bool ProcessEnded();
int ProcessExitCode();
// The dispatch table entry whose service main the dispatcher started.
std::u16string DispatchedService();
// The name the handler was registered under; empty before.
std::u16string HandlerName();
// The handle RegisterServiceCtrlHandlerExW gave out; null before.
ServiceStatusHandle CurrentStatusHandle();

struct StatusReport {
    ServiceStatusRecord status;
    bool accepted = false; // false when the handle was not a status handle
    std::uint64_t time = 0;
};
std::vector<StatusReport> StatusReports();

using ControlTicket = std::uint64_t;
// Queues a control for the handler; event data is copied and handed to the
// handler as a pointer to its bytes. 0 when no service process is running.
ControlTicket PostControl(std::uint32_t control, std::uint32_t eventType = 0,
                          std::vector<std::uint8_t> eventData = {});
// The handler's return value once the control was handled.
std::optional<std::uint32_t> ControlResult(ControlTicket ticket);
// Posts and runs the machine until the handler has returned.
std::optional<std::uint32_t> SendControl(std::uint32_t control, std::uint32_t eventType = 0,
                                         std::vector<std::uint8_t> eventData = {});

// DEV_BROADCAST_DEVICEINTERFACE_W as Windows lays it out: size, device type,
// reserved, class GUID, then the name's UTF-16 units with a terminator from
// byte 28.
std::vector<std::uint8_t> DeviceInterfaceRecord(const Guid& classGuid, std::u16string_view name);

} // namespace platform::sim
