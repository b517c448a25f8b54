// Filling a document: every fill replaces the text and rebuilds the index.
#include "xml/XmlDocument.h"

#include <functional>
#include <limits>
#include <new>

namespace xml {

bool XmlDocument::Overlaps(std::u16string_view piece) const {
    const std::less<const char16_t*> before;
    return !before(piece.data(), text.data()) && before(piece.data(), text.data() + text.size());
}

bool XmlDocument::AssignText(std::optional<std::u16string_view> newText) {
    resultLog.clear();
    try {
        if (!newText) {
            text.clear();
            index.Free();
        } else if (newText->size() >
                   static_cast<std::size_t>(std::numeric_limits<std::int32_t>::max())) {
            // Offsets are 32-bit; a longer text cannot be indexed.
            Clear();
            return false;
        } else if (Overlaps(*newText)) {
            text = std::u16string(*newText);
        } else {
            // Reuses the buffer of the previous text.
            text.assign(*newText);
        }
        return Parse();
    } catch (const std::bad_alloc&) {
        Clear();
        return false;
    }
}

void XmlDocument::Clear() {
    text = std::u16string();
    index.Free();
    recordCount = 0;
    ResetCursor();
}

} // namespace xml
