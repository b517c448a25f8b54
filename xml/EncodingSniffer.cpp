// The encoding a text declares for itself: the XML declaration's encoding,
// or the charset of an HTML meta tag before the end of the head.
#include <optional>

#include "xml/Encoding.h"
#include "xml/XmlCharacters.h"
#include "xml/XmlDocument.h"

namespace xml {
namespace {

constexpr bool IgnoringCase = true;

// Cuts a content value into words; a delimiter standing alone is a word.
class CContentWords {
  public:
    explicit CContentWords(std::u16string_view value) : m_value(value) {}

    std::optional<std::u16string_view> Next() {
        while (m_pos < m_value.size() && IsXmlSpace(m_value[m_pos]))
            ++m_pos;
        if (m_pos >= m_value.size())
            return std::nullopt;
        std::size_t first = m_pos++;
        if (!EndsTagName(m_value[first]))
            while (m_pos < m_value.size() && !EndsTagName(m_value[m_pos]))
                ++m_pos;
        return m_value.substr(first, m_pos - first);
    }

  private:
    std::u16string_view m_value;
    std::size_t m_pos = 0;
};

// The charset named in a meta tag's content value; empty when there is none.
std::u16string CharsetOf(std::u16string_view content) {
    CContentWords words(content);
    auto previous = words.Next();
    if (!previous)
        return {};
    for (auto word = words.Next(); word; previous = word, word = words.Next()) {
        if (*word == u"=" && NameMatches(*previous, u"charset", IgnoringCase)) {
            auto answer = words.Next();
            return answer ? std::u16string(*answer) : std::u16string();
        }
    }
    return {};
}

// The raw value of a node's attribute, as ReadAttribute finds it but not
// decoded; an attribute without "=" has its own name as value.
std::optional<std::u16string_view> RawAttribute(std::u16string_view text, const NodeScan& node,
                                                std::u16string_view name) {
    AttributeLocation at =
        LocateAttribute(text, node.start + 1, node.start + node.length, name, IgnoringCase);
    if (!at.found)
        return std::nullopt;
    std::int32_t first = at.hasValue ? at.valueStart : at.nameStart;
    std::int32_t last = at.hasValue ? at.valueEnd : at.nameEnd;
    return text.substr(static_cast<std::size_t>(first), static_cast<std::size_t>(last - first));
}

std::u16string DeclarationEncoding(std::u16string_view text, const NodeScan& node) {
    auto encoding = RawAttribute(text, node, u"encoding");
    return encoding ? std::u16string(*encoding) : std::u16string();
}

enum class MetaVerdict { Skip, Answer };

MetaVerdict ExamineMeta(std::u16string_view text, const NodeScan& node, std::u16string& answer) {
    auto equiv = RawAttribute(text, node, u"http-equiv");
    if (!equiv || !NameMatches(*equiv, u"Content-Type", IgnoringCase))
        return MetaVerdict::Skip;
    auto content = RawAttribute(text, node, u"content");
    answer = content ? CharsetOf(*content) : std::u16string();
    return MetaVerdict::Answer;
}

} // namespace

std::u16string SniffDeclaredEncoding(std::u16string_view text) {
    TokenScanner scanner;
    scanner.text = text;
    bool htmlSeen = false;
    for (;;) {
        NodeScan node;
        NodeKind kind = NextNode(scanner, node);
        if (kind == NodeError || kind == NodeEndOfText)
            return {};
        bool named =
            kind == NodeStartTag || kind == NodeEndTag || kind == NodeProcessingInstruction;
        std::u16string_view name = named ? scanner.Name() : std::u16string_view();
        if (kind == NodeProcessingInstruction && node.start == 0 &&
            NameMatches(name, u"xml", IgnoringCase))
            return DeclarationEncoding(text, node);
        if (kind == NodeEndTag && NameMatches(name, u"head", IgnoringCase))
            return {};
        if (kind != NodeStartTag)
            continue;
        if (!htmlSeen) {
            if (!NameMatches(name, u"html", IgnoringCase))
                return {};
            htmlSeen = true;
            continue;
        }
        std::u16string answer;
        if (NameMatches(name, u"meta", IgnoringCase) &&
            ExamineMeta(text, node, answer) == MetaVerdict::Answer)
            return answer;
    }
}

} // namespace xml
