// Every change the service makes to its print queue. Each operation opens
// the queue afresh and closes it at its end.
#pragma once

#include <cstdint>
#include <string>

#include "platform/Spooler.h"

namespace statusservice {

// Opened with all access and its record readable; invalid otherwise (traced).
platform::PrinterHandle OpenQueue();
// Empty when the queue cannot be opened or read.
std::u16string GetQueuePort();
// Moves the queue to the port and restarts the spooler so the move takes.
void SetQueuePort(std::u16string portName);
// control is PrinterControlPause or PrinterControlResume.
void SetQueueState(std::uint32_t control, std::uint32_t statusWord);

} // namespace statusservice
