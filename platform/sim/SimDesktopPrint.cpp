// The simulated desktop's state as text, for failing assertions: one line
// per window, indented by depth.
#include <iomanip>

#include "platform/sim/SimDesktop.h"
#include "platform/sim/SimUnicode.h"

namespace platform::sim {
namespace {

void PrintWindow(const SimWindow& window, std::ostream& out, int depth) {
    out << std::string(static_cast<std::size_t>(depth) * 2, ' ') << ToUtf8(window.className) << ' '
        << (window.templateId ? window.templateId : window.id) << " \"" << ToUtf8(window.text)
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
            out << " \"" << ToUtf8(item) << '"';
        out << " selection " << window.selection;
    }
    if (!window.listItems.empty()) {
        out << " rows";
        for (const SimListItem& item : window.listItems)
            out << " \"" << ToUtf8(item.text) << "\"/" << item.state;
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
    *out << "box \"" << ToUtf8(box.caption) << "\": \"" << ToUtf8(box.text) << "\" type "
         << box.type << " answer " << box.answer;
}

void PrintTo(const UserAction& action, std::ostream* out) {
    static const char* const Names[] = {"Click",        "Enter",       "Escape", "CloseBox",
                                        "SelectItem",   "SelectCombo", "Answer", "ChooseFolder",
                                        "CancelFolder", "Minimise"};
    *out << Names[static_cast<int>(action.kind)] << " id " << action.id << " index "
         << action.index;
    if (!action.path.empty())
        *out << " \"" << ToUtf8(action.path) << '"';
}

} // namespace platform::sim
