#include "engine/EnginePaths.h"

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

bool FitsPathBuffer(std::u16string_view path) {
    return path.size() <= MaxPathLength;
}
