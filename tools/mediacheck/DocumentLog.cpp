#include "tools/mediacheck/DocumentLog.h"

#include <optional>
#include <string_view>

#include "xml/Encoding.h"

namespace {

struct LogRecord {
    std::u16string word;
    std::u16string tagName;
    std::u16string message;
    std::u16string encoding;
    std::u16string type;
    std::optional<std::int32_t> offset;
    std::optional<std::int32_t> offset2;
    std::optional<std::int32_t> n;
};

std::optional<std::int32_t> Number(std::u16string_view digits) {
    if (digits.empty())
        return std::nullopt;
    std::int64_t value = 0;
    for (char16_t c : digits) {
        if (c < u'0' || c > u'9' || value > 0x7FFFFFFF)
            return std::nullopt;
        value = value * 10 + (c - u'0');
    }
    return static_cast<std::int32_t>(value);
}

// The log is itself a run of empty elements, read with a document of its own.
std::vector<LogRecord> Records(std::u16string_view log) {
    std::vector<LogRecord> records;
    xml::XmlDocument reader;
    reader.AssignText(log); // a log of several records has several roots: false, still indexed
    while (reader.SeekElement()) {
        const std::int32_t at = reader.CursorPos();
        LogRecord record;
        record.word = reader.ReadTagName();
        record.tagName = reader.ReadAttribute(at, u"tagname");
        record.message = reader.ReadAttribute(at, u"msg");
        record.encoding = reader.ReadAttribute(at, u"encoding");
        record.type = reader.ReadAttribute(at, u"type");
        record.offset = Number(reader.ReadAttribute(at, u"offset"));
        record.offset2 = Number(reader.ReadAttribute(at, u"offset2"));
        record.n = Number(reader.ReadAttribute(at, u"n"));
        records.push_back(std::move(record));
    }
    return records;
}

std::u16string Decimal(std::int64_t value) {
    std::string digits = std::to_string(value);
    return std::u16string(digits.begin(), digits.end());
}

std::u16string PlaceText(const TextPlace& place) {
    return Decimal(place.line) + u":" + Decimal(place.column);
}

// What each syntax record of a single node says.
struct SyntaxWord {
    std::u16string_view word;
    std::u16string_view text;
};
constexpr SyntaxWord SyntaxWords[] = {
    {u"first_tag_syntax", u"\"<\" is followed by a character that begins no tag"},
    {u"comment_tag_syntax", u"\"<!-\" begins no comment: a comment begins with \"<!--\""},
    {u"cdata_section_syntax", u"\"<![\" begins no CDATA section"},
    {u"exclamation_tag_syntax", u"\"<!\" begins no comment, CDATA section or declaration"},
    {u"doctype_tag_syntax", u"the document type declaration holds markup it does not allow"},
};

std::optional<Finding> ErrorOf(const LogRecord& record, const xml::XmlDocument& document,
                               const CTextPlaces& places) {
    Finding finding;
    auto at = [&](std::int32_t offset) { finding.place = places.PlaceOf(offset); };
    if (record.word == u"file_error") {
        finding.text = u"config.xml cannot be read (system error " + Decimal(record.n.value_or(0)) +
                       u": " + record.message + u")";
        return finding;
    }
    for (const SyntaxWord& syntax : SyntaxWords) {
        if (record.word == syntax.word && record.offset) {
            at(*record.offset);
            finding.text = std::u16string(syntax.text);
            return finding;
        }
    }
    if (record.word == u"unterminated_tag_syntax" && record.offset) {
        at(*record.offset);
        finding.text = u"the text ends inside this markup (" + record.type + u")";
        return finding;
    }
    if (record.word == u"lone_end_tag" && record.offset) {
        at(*record.offset);
        finding.text = u"end tag </" + record.tagName + u"> closes no open element";
        return finding;
    }
    if (record.word == u"unended_start_tag" && record.offset) {
        at(*record.offset);
        finding.text = u"element <" + record.tagName + u"> has no end tag";
        if (record.offset2)
            finding.text += u"; it is still open at " + PlaceText(places.PlaceOf(*record.offset2));
        return finding;
    }
    if (record.word == u"no_root_element") {
        finding.text = u"config.xml holds no element";
        return finding;
    }
    if (record.word == u"root_has_sibling") {
        const std::int32_t root = document.Record(0).firstChild;
        const std::int32_t second = root != 0 ? document.Record(root).nextSibling : 0;
        if (second != 0)
            at(document.Record(second).start);
        finding.text = u"a second top-level element: a document has exactly one";
        return finding;
    }
    return std::nullopt;
}

bool HasRecord(const std::vector<LogRecord>& records, std::u16string_view word) {
    for (const LogRecord& record : records)
        if (record.word == word)
            return true;
    return false;
}

} // namespace

std::vector<Finding> LoadErrors(const xml::XmlDocument& document, const CTextPlaces& places) {
    std::vector<Finding> errors;
    for (const LogRecord& record : Records(document.ResultLog()))
        if (auto error = ErrorOf(record, document, places))
            errors.push_back(std::move(*error));
    if (errors.empty()) {
        Finding finding;
        finding.text = document.Text().empty() ? u"config.xml holds no text"
                                               : u"config.xml is not a well-formed XML document";
        errors.push_back(std::move(finding));
    }
    return errors;
}

ReadEncoding EncodingOf(const xml::XmlDocument& document) {
    const std::vector<LogRecord> records = Records(document.ResultLog());
    ReadEncoding encoding;
    for (const LogRecord& record : records)
        if (record.word == u"read") {
            encoding.name = record.encoding;
            break;
        }
    if (HasRecord(records, u"bom"))
        encoding.source = u"byte-order mark";
    else if (HasRecord(records, u"utf8_detection"))
        encoding.source = encoding.name.empty() ? u"not valid UTF-8: the ANSI code page"
                                                : u"detected: valid UTF-8";
    else if ((!encoding.name.empty() && encoding.name != u"UTF-8") ||
             !xml::SniffDeclaredEncoding(document.Text()).empty())
        encoding.source = u"declared";
    else if (HasRecord(records, u"read"))
        encoding.source = u"the file starts with \"<\" and declares nothing";
    return encoding;
}
