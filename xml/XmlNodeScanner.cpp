// NextNode: cuts the text into one node at a time and notes syntax errors that
// lie inside a single node.
#include "xml/XmlCharacters.h"
#include "xml/XmlDocument.h"

namespace xml {

namespace {

class CNodeCutter {
  public:
    CNodeCutter(TokenScanner& scanner, NodeScan& node)
        : m_scanner(scanner), m_node(node), m_text(scanner.text.data()),
          m_end(static_cast<std::int32_t>(scanner.text.size())), m_start(scanner.scanPos) {}

    NodeKind Cut() {
        m_node.start = m_start;
        m_node.nodeFlags = 0;
        if (m_start >= m_end)
            return Finish(NodeEndOfText, m_start);
        const char16_t c = m_text[m_start];
        // nothing-yet: "<" opens markup, whitespace a run, anything else text
        if (c == u'<')
            return AfterLessThan(m_start + 1);
        if (IsXmlSpace(c))
            return WhitespaceRun(m_start + 1);
        return TextRun(m_start + 1);
    }

  private:
    NodeKind Finish(NodeKind kind, std::int32_t end) {
        m_node.kind = kind;
        m_node.length = end - m_start;
        m_scanner.scanPos = end;
        return kind;
    }

    void Record(std::u16string_view word) {
        AppendLogRecord(m_node.log, 0, word, std::nullopt, m_start);
    }

    NodeKind Unterminated(std::u16string_view type) {
        AppendLogRecord(m_node.log, LogTextIsType, u"unterminated_tag_syntax", type, m_start);
        return Finish(NodeError, m_end);
    }

    // whitespace-run: ends before "<"; anything else makes it text
    NodeKind WhitespaceRun(std::int32_t pos) {
        for (; pos < m_end; ++pos) {
            const char16_t c = m_text[pos];
            if (c == u'<')
                return Finish(NodeWhitespace, pos);
            if (!IsXmlSpace(c))
                return TextRun(pos + 1);
        }
        return Finish(NodeWhitespace, m_end);
    }

    // text: up to the next "<", or just after a ">" later than its first
    // non-whitespace character, which is the one just before pos
    NodeKind TextRun(std::int32_t pos) {
        for (; pos < m_end; ++pos) {
            const char16_t c = m_text[pos];
            if (c == u'<')
                return Finish(NodeText, pos);
            if (c == u'>')
                return Finish(NodeText, pos + 1);
        }
        return Finish(NodeText, m_end);
    }

    // after-lt: the character after "<" decides the kind
    NodeKind AfterLessThan(std::int32_t pos) {
        if (pos >= m_end)
            return Unterminated(u"tag");
        const char16_t c = m_text[pos];
        if ((c >= u'A' && c <= u'Z') || c == u'_' || c == u':' || c > 0x60)
            return StartTag(pos);
        if (c == u'/')
            return EndTag(pos + 1);
        if (c == u'?')
            return ProcessingInstruction(pos + 1);
        if (c == u'!')
            return AfterExclamation(pos + 1);
        return SyntaxError(u"first_tag_syntax", pos);
    }

    // after-excl: "--" comment, "[C" CDATA, "D" document type
    NodeKind AfterExclamation(std::int32_t pos) {
        if (pos >= m_end)
            return Unterminated(u"tag");
        const char16_t c = m_text[pos];
        if (c == u'-' || c == u'[') {
            if (pos + 1 >= m_end)
                return Unterminated(u"tag");
            const bool comment = c == u'-';
            if (m_text[pos + 1] != (comment ? u'-' : u'C'))
                return SyntaxError(comment ? u"comment_tag_syntax" : u"cdata_section_syntax",
                                   pos + 1);
            if (comment)
                return UntilTerminator(pos + 2, NodeComment, u'-', u"comment");
            return UntilTerminator(pos + 2, NodeCData, u']', u"cdata_section");
        }
        if (c == u'D')
            return DocumentType(pos + 1);
        return SyntaxError(u"exclamation_tag_syntax", pos);
    }

    // The name runs to whitespace, "/" or ">"; it may be empty.
    std::int32_t Name(std::int32_t pos) {
        m_scanner.nameFirst = pos;
        while (pos < m_end) {
            const char16_t c = m_text[pos];
            if (IsXmlSpace(c) || c == u'/' || c == u'>')
                break;
            ++pos;
        }
        m_scanner.nameLast = pos - 1;
        return pos;
    }

    NodeKind StartTag(std::int32_t pos) { return TagBody(Name(pos), NodeStartTag, u"start_tag"); }

    NodeKind EndTag(std::int32_t pos) {
        for (pos = Name(pos); pos < m_end; ++pos)
            if (m_text[pos] == u'>')
                return Finish(NodeEndTag, pos + 1);
        return Unterminated(u"end_tag");
    }

    NodeKind ProcessingInstruction(std::int32_t pos) {
        return UntilTerminator(Name(pos), NodeProcessingInstruction, u'?',
                               u"processing_instruction");
    }

    NodeKind SyntaxError(std::u16string_view word, std::int32_t pos) {
        Record(word);
        return TagBody(pos, NodeError, u"tag");
    }

    // A ">" ends a long terminator only after its other characters; with
    // "?>" one, with "-->" and "]]>" two of them.
    NodeKind UntilTerminator(std::int32_t pos, NodeKind kind, char16_t before,
                             std::u16string_view type) {
        const int needed = before == u'?' ? 1 : 2;
        for (; pos < m_end; ++pos) {
            if (m_text[pos] != u'>')
                continue;
            if (m_text[pos - 1] == before && (needed == 1 || m_text[pos - 2] == before))
                return Finish(kind, pos + 1);
        }
        return Unterminated(type);
    }

    // Start tags and error nodes: a ">" inside a quoted value does not count;
    // an error node also ends just before a "<".
    NodeKind TagBody(std::int32_t pos, NodeKind kind, std::u16string_view type) {
        enum { NoValue, ValueExpected, Quoted } state = NoValue;
        const bool errorNode = kind == NodeError;
        const std::int32_t bodyStart = pos;
        char16_t quote = 0;
        char16_t previous = 0;
        bool closingSlash = false;
        for (; pos < m_end; ++pos) {
            const char16_t c = m_text[pos];
            if (state == Quoted) {
                if (c == quote)
                    state = NoValue;
            } else if (c == u'>') {
                if (closingSlash && !errorNode)
                    m_node.nodeFlags |= NodeEmptyElement;
                return Finish(kind, pos + 1);
            } else if (errorNode && c == u'<') {
                return Finish(kind, pos);
            } else if (state == ValueExpected) {
                if (IsQuote(c)) {
                    state = Quoted;
                    quote = c;
                } else if (!IsXmlSpace(c)) {
                    state = NoValue;
                }
            } else if (c == u'=' && previous != u'=') {
                state = ValueExpected;
            }
            // "/>" empties the tag when the "/" follows the name, whitespace
            // or a quotation mark, but not the end of an unquoted value.
            closingSlash = c == u'/' && state != Quoted &&
                           (pos == bodyStart || IsXmlSpace(previous) || IsQuote(previous));
            previous = c;
        }
        return Unterminated(type);
    }

    // doctype: ends at ">"; inner "<!" declarations are skipped whole
    NodeKind DocumentType(std::int32_t pos) {
        while (pos < m_end) {
            const char16_t c = m_text[pos];
            if (c == u'>')
                return Finish(NodeDocumentType, pos + 1);
            if (c == u'<' && pos + 1 < m_end && m_text[pos + 1] == u'!') {
                pos = InnerDeclaration(pos + 2);
                if (pos < 0)
                    return Unterminated(u"document_type");
                continue;
            }
            ++pos;
        }
        return Unterminated(u"document_type");
    }

    // Returns the offset after the inner part, or -1 when the text ends in it.
    std::int32_t InnerDeclaration(std::int32_t pos) {
        if (pos >= m_end)
            return -1;
        const char16_t c = m_text[pos];
        if (c == u'-' && pos + 1 < m_end && m_text[pos + 1] == u'-')
            return AfterInnerComment(pos + 2);
        if (c == u'E' || c == u'A' || c == u'N')
            return AfterQuotedDeclaration(pos + 1);
        if (c == u'-' && pos + 1 >= m_end)
            return -1;
        Record(u"doctype_tag_syntax");
        for (; pos < m_end; ++pos)
            if (m_text[pos] == u'>')
                return pos + 1;
        return -1;
    }

    std::int32_t AfterInnerComment(std::int32_t pos) {
        for (; pos < m_end; ++pos)
            if (m_text[pos] == u'>' && m_text[pos - 1] == u'-' && m_text[pos - 2] == u'-')
                return pos + 1;
        return -1;
    }

    std::int32_t AfterQuotedDeclaration(std::int32_t pos) {
        char16_t quote = 0;
        for (; pos < m_end; ++pos) {
            const char16_t c = m_text[pos];
            if (quote != 0) {
                if (c == quote)
                    quote = 0;
            } else if (IsQuote(c)) {
                quote = c;
            } else if (c == u'>') {
                return pos + 1;
            }
        }
        return -1;
    }

    TokenScanner& m_scanner;
    NodeScan& m_node;
    const char16_t* m_text;
    std::int32_t m_end;
    std::int32_t m_start;
};

} // namespace

NodeKind NextNode(TokenScanner& scanner, NodeScan& node) {
    return CNodeCutter(scanner, node).Cut();
}

} // namespace xml
