// One XML text held as UTF-16 with an index of its elements, a cursor that
// walks the index one level at a time, and a result log of what loading and
// parsing met. The text is the only copy of every name and value; the index
// holds positions and links only.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

namespace xml {

// Bits of ElementRecord::tagLengths and ElementRecord::state.
constexpr std::uint32_t StartTagLengthMask = 0x3FFFFF;
constexpr int StartTagLengthBits = 22;
constexpr std::int32_t MaxStartTagLength = 0x3FFFFF;
constexpr std::int32_t MaxEndTagLength = 0x3FF;
constexpr std::uint32_t LevelMask = 0xFFFF;
constexpr std::uint32_t StateFirstChild = 1u << 19;
constexpr std::uint32_t StateUnended = 1u << 20;
constexpr std::uint32_t StateIllFormedInside = 1u << 21;
constexpr std::uint32_t StateNotWellFormed = 1u << 23;

// Document flag: compare element and attribute names ignoring ASCII case.
constexpr std::uint32_t FlagIgnoreCase = 8;

struct ElementRecord {
    std::int32_t start = 0;
    std::int32_t length = 0;
    std::uint32_t tagLengths = 0;
    std::uint32_t state = 0;
    std::int32_t parent = 0;
    std::int32_t firstChild = 0;
    std::int32_t nextSibling = 0;
    std::int32_t prevSibling = 0;

    std::int32_t StartTagLength() const {
        return static_cast<std::int32_t>(tagLengths & StartTagLengthMask);
    }
    std::int32_t EndTagLength() const {
        return static_cast<std::int32_t>(tagLengths >> StartTagLengthBits);
    }
    std::uint32_t Level() const { return state & LevelMask; }
    void SetTagLengths(std::int32_t startTag, std::int32_t endTag) {
        tagLengths = static_cast<std::uint32_t>(startTag) |
                     (static_cast<std::uint32_t>(endTag) << StartTagLengthBits);
    }
    void SetLevel(std::uint32_t level) { state = (state & ~LevelMask) | (level & LevelMask); }
};
static_assert(sizeof(ElementRecord) == 32);

// Element records in pages of 65,536; full pages never move, so growing never
// copies more than the last page.
class ElementIndex {
  public:
    static constexpr int PageBits = 16;
    static constexpr std::int32_t PageSize = 1 << PageBits;

    ElementIndex() = default;
    ElementIndex(const ElementIndex&) = delete;
    ElementIndex& operator=(const ElementIndex&) = delete;
    ElementIndex(ElementIndex&&) noexcept = default;
    ElementIndex& operator=(ElementIndex&&) noexcept = default;

    // Grows towards n records, adding at most one page per call.
    void Grow(std::int32_t n);
    void Free();

    bool HasPages() const { return pageTableCapacity > 0 && pages[0] != nullptr; }
    std::int32_t Allocated() const { return allocated; }
    std::int32_t PageTableCapacity() const { return pageTableCapacity; }

    ElementRecord& operator[](std::int32_t i) { return pages[i >> PageBits][i & (PageSize - 1)]; }
    const ElementRecord& operator[](std::int32_t i) const {
        return pages[i >> PageBits][i & (PageSize - 1)];
    }

  private:
    void ResizeLastPage(std::int32_t page, std::int32_t oldCount, std::int32_t newCount);

    std::unique_ptr<std::unique_ptr<ElementRecord[]>[]> pages;
    std::int32_t allocated = 0;
    std::int32_t pageTableCapacity = 0;
};

enum NodeKind : std::int32_t {
    NodeEndOfText = -2,
    NodeError = -1,
    NodeEndTag = 0,
    NodeStartTag = 1,
    NodeText = 2,
    NodeWhitespace = 4,
    NodeCData = 8,
    NodeProcessingInstruction = 16,
    NodeComment = 32,
    NodeDocumentType = 64,
};

// NodeScan::nodeFlags: the start tag was closed with "/>".
constexpr std::uint32_t NodeEmptyElement = 1u << 16;

struct TokenScanner {
    std::int32_t nameFirst = 0;
    std::int32_t nameLast = -1;
    std::int32_t scanPos = 0;
    std::u16string_view text;
    std::uint32_t flags = 0;

    std::u16string_view Name() const {
        return text.substr(static_cast<std::size_t>(nameFirst),
                           static_cast<std::size_t>(nameLast - nameFirst + 1));
    }
};

struct NodeScan {
    NodeKind kind = NodeEndOfText;
    std::int32_t start = 0;
    std::int32_t length = 0;
    std::uint32_t nodeFlags = 0;
    std::u16string log;
};

// Cuts the next node from scanner.scanPos; syntax errors go to node.log.
NodeKind NextNode(TokenScanner& scanner, NodeScan& node);

// True when name begins with token and goes on, if at all, with a space, "=",
// "/", "[" or "]".
bool NameMatches(std::u16string_view token, std::u16string_view name, bool ignoreCase);

// The element path grammar: optional "/" or "//", steps with one predicate
// each, an optional final "/@attribute". Empty is valid.
bool IsValidPath(std::u16string_view path);

// The tag name of the start tag text[start, tagEnd), scanned after its "<".
std::u16string_view ScanTagName(std::u16string_view text, std::int32_t start, std::int32_t tagEnd);

struct AttributeLocation {
    bool found = false;
    bool hasValue = false;
    bool quoted = false;
    bool closed = false;        // the quoted value has its closing mark
    std::int32_t nameStart = 0; // the matching attribute's name
    std::int32_t nameEnd = 0;
    std::int32_t valueStart = 0; // inside the quotation marks
    std::int32_t valueEnd = 0;
    std::int32_t searchEnd = 0; // after the last attribute or the tag name
};

// Finds attribute name among the tokens of text[from, end), which start just
// after a tag's "<".
AttributeLocation LocateAttribute(std::u16string_view text, std::int32_t from, std::int32_t end,
                                  std::u16string_view name, bool ignoreCase);

// Replaces character and entity references; the result is never longer.
std::u16string DecodeReferences(std::u16string_view range);
void DecodeReferencesInto(std::u16string_view range, std::u16string& out);

// Escapes "<", "&", ">", apostrophe and double quotation mark.
std::u16string EncodeReferences(std::u16string_view value);

// Splices insert into target in place of remove units at offset.
void ReplaceRange(std::u16string& target, std::int32_t offset, std::int32_t remove,
                  std::u16string_view insert);

// AppendLogRecord flags: which attribute names the values get, and update.
constexpr std::uint32_t LogNumberIsCount = 0x01;
constexpr std::uint32_t LogTextIsType = 0x02;
constexpr std::uint32_t LogNumberIsN = 0x04;
constexpr std::uint32_t LogTextIsEncoding = 0x08;
constexpr std::uint32_t LogNumberIsLength = 0x10;
constexpr std::uint32_t LogUpdate = 0x20;
constexpr std::uint32_t LogTextIsMsg = 0x40;
constexpr std::size_t LogLimit = 1000;
constexpr std::int32_t LogNoNumber = -1;

void AppendLogRecord(std::u16string& log, std::uint32_t flags, std::u16string_view word,
                     std::optional<std::u16string_view> textValue = std::nullopt,
                     std::int32_t number = LogNoNumber, std::int32_t secondNumber = LogNoNumber);

// Appends whole records from another log, each only while log is below the
// limit.
void AppendLogRecords(std::u16string& log, std::u16string_view records);

// InsertElement option: no line break around the new element.
constexpr std::uint32_t InsertNoLineBreak = 2;

class XmlDocument {
  public:
    XmlDocument() = default;
    XmlDocument(const XmlDocument&) = delete;
    XmlDocument& operator=(const XmlDocument&) = delete;
    XmlDocument(XmlDocument&&) noexcept = default;
    XmlDocument& operator=(XmlDocument&&) noexcept = default;
    ~XmlDocument() = default;

    // Copies newText (or clears the document and frees the index), then
    // parses; true when the text is a well-formed document.
    bool AssignText(std::optional<std::u16string_view> newText);
    // Reads a file into the text (any encoding, converted to UTF-16), then
    // parses. Defined with the file reader. It fills text, resultLog and flags
    // directly, appends reader records with AppendLogRecords, and ends with
    // Parse(); on failure it calls Clear(), which keeps the log, so that no
    // stale index outlives the text.
    bool LoadFile(std::u16string_view path);

    bool SeekElement(std::u16string_view name = {});
    bool EnterElement();
    bool LeaveElement();
    void RewindLevel();

    std::u16string ReadTagName() const;
    std::u16string ReadAttribute(std::int32_t position, std::u16string_view name) const;
    std::u16string ReadContent(std::int32_t position) const;

    bool InsertElement(std::u16string_view name, std::uint32_t options);
    bool WriteAttribute(std::int32_t position, std::u16string_view name, std::u16string_view value);
    void ShiftFollowing(std::int32_t position, std::int32_t delta);

    const std::u16string& Text() const { return text; }
    const std::u16string& ResultLog() const { return resultLog; }
    std::int32_t LevelPos() const { return levelPos; }
    std::int32_t CursorPos() const { return cursorPos; }
    std::int32_t ReturnPos() const { return returnPos; }
    std::int32_t RecordCount() const { return recordCount; }
    std::uint32_t Flags() const { return flags; }
    void SetFlags(std::uint32_t value) { flags = value; }
    const ElementIndex& Index() const { return index; }
    const ElementRecord& Record(std::int32_t position) const { return index[position]; }

  private:
    friend class CParseRun;

    bool Parse();
    void ResetCursor() { levelPos = cursorPos = returnPos = 0; }
    // Empties the text and frees the index; the result log stays.
    void Clear();
    bool IgnoreCase() const { return (flags & FlagIgnoreCase) != 0; }
    bool Overlaps(std::u16string_view piece) const;
    bool IsRecord(std::int32_t position) const { return position > 0 && position < recordCount; }
    std::int32_t NewRecord();
    void LinkInsertedElement(std::int32_t i, std::int32_t previous);

    std::u16string text;
    std::u16string resultLog;
    std::int32_t levelPos = 0;
    std::int32_t cursorPos = 0;
    std::int32_t returnPos = 0;
    std::int32_t recordCount = 0;
    std::uint32_t flags = 0;
    ElementIndex index;
};

} // namespace xml
