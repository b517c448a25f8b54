// The installation engine behind the frame's engine slots.
#pragma once

#include "wizard/IInstallEngine.h"

// Makes the engine for the loaded catalogue and the machine's processor.
std::unique_ptr<IInstallEngine> MakeInstallEngine(const PrinterCatalogue& catalogue,
                                                  std::uint16_t processorArchitecture);
