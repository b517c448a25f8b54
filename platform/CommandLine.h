// The program's command-line arguments as UTF-16, whatever the platform
// hands over: Windows' wide command line, or UTF-8 bytes elsewhere.
#pragma once

#include <string>
#include <vector>

namespace platform {

// Every argument, the program's name first.
std::vector<std::u16string> GetCommandLineArguments(int argc, char** argv);

} // namespace platform
