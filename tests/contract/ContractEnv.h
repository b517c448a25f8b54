// What the contract suite needs from the machine it runs on, beyond the seam:
// a folder to work in and a few facts every such machine holds. One
// implementation prepares the simulated machine, the other a Windows (or
// Wine) machine.
#pragma once

#include <cstdint>
#include <string>

namespace contract {

enum class Machine { Simulated, Wine, Windows };

// A string value under HKEY_LOCAL_MACHINE and its contents.
struct RegistryFact {
    std::string key;
    std::string value;
    std::string data;
};

class IContractEnv {
  public:
    virtual ~IContractEnv() = default;

    // Brings the machine to the state every test starts from.
    virtual void Prepare() = 0;
    virtual Machine Kind() const = 0;
    // An existing, empty folder the test may fill; no trailing backslash.
    virtual std::u16string WorkFolder() const = 0;
    virtual std::uint16_t NativeArchitecture() const = 0;
};

IContractEnv& Env();

// A string value every Windows machine holds, and the simulated one too.
RegistryFact KnownRegistryString();

const char* MachineName(Machine kind);

} // namespace contract
