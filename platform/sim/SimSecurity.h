// Seeding and inspection of the simulated file security. An object whose
// list was never set carries what a folder under C:\ inherits on Windows:
// SYSTEM and Administrators full control, Users read and execute,
// Authenticated Users modify, all inherited.
#pragma once

#include <filesystem>
#include <map>

#include "platform/Security.h"

namespace platform::sim {

void ResetSecurity();
FileDacl InheritedFileDacl();
// A deleted file takes its list with it.
void ForgetFileSecurity(const std::filesystem::path& host);
// The lists set on files and folders, by host path.
std::map<std::filesystem::path, FileDacl> AllFileSecurity();

} // namespace platform::sim
