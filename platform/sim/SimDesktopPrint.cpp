// The simulated desktop's state as text, for failing assertions: one line
// per window, indented by depth.
#include <iomanip>

#include "platform/sim/SimDesktop.h"

namespace platform::sim {
namespace {

std::string Utf8(std::u16string_view text) {
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        std::uint32_t c = text[i];
        if (c >= 0xD800 && c < 0xDC00 && i + 1 < text.size()) {
            c = 0x10000 + ((c - 0xD800) << 10) + (text[i + 1] - 0xDC00);
            ++i;
        }
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
    return out;
}

void PrintWindow(const SimWindow& window, std::ostream& out, int depth) {
    out << std::string(static_cast<std::size_t>(depth) * 2, ' ') << Utf8(window.className) << ' '
        << (window.templateId ? window.templateId : window.id) << " \"" << Utf8(window.text)
        << "\" (" << window.rect.left << ',' << window.rect.top << ' ' << window.rect.Width() << 'x'
        << window.rect.Height() << ')';
    if (!window.visible)
        out << " hidden";
    if (!window.enabled)
        out << " disabled";
    if (window.focused)
        out << " focused";
    if (window.check == BstChecked)
        out << " checked";
    if (!window.items.empty()) {
        out << " items";
        for (const std::u16string& item : window.items)
            out << " \"" << Utf8(item) << '"';
        out << " selection " << window.selection;
    }
    if (!window.listItems.empty()) {
        out << " rows";
        for (const SimListItem& item : window.listItems)
            out << " \"" << Utf8(item.text) << "\"/" << item.state;
        out << " mark " << window.selectionMark;
    }
    for (const SimLine& line : window.lines)
        out << " line #" << std::hex << std::setw(6) << std::setfill('0') << line.colour << std::dec
            << std::setfill(' ') << " (" << line.from.x << ',' << line.from.y << ")-(" << line.to.x
            << ',' << line.to.y << ')';
    out << '\n';
    for (const SimWindow& child : window.children)
        PrintWindow(child, out, depth + 1);
}

} // namespace

void PrintTo(const SimWindow& window, std::ostream* out) {
    *out << '\n';
    PrintWindow(window, *out, 1);
}

void PrintTo(const SimMessageBox& box, std::ostream* out) {
    *out << "box \"" << Utf8(box.caption) << "\": \"" << Utf8(box.text) << "\" type " << box.type
         << " answer " << box.answer;
}

void PrintTo(const UserAction& action, std::ostream* out) {
    static const char* const Names[] = {"Click",        "Enter",       "Escape", "CloseBox",
                                        "SelectItem",   "SelectCombo", "Answer", "ChooseFolder",
                                        "CancelFolder", "Minimise"};
    *out << Names[static_cast<int>(action.kind)] << " id " << action.id << " index "
         << action.index;
    if (!action.path.empty())
        *out << " \"" << Utf8(action.path) << '"';
}

} // namespace platform::sim
