// Path pieces the engine builds every destination from.
#pragma once

#include <string>
#include <string_view>

// What a model's status service program is called after its model name.
constexpr std::u16string_view ServiceProgramSuffix = u"_Statuskeeper.exe";

// The file-name part of a path: the text after its last backslash or slash.
std::u16string_view FileNamePart(std::u16string_view path);

// The folder with one backslash ensured at its end.
std::u16string WithBackslash(std::u16string_view folder);

// File names compared as Windows compares the ASCII letters of them: without
// regard to case.
bool EqualsIgnoringAsciiCase(std::u16string_view a, std::u16string_view b);

// Whether a path fits the 260-character buffers, terminator included.
bool FitsPathBuffer(std::u16string_view path);

// Whether a folder path names the root of a drive or of a network share
// (C:\ or \\server\share), with "." and ".." resolved and the last name's
// trailing periods and blanks dropped, as Windows resolves it.
bool IsRootFolder(std::u16string_view folder);
