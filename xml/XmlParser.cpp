// Parse: one pass of NextNode over the text, building the element index,
// matching end tags to open elements and recovering from stray or missing
// ones.
#include "xml/XmlDocument.h"

#include <algorithm>
#include <unordered_map>
#include <vector>

namespace xml {

namespace {

// A lone end tag walks every open name. Past this depth the parser keeps a
// count of the open names by hash, so that a run of lone end tags under deep
// nesting stays linear.
constexpr std::size_t CountedDepth = 32;

// Hash of a name's first step (up to "=", "[" or "]"), with ASCII letters
// folded: equal for every pair of names that NameMatches can match.
std::uint64_t StepHash(std::u16string_view name) {
    std::uint64_t hash = 14695981039346656037ull;
    for (char16_t c : name) {
        if (c == u'=' || c == u'[' || c == u']')
            break;
        const char16_t folded = (c >= u'a' && c <= u'z') ? static_cast<char16_t>(c - 32) : c;
        hash = (hash ^ folded) * 1099511628211ull;
    }
    return hash;
}

} // namespace

class CParseRun {
  public:
    explicit CParseRun(XmlDocument& document)
        : m_document(document), m_index(document.index), m_ignoreCase(document.IgnoreCase()) {
        m_open.reserve(6);
        m_scanner.text = document.text;
        m_scanner.flags = document.flags;
    }

    // The node loop; returns the root, the first element created.
    std::int32_t Run() {
        for (;;) {
            switch (NextNode(m_scanner, m_node)) {
            case NodeStartTag:
                OnStartTag();
                break;
            case NodeEndTag:
                OnEndTag();
                break;
            case NodeError:
                OnErrorNode();
                break;
            case NodeEndOfText:
                OnEndOfText();
                return m_root;
            default:
                break;
            }
        }
    }

  private:
    // The name is kept as its range: the text does not change while parsing.
    struct OpenElement {
        std::int32_t nameFirst;
        std::int32_t nameLength;
        std::int32_t position;
    };

    ElementRecord& At(std::int32_t position) { return m_index[position]; }
    std::u16string_view NameOf(const OpenElement& open) const {
        return m_scanner.text.substr(static_cast<std::size_t>(open.nameFirst),
                                     static_cast<std::size_t>(open.nameLength));
    }

    void MarkIllFormed() {
        At(0).state |= StateNotWellFormed;
        At(m_parent).state |= StateIllFormedInside;
    }

    std::int32_t NewRecord() {
        if (m_document.recordCount == m_index.Allocated())
            m_index.Grow(m_document.recordCount + m_document.recordCount / 2);
        if (m_document.recordCount >= m_index.Allocated())
            return 0;
        const std::int32_t i = m_document.recordCount++;
        At(i) = ElementRecord{};
        return i;
    }

    void LinkAsLastChild(std::int32_t i) {
        ElementRecord& parent = At(m_parent);
        ElementRecord& record = At(i);
        record.parent = m_parent;
        if (parent.firstChild == 0) {
            parent.firstChild = i;
            record.prevSibling = i;
            record.state |= StateFirstChild;
            return;
        }
        ElementRecord& first = At(parent.firstChild);
        At(first.prevSibling).nextSibling = i;
        record.prevSibling = first.prevSibling;
        first.prevSibling = i;
    }

    void OnStartTag() {
        // A start tag too long for its record cannot be indexed.
        if (m_node.length > MaxStartTagLength) {
            MarkIllFormed();
            return;
        }
        const std::int32_t i = NewRecord();
        if (i == 0) {
            MarkIllFormed();
            return;
        }
        LinkAsLastChild(i);
        ElementRecord& record = At(i);
        // Levels past the field's range saturate; the links stay exact.
        record.SetLevel(
            static_cast<std::uint32_t>(std::min<std::size_t>(m_open.size(), LevelMask)));
        record.start = m_node.start;
        record.SetTagLengths(m_node.length, 0);
        if (m_root == 0)
            m_root = i;
        if (m_node.nodeFlags & NodeEmptyElement) {
            record.length = m_node.length;
            return;
        }
        m_open.push_back({m_scanner.nameFirst, m_scanner.nameLast - m_scanner.nameFirst + 1, i});
        if (m_counting)
            ++m_openSteps[StepHash(NameOf(m_open.back()))];
        m_parent = i;
    }

    void PopTo(std::size_t keep) {
        if (m_counting) {
            for (std::size_t k = keep; k < m_open.size(); ++k) {
                const auto counted = m_openSteps.find(StepHash(NameOf(m_open[k])));
                if (--counted->second == 0)
                    m_openSteps.erase(counted);
            }
        }
        m_open.resize(keep);
    }

    void StartCounting() {
        m_counting = true;
        for (const OpenElement& open : m_open)
            ++m_openSteps[StepHash(NameOf(open))];
    }

    // The depth of the innermost open element the end tag closes, or -1.
    std::ptrdiff_t FindOpen(std::u16string_view name) {
        if (m_node.length > MaxEndTagLength)
            return -1;
        if (m_counting && m_openSteps.find(StepHash(name)) == m_openSteps.end())
            return -1;
        for (std::ptrdiff_t k = static_cast<std::ptrdiff_t>(m_open.size()) - 1; k >= 0; --k)
            if (NameMatches(name, NameOf(m_open[static_cast<std::size_t>(k)]), m_ignoreCase))
                return k;
        if (!m_counting && m_open.size() > CountedDepth)
            StartCounting();
        return -1;
    }

    void OnEndTag() {
        const std::u16string_view name = m_scanner.Name();
        const std::ptrdiff_t k = FindOpen(name);
        if (k < 0) {
            MarkIllFormed();
            AppendLogRecord(m_document.resultLog, 0, u"lone_end_tag", name, m_node.start);
            return;
        }
        const std::size_t depth = static_cast<std::size_t>(k);
        const std::int32_t m = m_open[depth].position;
        ElementRecord& matched = At(m);
        matched.length = m_node.start + m_node.length - matched.start;
        matched.SetTagLengths(matched.StartTagLength(), m_node.length);
        if (depth + 1 < m_open.size()) {
            At(0).state |= StateNotWellFormed;
            CloseUnendedAbove(depth + 1, m_scanner.nameFirst - 1);
        }
        PopTo(depth);
        m_parent = At(m).parent;
    }

    void OnErrorNode() {
        MarkIllFormed();
        AppendLogRecords(m_document.resultLog, m_node.log);
        m_node.log.clear();
    }

    void OnEndOfText() {
        if (m_open.empty())
            return;
        At(0).state |= StateNotWellFormed;
        CloseUnendedAbove(0, static_cast<std::int32_t>(m_scanner.text.size()));
    }

    // Closes the open elements from depth keep up, innermost first. Each
    // hands its children to its parent as following siblings; their parent
    // links are set once for the whole run, so a long run of unended
    // elements costs no more than its length.
    void CloseUnendedAbove(std::size_t keep, std::int32_t offset2) {
        for (std::size_t k = m_open.size(); k-- > keep;)
            CloseUnended(m_open[k], offset2);
        const std::int32_t outermost = m_open[keep].position;
        const std::int32_t parent = At(outermost).parent;
        for (std::int32_t c = At(outermost).nextSibling; c != 0; c = At(c).nextSibling)
            At(c).parent = parent;
        PopTo(keep);
        m_parent = parent;
    }

    void CloseUnended(const OpenElement& open, std::int32_t offset2) {
        const std::int32_t u = open.position;
        ElementRecord& record = At(u);
        ElementRecord& parent = At(record.parent);
        record.SetTagLengths(record.StartTagLength(), 0);
        record.length = record.StartTagLength();
        record.state |= StateUnended;
        if (record.firstChild != 0) {
            ElementRecord& first = At(record.firstChild);
            const std::int32_t last = first.prevSibling;
            record.nextSibling = record.firstChild;
            first.prevSibling = u;
            first.state &= ~StateFirstChild;
            At(parent.firstChild).prevSibling = last;
            record.firstChild = 0;
        }
        if (record.state & StateIllFormedInside) {
            record.state &= ~StateIllFormedInside;
            parent.state |= StateIllFormedInside;
        }
        AppendLogRecord(m_document.resultLog, 0, u"unended_start_tag", NameOf(open), record.start,
                        offset2);
    }

    XmlDocument& m_document;
    ElementIndex& m_index;
    bool m_ignoreCase;
    std::vector<OpenElement> m_open;
    std::unordered_map<std::uint64_t, std::int32_t> m_openSteps;
    bool m_counting = false;
    std::int32_t m_parent = 0;
    std::int32_t m_root = 0;
    TokenScanner m_scanner;
    NodeScan m_node;
};

bool XmlDocument::Parse() {
    ResetCursor();
    recordCount = 1;
    const std::int32_t presize = static_cast<std::int32_t>(text.size() / 64 + 8);
    if (index.Allocated() < presize)
        index.Grow(presize);
    index[0] = ElementRecord{};
    if (!text.empty()) {
        const std::int32_t root = CParseRun(*this).Run();
        index[0].length = static_cast<std::int32_t>(text.size());
        if (root == 0) {
            AppendLogRecord(resultLog, 0, u"no_root_element");
        } else {
            index[0].firstChild = root;
            if (index[root].nextSibling != 0)
                AppendLogRecord(resultLog, 0, u"root_has_sibling");
        }
    }
    ResetCursor();
    const std::int32_t root = index[0].firstChild;
    return index.HasPages() && (index[0].state & StateNotWellFormed) == 0 && root != 0 &&
           index[root].nextSibling == 0;
}

} // namespace xml
