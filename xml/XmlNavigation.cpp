// The cursor: one level at a time along the sibling links of the index.
#include "xml/XmlDocument.h"

namespace xml {

bool XmlDocument::SeekElement(std::u16string_view name) {
    if (!index.HasPages())
        return false;
    if (!IsValidPath(name) || (!name.empty() && name[0] == u'/'))
        return false;
    std::int32_t candidate =
        cursorPos != 0 ? index[cursorPos].nextSibling : index[levelPos].firstChild;
    for (; candidate != 0; candidate = index[candidate].nextSibling) {
        const ElementRecord& record = index[candidate];
        if (name.empty() ||
            NameMatches(ScanTagName(text, record.start, record.start + record.StartTagLength()),
                        name, IgnoreCase())) {
            cursorPos = candidate;
            levelPos = record.parent;
            returnPos = 0;
            return true;
        }
    }
    return false;
}

bool XmlDocument::EnterElement() {
    if (cursorPos == 0)
        return false;
    levelPos = cursorPos;
    cursorPos = returnPos;
    returnPos = 0;
    return true;
}

bool XmlDocument::LeaveElement() {
    if (levelPos == 0)
        return false;
    returnPos = cursorPos;
    cursorPos = levelPos;
    levelPos = index[cursorPos].parent;
    return true;
}

void XmlDocument::RewindLevel() {
    cursorPos = 0;
    returnPos = 0;
}

} // namespace xml
