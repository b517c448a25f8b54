// The contract suite's machine in the simulation: a new machine before each
// test, seeded with the facts a Windows installation holds.
#include "tests/contract/ContractEnv.h"

#include "platform/Files.h"
#include "platform/System.h"
#include "platform/sim/SimFaults.h"
#include "platform/sim/SimFiles.h"
#include "platform/sim/SimRegistry.h"
#include "platform/sim/SimServices.h"
#include "platform/sim/SimSpooler.h"
#include "platform/sim/SimSystem.h"

namespace contract {
namespace {

using namespace platform;

constexpr char16_t WorkFolderPath[] = u"C:\\windows\\temp\\vq_contract";

class CContractEnvSim final : public IContractEnv {
  public:
    void Prepare() override {
        sim::ClearFaults();
        sim::ResetFiles();
        sim::ResetSystem();
        sim::ResetRegistry();
        sim::ResetServices();
        sim::ResetSpooler();
        sim::PutFile(std::u16string(WorkFolderPath) + u"\\placeholder", "");
        DeleteFileW(std::u16string(WorkFolderPath) + u"\\placeholder");
        RegistryFact fact = KnownRegistryString();
        sim::PutRegistryString(fact.key, fact.value, fact.data);
    }

    Machine Kind() const override { return Machine::Simulated; }

    std::u16string WorkFolder() const override { return WorkFolderPath; }

    RegistryFact KnownRegistryString() const override {
        return {"SYSTEM\\CurrentControlSet\\Control\\Session Manager\\Environment", "OS",
                "Windows_NT"};
    }

    std::uint16_t NativeArchitecture() const override { return ProcessorArchitectureAmd64; }
};

} // namespace

IContractEnv& Env() {
    static CContractEnvSim env;
    return env;
}

} // namespace contract
