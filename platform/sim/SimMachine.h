// The whole simulated machine at once.
#pragma once

namespace platform::sim {

// Ends every simulated thread first (so nothing runs while the areas are
// reset), then resets services, devices, spooler, registry, files, system
// facts and output, and faults; then lays out what a Windows installation
// holds that the areas' seeded state points at (the spooler's driver
// folders, C:\Windows\Temp, the spooler's program).
void ResetMachine();

} // namespace platform::sim
