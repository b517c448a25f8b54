// The whole simulated machine at once.
#pragma once

namespace platform::sim {

// Ends every simulated thread first (so nothing runs while the areas are
// reset), then resets services, devices, spooler, registry, files, system
// facts and output, and faults.
void ResetMachine();

} // namespace platform::sim
