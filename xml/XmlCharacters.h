// Character classes shared by the scanners of the XML document.
#pragma once

namespace xml {

constexpr bool IsXmlSpace(char16_t c) {
    return c == u' ' || c == u'\t' || c == u'\n' || c == u'\r';
}

constexpr bool IsQuote(char16_t c) {
    return c == u'"' || c == u'\'';
}

constexpr char16_t FoldAsciiUpper(char16_t c) {
    return (c >= u'a' && c <= u'z') ? static_cast<char16_t>(c - (u'a' - u'A')) : c;
}

constexpr char16_t FoldAsciiLower(char16_t c) {
    return (c >= u'A' && c <= u'Z') ? static_cast<char16_t>(c + (u'a' - u'A')) : c;
}

// Where a name given as a path step ends: the rest is a further step, a
// predicate or an attribute test.
constexpr bool EndsPathName(char16_t c) {
    return c == u' ' || c == u'=' || c == u'/' || c == u'[' || c == u']';
}

// Where a tag name (or a word of a declaration's content) ends.
constexpr bool EndsTagName(char16_t c) {
    switch (c) {
    case u' ':
    case u'\t':
    case u'\n':
    case u'\r':
    case u'<':
    case u'>':
    case u'=':
    case u'\\':
    case u'/':
    case u'?':
    case u'!':
    case u'"':
    case u'\'':
    case u';':
        return true;
    default:
        return false;
    }
}

} // namespace xml
