// The contract suite's machine in the simulation: a new machine before each
// test, seeded with the facts a Windows installation holds.
#include "tests/contract/ContractEnv.h"

#include "platform/Files.h"
#include "platform/System.h"
#include "platform/sim/SimDevices.h"
#include "platform/sim/SimFiles.h"
#include "platform/sim/SimMachine.h"
#include "platform/sim/SimRegistry.h"

namespace contract {
namespace {

using namespace platform;

constexpr char16_t WorkFolderPath[] = u"C:\\windows\\temp\\vq_contract";

class CContractEnvSim final : public IContractEnv {
  public:
    void Prepare() override {
        sim::ResetMachine();
        sim::PutFile(std::u16string(WorkFolderPath) + u"\\placeholder", "");
        DeleteFileW(std::u16string(WorkFolderPath) + u"\\placeholder");
        // Every Windows machine has some device, if not a USB one.
        sim::PlugDevice({u"ROOT\\SYSTEM\\0000", {}, {}, {}, std::nullopt});
        RegistryFact fact = KnownRegistryString();
        sim::SetRegistryString(fact.key, fact.value, fact.data);
    }

    Machine Kind() const override { return Machine::Simulated; }

    std::u16string WorkFolder() const override { return WorkFolderPath; }

    std::uint16_t NativeArchitecture() const override { return ProcessorArchitectureAmd64; }
};

} // namespace

IContractEnv& Env() {
    static CContractEnvSim env;
    return env;
}

} // namespace contract
