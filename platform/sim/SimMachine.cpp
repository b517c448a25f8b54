#include "platform/sim/SimMachine.h"

#include <filesystem>

#include "platform/sim/SimDesktop.h"
#include "platform/sim/SimDevices.h"
#include "platform/sim/SimFaults.h"
#include "platform/sim/SimFiles.h"
#include "platform/sim/SimRegistry.h"
#include "platform/sim/SimSecurity.h"
#include "platform/sim/SimServices.h"
#include "platform/sim/SimSpooler.h"
#include "platform/sim/SimSystem.h"
#include "platform/sim/SimThreads.h"

namespace platform::sim {
namespace {

// The folders and files of a Windows installation that the other areas'
// seeded state points at.
void SeedInstallation() {
    for (const char16_t* folder :
         {u"C:\\Windows\\System32\\spool\\drivers\\x64\\",
          u"C:\\Windows\\System32\\spool\\drivers\\W32X86\\",
          u"C:\\Windows\\System32\\spool\\drivers\\IA64\\", u"C:\\Windows\\Temp\\"})
        std::filesystem::create_directories(HostPath(folder));
    PutFile(u"C:\\Windows\\System32\\spoolsv.exe", "");
}

} // namespace

void ResetMachine() {
    ResetThreads();
    ResetServices();
    ResetDevices();
    ResetSpooler();
    ResetRegistry();
    ResetFiles();
    ResetSecurity();
    ResetSystem();
    ResetDesktop();
    ClearFaults();
    SeedInstallation();
}

} // namespace platform::sim
