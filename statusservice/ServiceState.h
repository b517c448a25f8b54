// The service's process-wide state, shared by the control handler and the
// poll thread.
#pragma once

#include <array>
#include <atomic>
#include <cstdint>
#include <string>

#include "platform/Files.h"
#include "platform/Services.h"

namespace statusservice {

// Reported to the service control manager after start-up and every control.
extern platform::ServiceStatusRecord ServiceStatus;
extern platform::ServiceStatusHandle StatusHandle;
// Held for the life of the process; never unregistered.
extern platform::RawHandle DeviceNotification;
// The queue's port as the spooler last reported it; only the dispatcher
// thread writes it once the service runs.
extern std::u16string CurrentPort;
// The poll thread's own: the printer device and its last full report.
extern platform::FileHandle DeviceHandle;
extern std::array<std::uint8_t, 5> StatusReport;
// Set by the handler, read by the poll thread without a lock: atomic so each
// change is seen.
extern std::atomic<std::uint8_t> ReopenRequested;
extern std::atomic<std::uint8_t> PrinterRemoved;

// Back to the state at process start, releasing what is held.
void ResetServiceState();

} // namespace statusservice
