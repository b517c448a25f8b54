#include "tools/xmlinspect/InspectOutput.h"

#include <cstdio>

namespace {

bool IsHighSurrogate(char16_t c) {
    return c >= 0xD800 && c < 0xDC00;
}
bool IsLowSurrogate(char16_t c) {
    return c >= 0xDC00 && c < 0xE000;
}

void AppendUtf8(std::string& out, char32_t c) {
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xC0 | (c >> 6));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        out += static_cast<char>(0xE0 | (c >> 12));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (c >> 18));
        out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
}

void AppendEscape(std::string& out, char16_t c) {
    char buffer[8];
    std::snprintf(buffer, sizeof buffer, "\\u%04X", static_cast<unsigned>(c));
    out += buffer;
}

// Calls visit with each code point, or with a lone surrogate unit and false.
template <class Visit> void ForEachCodePoint(std::u16string_view text, Visit visit) {
    for (std::size_t i = 0; i < text.size(); ++i) {
        char16_t c = text[i];
        if (IsHighSurrogate(c) && i + 1 < text.size() && IsLowSurrogate(text[i + 1])) {
            visit(0x10000 + ((c - 0xD800u) << 10) + (text[i + 1] - 0xDC00u), true);
            ++i;
        } else {
            visit(c, !IsHighSurrogate(c) && !IsLowSurrogate(c));
        }
    }
}

void AppendJsonCodePoint(std::string& out, char32_t c, bool whole) {
    if (!whole || c < 0x20 || (c >= 0x7F && c < 0xA0))
        AppendEscape(out, static_cast<char16_t>(c));
    else if (c == u'"' || c == u'\\')
        out.append({'\\', static_cast<char>(c)});
    else
        AppendUtf8(out, c);
}

std::string ElementLine(xml::XmlDocument& document, const std::vector<std::u16string>& attributes) {
    std::int32_t position = document.CursorPos();
    const xml::ElementRecord& record = document.Record(position);
    char numbers[160];
    std::snprintf(numbers, sizeof numbers,
                  "%d level=%u start=%d length=%d start_tag=%d end_tag=%d state=0x%08X",
                  static_cast<int>(position), static_cast<unsigned>(record.Level()),
                  static_cast<int>(record.start), static_cast<int>(record.length),
                  static_cast<int>(record.StartTagLength()),
                  static_cast<int>(record.EndTagLength()), static_cast<unsigned>(record.state));
    std::string line = numbers;
    line += " name=" + JsonOf(document.ReadTagName());
    line += " content=" + JsonOf(document.ReadContent(position));
    for (const std::u16string& name : attributes)
        line += " @" + Utf8Of(name) + "=" + JsonOf(document.ReadAttribute(position, name));
    return line + "\n";
}

} // namespace

std::string Utf8Of(std::u16string_view text) {
    std::string out;
    ForEachCodePoint(text, [&](char32_t c, bool whole) { AppendUtf8(out, whole ? c : U'\uFFFD'); });
    return out;
}

std::string JsonOf(std::u16string_view text) {
    std::string out = "\"";
    ForEachCodePoint(text, [&](char32_t c, bool whole) { AppendJsonCodePoint(out, c, whole); });
    return out + "\"";
}

std::string DescribeDocument(xml::XmlDocument& document, bool parsed,
                             const std::vector<std::u16string>& attributes) {
    std::string out = std::string("parse: ") + (parsed ? "true" : "false") + "\n";
    out += "flags: " + std::to_string(document.Flags()) + "\n";
    out += "log: " + Utf8Of(document.ResultLog()) + "\n";
    // Depth first without recursion: nesting may run 65,535 levels deep.
    std::size_t depth = 0;
    for (;;) {
        if (document.SeekElement()) {
            out += ElementLine(document, attributes);
            document.EnterElement();
            ++depth;
        } else if (depth > 0) {
            document.LeaveElement();
            --depth;
        } else {
            break;
        }
    }
    return out;
}
