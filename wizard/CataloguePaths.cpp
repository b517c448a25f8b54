#include "wizard/CataloguePaths.h"

namespace {

// The length of the root that a cut never removes: "\\?\C:\", "C:\", "C:" or
// "\"; 0 when the path has none of these.
std::size_t RootLength(std::u16string_view path) {
    std::size_t prefix = path.starts_with(u"\\\\?\\") ? 4 : 0;
    std::u16string_view rest = path.substr(prefix);
    if (rest.size() >= 2 && rest[1] == u':')
        return prefix + (rest.size() >= 3 && rest[2] == u'\\' ? 3 : 2);
    if (prefix == 0 && rest.starts_with(u'\\') && !rest.starts_with(u"\\\\"))
        return 1;
    return prefix;
}

} // namespace

bool RemoveFileSpec(std::u16string& path) {
    const std::size_t root = RootLength(path);
    const std::size_t last = path.find_last_of(u'\\');
    const std::size_t keep = (last == std::u16string::npos || last < root) ? root : last;
    if (keep >= path.size())
        return false;
    path.resize(keep);
    return true;
}

std::u16string JoinPath(std::u16string_view folder, std::u16string_view text) {
    std::u16string path;
    path.reserve(folder.size() + 1 + text.size());
    path += folder;
    path += u'\\';
    path += text;
    return path;
}
