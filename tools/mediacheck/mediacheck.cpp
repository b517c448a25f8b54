// mediacheck [--json] MEDIUM-FOLDER
//
// Tells the author of an installation medium what Setup will make of it:
// loads the medium's config.xml with Setup's own catalogue walk, prints every
// reason for which Setup would refuse the medium (and the one at which it
// would stop), warns of what Setup accepts but will go wrong later, and sums
// up the models.
#include <cstdio>
#include <optional>
#include <string>
#include <vector>

#include "platform/CommandLine.h"
#include "tools/mediacheck/MediumCheck.h"
#include "tools/mediacheck/ReportOutput.h"
#include "tools/xmlinspect/MachinePath.h"

namespace {

struct Options {
    bool json = false;
    std::u16string folder;
};

std::optional<Options> ParseArguments(const std::vector<std::u16string>& arguments) {
    Options options;
    bool haveFolder = false;
    for (std::size_t i = 1; i < arguments.size(); ++i) {
        const std::u16string& argument = arguments[i];
        if (argument == u"--json") {
            options.json = true;
        } else if (argument.starts_with(u"--") || haveFolder) {
            return std::nullopt;
        } else {
            options.folder = argument;
            haveFolder = true;
        }
    }
    if (!haveFolder || options.folder.empty())
        return std::nullopt;
    return options;
}

} // namespace

int main(int argc, char** argv) {
    auto options = ParseArguments(platform::GetCommandLineArguments(argc, argv));
    if (!options) {
        std::fputs("usage: mediacheck [--json] MEDIUM-FOLDER\n", stderr);
        return ExitUsage;
    }
    CMachinePaths machine;
    MediumReport report = CheckMedium(machine.PathOf(options->folder));
    std::string text = options->json ? ReportJson(report) : ReportText(report);
    std::fwrite(text.data(), 1, text.size(), stdout);
    return ExitCodeOf(report);
}
