#include "platform/sim/SimMachine.h"

#include "platform/sim/SimDevices.h"
#include "platform/sim/SimFaults.h"
#include "platform/sim/SimFiles.h"
#include "platform/sim/SimRegistry.h"
#include "platform/sim/SimServices.h"
#include "platform/sim/SimSpooler.h"
#include "platform/sim/SimSystem.h"
#include "platform/sim/SimThreads.h"

namespace platform::sim {

void ResetMachine() {
    ResetThreads();
    ResetServices();
    ResetDevices();
    ResetSpooler();
    ResetRegistry();
    ResetFiles();
    ResetSystem();
    ClearFaults();
}

} // namespace platform::sim
