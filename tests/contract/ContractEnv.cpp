#include "tests/contract/ContractEnv.h"

namespace contract {

RegistryFact KnownRegistryString() {
    return {"SYSTEM\\CurrentControlSet\\Control\\Session Manager\\Environment", "OS", "Windows_NT"};
}

const char* MachineName(Machine kind) {
    switch (kind) {
    case Machine::Simulated:
        return "simulated machine";
    case Machine::Wine:
        return "Wine";
    case Machine::Windows:
        return "Windows";
    }
    return "unknown machine";
}

} // namespace contract
