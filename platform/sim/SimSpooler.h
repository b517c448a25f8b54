// Seeding and inspection of the simulated print spooler: queues with their
// records, pause state and status word, ports, drivers and driver folders
// per environment, who may open a queue with which access, the default
// printer, the spooler service's restarts and a record of the calls made.
//
// A queue keeps its pause state apart from the status word that
// PRINTER_CONTROL_SET_STATUS sets, as Windows does; GetPrinterW reports the
// status word with PRINTER_STATUS_PAUSED added while the queue is paused.
// While the "Spooler" service is stopped every call fails with
// RpcServerUnavailable, and handles opened before a restart are stale
// (ErrorInvalidHandle) afterwards.
#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/Spooler.h"

namespace platform::sim {

constexpr WinError ErrorUnknownPort = 1796;
constexpr WinError RpcServerUnavailable = 1722;

// No queues or drivers; the local ports LPT1: to LPT3:, COM1: to COM4: and
// FILE:; driver folders for the three environments under
// C:\Windows\System32\spool\drivers; running; no default printer. An empty
// environment names the machine's own, by its native processor.
void ResetSpooler();

void AddQueue(const PrinterInfo2& info);
// Opens asking for any access bit outside grantable fail with ErrorAccessDenied.
void SetQueueAccess(std::u16string_view printerName, std::uint32_t grantable);

struct SimQueueState {
    std::u16string portName;
    bool paused = false;
    std::uint32_t statusWord = 0; // as last set, without the paused bit
};
std::optional<SimQueueState> QueueState(std::u16string_view printerName);
// The record as GetPrinterW reports it.
std::optional<PrinterInfo2> QueueRecord(std::u16string_view printerName);

// Every queue as GetPrinterW reports it, in the order of their folded names.
std::vector<PrinterInfo2> AllQueues();

void AddPort(const PortInfo2& port);
std::vector<PortInfo2> AllPorts();
void AddDriver(const DriverInfo3& driver); // under driver.environment
std::vector<DriverInfo3> Drivers(std::u16string_view environment);
// Every environment's drivers, by the environment's folded name.
std::map<std::u16string, std::vector<DriverInfo3>> AllDrivers();
void SetDriverDirectory(std::u16string_view environment, std::u16string directory);
std::u16string DefaultPrinter();

// Driven by the simulated service control manager's "Spooler" service.
void SetSpoolerRunning(bool running);
bool SpoolerRunning();
// How many times the spooler started again after being stopped.
std::uint32_t SpoolerRestarts();

struct SpoolerCall {
    std::string operation; // the Win32 name
    std::u16string printer;
    std::uint32_t level = 0;
    std::uint32_t command = 0;
    std::uint32_t statusWord = 0;
    std::u16string portName; // level-2 SetPrinterW
    WinError result = ErrorSuccess;
    std::uint64_t time = 0; // virtual milliseconds
};
std::vector<SpoolerCall> SpoolerCalls();
void ClearSpoolerCalls();

} // namespace platform::sim
