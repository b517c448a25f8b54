#include "engine/EnginePaths.h"

#include <vector>

#include "wizard/PrinterCatalogue.h"

std::u16string_view FileNamePart(std::u16string_view path) {
    std::size_t separator = path.find_last_of(u"\\/");
    return separator == std::u16string_view::npos ? path : path.substr(separator + 1);
}

std::u16string WithBackslash(std::u16string_view folder) {
    std::u16string result(folder);
    if (!result.ends_with(u'\\'))
        result += u'\\';
    return result;
}

bool EqualsIgnoringAsciiCase(std::u16string_view a, std::u16string_view b) {
    auto fold = [](char16_t c) {
        return (c >= u'a' && c <= u'z') ? static_cast<char16_t>(c - u'a' + u'A') : c;
    };
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (fold(a[i]) != fold(b[i]))
            return false;
    return true;
}

bool FitsPathBuffer(std::u16string_view path) {
    return path.size() <= MaxPathLength;
}

bool IsRootFolder(std::u16string_view folder) {
    // Names that belong to the root itself: none after a drive, the server
    // and the share after "\\" or "\\?\UNC\".
    std::size_t rootNames = 0;
    if (folder.starts_with(u"\\\\?\\UNC\\")) {
        folder.remove_prefix(8);
        rootNames = 2;
    } else if (folder.starts_with(u"\\\\?\\")) {
        folder.remove_prefix(4);
    }
    if (rootNames == 0 && folder.size() >= 2 && folder[1] == u':')
        folder.remove_prefix(2);
    else if (folder.starts_with(u"\\\\") || folder.starts_with(u"//"))
        rootNames = 2;

    std::vector<std::u16string_view> names;
    while (!folder.empty()) {
        std::size_t end = folder.find_first_of(u"\\/");
        std::u16string_view name = folder.substr(0, end);
        folder.remove_prefix(end == std::u16string_view::npos ? folder.size() : end + 1);
        if (folder.empty() && name != u"." && name != u"..")
            while (!name.empty() && (name.back() == u'.' || name.back() == u' '))
                name.remove_suffix(1);
        if (name == u"..") {
            if (names.size() > rootNames)
                names.pop_back();
        } else if (!name.empty() && name != u".") {
            names.push_back(name);
        }
    }
    return names.size() <= rootNames;
}
