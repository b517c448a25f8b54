// The paths the catalogue loader builds from the program's own path.
#pragma once

#include <string>
#include <string_view>

// Cuts the last component off a path as PathRemoveFileSpecW does: a drive
// root ("C:\") or a leading backslash keeps its backslash, no other final
// backslash stays. False when there was nothing to cut.
bool RemoveFileSpec(std::u16string& path);

// The folder, one backslash, the text: "%s\%s", nothing trimmed.
std::u16string JoinPath(std::u16string_view folder, std::u16string_view text);
