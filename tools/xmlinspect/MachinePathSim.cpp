// Natively the simulated machine's drive C is made the host's root folder, so
// the host path /a/b reads as C:\a\b and missing files fail as on Windows.
#include "tools/xmlinspect/MachinePath.h"

#include <filesystem>

#include "platform/System.h"
#include "platform/sim/SimFiles.h"
#include "platform/sim/SimUnicode.h"

namespace fs = std::filesystem;

namespace {

fs::path DriveC() {
    return platform::sim::FileRoot() / "C";
}

} // namespace

CMachinePaths::CMachinePaths() {
    platform::sim::ResetFiles();
    std::error_code ec;
    fs::remove(DriveC(), ec);
    fs::create_directory_symlink("/", DriveC(), ec);
}

CMachinePaths::~CMachinePaths() {
    std::error_code ec;
    // The link goes first, so nothing can reach through it into the host.
    fs::remove(DriveC(), ec);
    fs::remove_all(platform::sim::FileRoot(), ec);
}

std::u16string CMachinePaths::PathOf(std::u16string_view argument) const {
    std::error_code ec;
    fs::path host = fs::absolute(fs::path(platform::sim::ToUtf8(argument)), ec);
    auto wide = platform::MultiByteToWideChar(platform::CpUtf8, host.string());
    std::u16string path = u"C:";
    for (char16_t c : wide.value)
        path.push_back(c == u'/' ? u'\\' : c);
    return path;
}
