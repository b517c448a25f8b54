// Scanning inside a start tag: its name and its attributes, straight from the
// text.
#include "xml/XmlCharacters.h"
#include "xml/XmlDocument.h"

namespace xml {

namespace {

struct AttributeToken {
    std::int32_t start = 0;
    std::int32_t end = 0;      // end of the token's own characters
    std::int32_t outerEnd = 0; // after its closing quotation mark, if any
    bool quoted = false;
    bool closed = false;
};

// Cuts a start tag into names, "=", values and the closing characters.
class CAttributeTokens {
  public:
    CAttributeTokens(std::u16string_view text, std::int32_t from, std::int32_t end)
        : m_text(text.data()), m_pos(from), m_end(end) {}

    bool Next(AttributeToken& token, bool valueWanted) {
        while (m_pos < m_end && IsXmlSpace(m_text[m_pos]))
            ++m_pos;
        if (m_pos >= m_end)
            return false;
        token = AttributeToken{};
        token.start = m_pos;
        const char16_t c = m_text[m_pos];
        if (IsQuote(c)) {
            Quoted(token, c);
        } else if (valueWanted) {
            while (m_pos < m_end && !IsXmlSpace(m_text[m_pos]) && m_text[m_pos] != u'>')
                ++m_pos;
            token.end = token.outerEnd = m_pos;
        } else if (EndsAttributeName(c)) {
            token.end = token.outerEnd = ++m_pos;
        } else {
            while (m_pos < m_end && !EndsAttributeName(m_text[m_pos]))
                ++m_pos;
            token.end = token.outerEnd = m_pos;
        }
        return true;
    }

    char16_t At(std::int32_t offset) const { return m_text[offset]; }

  private:
    static bool EndsAttributeName(char16_t c) {
        return c == u'=' || IsXmlSpace(c) || c == u'>' || c == u'/' || c == u'?';
    }

    void Quoted(AttributeToken& token, char16_t quote) {
        token.quoted = true;
        token.start = ++m_pos;
        while (m_pos < m_end && m_text[m_pos] != quote)
            ++m_pos;
        token.end = m_pos;
        token.closed = m_pos < m_end;
        if (token.closed)
            ++m_pos;
        token.outerEnd = m_pos;
    }

    const char16_t* m_text;
    std::int32_t m_pos;
    std::int32_t m_end;
};

bool IsSingle(const CAttributeTokens& tokens, const AttributeToken& token, char16_t c) {
    return !token.quoted && token.end - token.start == 1 && tokens.At(token.start) == c;
}

} // namespace

std::u16string_view ScanTagName(std::u16string_view text, std::int32_t start, std::int32_t tagEnd) {
    std::int32_t pos = start + 1;
    while (pos < tagEnd && IsXmlSpace(text[static_cast<std::size_t>(pos)]))
        ++pos;
    if (pos >= tagEnd)
        return {};
    const std::int32_t first = pos;
    if (!EndsTagName(text[static_cast<std::size_t>(pos)])) {
        while (pos < tagEnd && !EndsTagName(text[static_cast<std::size_t>(pos)]))
            ++pos;
    } else {
        ++pos;
    }
    return text.substr(static_cast<std::size_t>(first), static_cast<std::size_t>(pos - first));
}

AttributeLocation LocateAttribute(std::u16string_view text, std::int32_t from, std::int32_t end,
                                  std::u16string_view name, bool ignoreCase) {
    CAttributeTokens tokens(text, from, end);
    AttributeLocation location;
    location.searchEnd = from;
    enum { Searching, NameFound, ValueDue } state = Searching;
    bool tagNameSeen = false;
    bool valueWanted = false;
    AttributeToken token;
    while (tokens.Next(token, valueWanted)) {
        const bool isValue = valueWanted;
        valueWanted = false;
        if (state == ValueDue) {
            location.hasValue = true;
            location.quoted = token.quoted;
            location.closed = token.closed;
            location.valueStart = token.start;
            location.valueEnd = token.end;
            return location;
        }
        if (state == NameFound) {
            if (IsSingle(tokens, token, u'=')) {
                state = ValueDue;
                valueWanted = true;
                continue;
            }
            return location;
        }
        if (!token.quoted && !isValue) {
            if (!tagNameSeen) {
                tagNameSeen = true;
            } else if (IsSingle(tokens, token, u'=')) {
                valueWanted = true;
            } else if (IsSingle(tokens, token, u'>') || IsSingle(tokens, token, u'/') ||
                       IsSingle(tokens, token, u'?')) {
                return location;
            } else if (NameMatches(text.substr(static_cast<std::size_t>(token.start),
                                               static_cast<std::size_t>(token.end - token.start)),
                                   name, ignoreCase)) {
                state = NameFound;
                location.found = true;
                location.nameStart = token.start;
                location.nameEnd = token.end;
            }
        } else if (isValue && IsSingle(tokens, token, u'=')) {
            // An "=" marks the next token as a value even when it is one.
            valueWanted = true;
        }
        location.searchEnd = token.outerEnd;
    }
    if (state == ValueDue) {
        location.hasValue = true;
        location.valueStart = location.valueEnd = end;
    }
    return location;
}

} // namespace xml
