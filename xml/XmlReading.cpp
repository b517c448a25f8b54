// Queries of the current element: its name, its attributes and its
// character data, scanned from the text on each call.
#include "xml/XmlDocument.h"

namespace xml {

namespace {

constexpr std::int32_t CDataOpenLength = 9;  // "<![CDATA["
constexpr std::int32_t CDataCloseLength = 3; // "]]>"

std::u16string_view Range(std::u16string_view text, std::int32_t from, std::int32_t to) {
    return text.substr(static_cast<std::size_t>(from), static_cast<std::size_t>(to - from));
}

// The text between "<![CDATA[" and "]]>"; only the "C" of the opening was
// checked, so a shorter section has none.
std::u16string_view CDataBody(std::u16string_view text, const NodeScan& node) {
    const std::int32_t from = node.start + CDataOpenLength;
    const std::int32_t to = node.start + node.length - CDataCloseLength;
    return from < to ? Range(text, from, to) : std::u16string_view();
}

} // namespace

std::u16string XmlDocument::ReadTagName() const {
    if (cursorPos == 0 || !IsRecord(cursorPos))
        return {};
    const ElementRecord& record = index[cursorPos];
    return std::u16string(ScanTagName(text, record.start, record.start + record.StartTagLength()));
}

std::u16string XmlDocument::ReadAttribute(std::int32_t position, std::u16string_view name) const {
    if (!IsRecord(position) || cursorPos == 0 || name.empty())
        return {};
    const ElementRecord& record = index[position];
    const AttributeLocation location = LocateAttribute(
        text, record.start + 1, record.start + record.StartTagLength(), name, IgnoreCase());
    if (!location.found)
        return {};
    if (!location.hasValue)
        return DecodeReferences(Range(text, location.nameStart, location.nameEnd));
    return DecodeReferences(Range(text, location.valueStart, location.valueEnd));
}

std::u16string XmlDocument::ReadContent(std::int32_t position) const {
    if (!IsRecord(position))
        return {};
    const ElementRecord& record = index[position];
    if (record.length == record.StartTagLength() || record.firstChild != 0)
        return {};
    const std::int32_t from = record.start + record.StartTagLength();
    const std::int32_t to = record.start + record.length - record.EndTagLength();
    if (from >= to)
        return {};
    const std::u16string_view content = Range(text, from, to);
    if (content.find(u'<') == std::u16string_view::npos)
        return DecodeReferences(content);

    std::u16string out;
    out.reserve(content.size());
    TokenScanner scanner;
    scanner.text = std::u16string_view(text).substr(0, static_cast<std::size_t>(to));
    scanner.scanPos = from;
    scanner.flags = flags;
    NodeScan node;
    for (NodeKind kind; (kind = NextNode(scanner, node)) != NodeEndOfText;) {
        if (kind == NodeText)
            DecodeReferencesInto(Range(text, node.start, node.start + node.length), out);
        else if (kind == NodeCData)
            out += CDataBody(text, node);
    }
    return out;
}

} // namespace xml
