#include "platform/sim/SimRegistry.h"

#include <map>
#include <mutex>

#include "platform/Registry.h"
#include "platform/sim/SimFaults.h"
#include "platform/sim/SimText.h"

namespace platform::sim {
namespace {

struct RegistryState {
    std::mutex lock;
    // By folded key path; values by folded name.
    std::map<std::string, std::map<std::string, std::string>> keys;
};

RegistryState& State() {
    static RegistryState* state = new RegistryState;
    return *state;
}

// Folded, without leading or trailing separators.
std::string KeyOf(std::string_view path) {
    while (!path.empty() && path.front() == '\\')
        path.remove_prefix(1);
    while (!path.empty() && path.back() == '\\')
        path.remove_suffix(1);
    return FoldedName<char>(path);
}

void AddKeyLocked(const std::string& key) {
    for (std::size_t at = key.find('\\'); at != std::string::npos; at = key.find('\\', at + 1))
        State().keys.try_emplace(key.substr(0, at));
    State().keys.try_emplace(key);
}

struct KeyObject {
    std::string key;
};

} // namespace

void ResetRegistry() {
    std::lock_guard guard(State().lock);
    State().keys.clear();
}

void SetRegistryString(std::string_view keyPath, std::string_view valueName,
                       std::string_view value) {
    std::lock_guard guard(State().lock);
    std::string key = KeyOf(keyPath);
    AddKeyLocked(key);
    State().keys[key][FoldedName<char>(valueName)] = std::string(value);
}

void AddRegistryKey(std::string_view keyPath) {
    std::lock_guard guard(State().lock);
    AddKeyLocked(KeyOf(keyPath));
}

void DeleteRegistryKey(std::string_view keyPath) {
    std::lock_guard guard(State().lock);
    std::string key = KeyOf(keyPath);
    std::erase_if(State().keys, [&](const auto& entry) {
        return entry.first == key || entry.first.starts_with(key + "\\");
    });
}

bool RegistryKeyExists(std::string_view keyPath) {
    std::lock_guard guard(State().lock);
    return State().keys.count(KeyOf(keyPath)) != 0;
}

std::map<std::string, std::map<std::string, std::string>> RegistryContents() {
    std::lock_guard guard(State().lock);
    return State().keys;
}

} // namespace platform::sim

namespace platform {

using sim::State;

Status RegKeyTraits::Close(RawHandle raw) {
    delete static_cast<sim::KeyObject*>(raw);
    return Status{sim::TakeFault("RegCloseKey")};
}

Outcome<RegKey> RegOpenKeyExA(std::string_view subKey, std::uint32_t samDesired) {
    (void)samDesired;
    if (WinError e = sim::TakeFault("RegOpenKeyExA"))
        return Outcome<RegKey>::Failure(e);
    std::lock_guard guard(State().lock);
    std::string key = sim::KeyOf(subKey);
    if (!State().keys.count(key))
        return Outcome<RegKey>::Failure(ErrorFileNotFound);
    return RegKey(new sim::KeyObject{key});
}

Outcome<std::string> RegQueryValueExA(const RegKey& key, std::string_view valueName,
                                      std::uint32_t bufferSize) {
    if (WinError e = sim::TakeFault("RegQueryValueExA"))
        return Outcome<std::string>::Failure(e);
    if (!key)
        return Outcome<std::string>::Failure(ErrorInvalidHandle);
    std::lock_guard guard(State().lock);
    auto k = State().keys.find(static_cast<sim::KeyObject*>(key.Get())->key);
    if (k == State().keys.end())
        return Outcome<std::string>::Failure(ErrorFileNotFound);
    auto v = k->second.find(sim::FoldedName<char>(valueName));
    if (v == k->second.end())
        return Outcome<std::string>::Failure(ErrorFileNotFound);
    // The stored string includes its terminator.
    if (v->second.size() + 1 > bufferSize)
        return Outcome<std::string>::Failure(ErrorMoreData);
    return v->second;
}

} // namespace platform
