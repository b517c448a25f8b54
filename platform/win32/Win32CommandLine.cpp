// The wide command line, split as Windows splits it; the narrow argv that the
// C runtime hands main has already lost what the ANSI code page cannot hold.
#include <windows.h>

#include <shellapi.h>

#include "platform/CommandLine.h"

namespace platform {

std::vector<std::u16string> GetCommandLineArguments(int argc, char** argv) {
    (void)argc;
    (void)argv;
    int count = 0;
    wchar_t** wide = ::CommandLineToArgvW(::GetCommandLineW(), &count);
    std::vector<std::u16string> arguments;
    if (!wide)
        return arguments;
    for (int i = 0; i < count; ++i) {
        std::wstring_view argument(wide[i]);
        arguments.emplace_back(argument.begin(), argument.end());
    }
    ::LocalFree(wide);
    return arguments;
}

} // namespace platform
