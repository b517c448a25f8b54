// Seeding and inspection of the simulated machine's files. Files are real
// files under a root folder on the host, one sub-folder per drive letter
// ("C:\Setup\config.xml" is <root>/C/Setup/config.xml), so fixtures are plain
// files. Names are matched without regard to ASCII case, as on Windows.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>

namespace platform::sim {

// A new, empty root folder for the machine's files; the previous one is
// removed.
void ResetFiles();
const std::filesystem::path& FileRoot();

// The host path of a Windows path: the existing entry if one matches without
// regard to case, else the path as written. Empty for a path that names no
// drive.
std::filesystem::path HostPath(std::u16string_view windowsPath);

// Writes a file (making its folders) with the given bytes.
void PutFile(std::u16string_view windowsPath, std::string_view bytes);
// Makes a junction to an existing folder, or a symbolic link to an existing
// file (a host symbolic link either way): it carries
// FILE_ATTRIBUTE_REPARSE_POINT and opens the target.
void PutReparsePoint(std::u16string_view windowsPath, std::u16string_view targetWindowsPath);
// The bytes of a file; empty when it does not exist.
std::string FileBytes(std::u16string_view windowsPath);

} // namespace platform::sim
