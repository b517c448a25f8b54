// The simulated machine's command line: the host's arguments, read as UTF-8.
#include "platform/CommandLine.h"
#include "platform/sim/SimUtf8Decoder.h"

namespace platform {

std::vector<std::u16string> GetCommandLineArguments(int argc, char** argv) {
    std::vector<std::u16string> arguments;
    for (int i = 0; i < argc; ++i)
        arguments.push_back(sim::DecodeUtf8Text(argv[i]));
    return arguments;
}

} // namespace platform
