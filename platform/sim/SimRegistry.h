// Seeding and inspection of the simulated registry: keys under
// HKEY_LOCAL_MACHINE with string values, names matched without regard to
// case. Setting a value creates its key and the keys above it.
#pragma once

#include <map>
#include <string>
#include <string_view>

namespace platform::sim {

void ResetRegistry();
void SetRegistryString(std::string_view keyPath, std::string_view valueName,
                       std::string_view value);
void AddRegistryKey(std::string_view keyPath);
void DeleteRegistryKey(std::string_view keyPath); // with its sub-keys
bool RegistryKeyExists(std::string_view keyPath);
// Every key by its folded path, with its values by folded name.
std::map<std::string, std::map<std::string, std::string>> RegistryContents();

} // namespace platform::sim
