// The result log: one empty element per record, attributes escaped, and no
// growth once the log has reached its limit.
#include "xml/XmlDocument.h"

#include <string>

namespace xml {

namespace {

std::u16string_view TextAttributeName(std::uint32_t flags) {
    if (flags & LogTextIsType)
        return u"type";
    if (flags & LogTextIsEncoding)
        return u"encoding";
    if (flags & LogTextIsMsg)
        return u"msg";
    return u"tagname";
}

std::u16string_view NumberAttributeName(std::uint32_t flags) {
    if (flags & LogNumberIsN)
        return u"n";
    if (flags & LogNumberIsCount)
        return u"count";
    if (flags & LogNumberIsLength)
        return u"length";
    return u"offset";
}

std::u16string Decimal(std::int32_t number) {
    const std::string digits = std::to_string(number);
    return std::u16string(digits.begin(), digits.end());
}

std::u16string_view EscapeOf(char16_t c) {
    switch (c) {
    case u'<':
        return u"&lt;";
    case u'&':
        return u"&amp;";
    case u'>':
        return u"&gt;";
    case u'\'':
        return u"&apos;";
    case u'"':
        return u"&quot;";
    default:
        return {};
    }
}

struct LogAttribute {
    std::u16string_view name;
    std::u16string value;
};

// The attributes of one record, in the order they are set.
std::size_t CollectAttributes(LogAttribute (&attributes)[3], std::uint32_t flags,
                              std::optional<std::u16string_view> textValue, std::int32_t number,
                              std::int32_t secondNumber) {
    std::size_t count = 0;
    if (textValue)
        attributes[count++] = {TextAttributeName(flags), std::u16string(*textValue)};
    const std::u16string_view numberName = NumberAttributeName(flags);
    if (numberName != u"offset" || number != LogNoNumber)
        attributes[count++] = {numberName, Decimal(number)};
    if (secondNumber != LogNoNumber)
        attributes[count++] = {u"offset2", Decimal(secondNumber)};
    return count;
}

// An update edits the first record with that word in place, through a
// temporary document over the log.
void UpdateLogRecord(std::u16string& log, std::u16string_view word, const LogAttribute* attributes,
                     std::size_t count) {
    XmlDocument temporary;
    temporary.AssignText(log);
    if (!temporary.SeekElement(word))
        return;
    for (std::size_t i = 0; i < count; ++i)
        temporary.WriteAttribute(temporary.CursorPos(), attributes[i].name, attributes[i].value);
    log = temporary.Text();
}

// A new record goes at the end of the log; the names of one record never
// repeat, so writing it out directly gives the text the editing operations
// would.
void AddLogRecord(std::u16string& log, std::u16string_view word, const LogAttribute* attributes,
                  std::size_t count) {
    std::u16string record = u"<";
    record += word;
    for (std::size_t i = 0; i < count; ++i) {
        record += u' ';
        record += attributes[i].name;
        record += u"=\"";
        record += EncodeReferences(attributes[i].value);
        record += u'"';
    }
    record += u"/>";
    log += record;
}

} // namespace

std::u16string EncodeReferences(std::u16string_view value) {
    std::u16string out;
    out.reserve(value.size() + value.size() / 10 + 7);
    for (char16_t c : value) {
        if (out.capacity() - out.size() < 6)
            out.reserve(out.capacity() * 4);
        const std::u16string_view escape = EscapeOf(c);
        if (escape.empty())
            out += c;
        else
            out += escape;
    }
    return out;
}

void AppendLogRecord(std::u16string& log, std::uint32_t flags, std::u16string_view word,
                     std::optional<std::u16string_view> textValue, std::int32_t number,
                     std::int32_t secondNumber) {
    if (log.size() >= LogLimit)
        return;
    try {
        LogAttribute attributes[3];
        const std::size_t count =
            CollectAttributes(attributes, flags, textValue, number, secondNumber);
        if (flags & LogUpdate)
            UpdateLogRecord(log, word, attributes, count);
        else
            AddLogRecord(log, word, attributes, count);
    } catch (const std::bad_alloc&) {
        // The log is a diagnostic; losing a record beats losing the load.
    }
}

void AppendLogRecords(std::u16string& log, std::u16string_view records) {
    // Values are escaped, so every record ends at its first ">".
    while (!records.empty() && log.size() < LogLimit) {
        const std::size_t end = records.find(u'>');
        const std::size_t length = end == std::u16string_view::npos ? records.size() : end + 1;
        log.append(records.substr(0, length));
        records.remove_prefix(length);
    }
}

} // namespace xml
