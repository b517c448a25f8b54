// Failure injection for the simulated machine: any operation, named after
// the Win32 call it stands for, can be made to fail with a given error code,
// once or always.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "platform/Error.h"

namespace platform::sim {

// A name that no simulated operation takes is refused with
// std::invalid_argument, which fails the calling test at once.

// The next call of the operation after `skip` successful ones fails with error.
void FailOnce(std::string_view operation, WinError error, std::uint32_t skip = 0);
// Every call of the operation fails with error until the faults are cleared.
void FailAlways(std::string_view operation, WinError error);
void ClearFaults();

// Called on entry by every simulated operation: the error it must fail
// with, or ErrorSuccess. Counts the call either way.
WinError TakeFault(std::string_view operation);
// Whether a simulated operation takes its faults under this name.
bool IsSimulatedOperation(std::string_view operation);

// How many times the operation was called since the faults were cleared.
std::uint32_t CallCount(std::string_view operation);

} // namespace platform::sim
