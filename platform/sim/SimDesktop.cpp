#include "platform/sim/SimDesktop.h"

#include <algorithm>
#include <deque>
#include <map>
#include <set>

#include "platform/UserInterface.h"
#include "platform/sim/SimDesktopState.h"
#include "platform/sim/SimFaults.h"
#include "platform/sim/SimThreads.h"

namespace platform::sim {

DesktopState& Desktop() {
    static DesktopState desktop;
    return desktop;
}

RawHandle NewHandle() {
    return reinterpret_cast<RawHandle>(Desktop().nextHandle += 4);
}

WindowRecord* FindWindow(WindowHandle window) {
    auto it = Desktop().windows.find(window);
    return it == Desktop().windows.end() ? nullptr : &it->second;
}

Insets NonClient(std::uint32_t style, std::uint32_t exStyle) {
    Insets insets;
    std::int32_t frame = 0;
    if ((style & WsCaption) == WsCaption) {
        frame = 3;
        insets.top = 19;
    } else if ((style & WsDlgFrame) || (exStyle & WsExDlgModalFrame)) {
        frame = 3;
    } else if (style & WsBorder) {
        frame = 1;
    }
    if (exStyle & WsExClientEdge)
        frame += 2;
    insets.left = insets.right = insets.bottom = frame;
    insets.top += frame;
    return insets;
}

Point BaseUnits(std::uint16_t pointSize) {
    switch (pointSize) {
    case 8:
        return {6, 13};
    case 9:
        return {7, 14};
    default:
        return {8, 16};
    }
}

// MulDiv: the product over the divisor, rounded half away from zero.
std::int32_t Scale(std::int32_t value, std::int32_t base, std::int32_t divisor) {
    std::int64_t product = static_cast<std::int64_t>(value) * base;
    std::int64_t half = divisor / 2;
    return static_cast<std::int32_t>(product >= 0 ? (product + half) / divisor
                                                  : (product - half) / divisor);
}

Rect DialogUnitsToPixels(std::uint16_t pointSize, Rect units) {
    Point base = BaseUnits(pointSize);
    return {Scale(units.left, base.x, 4), Scale(units.top, base.y, 8),
            Scale(units.right, base.x, 4), Scale(units.bottom, base.y, 8)};
}

Rect PlaceInPixels(std::uint16_t pointSize, std::int16_t x, std::int16_t y, std::int16_t cx,
                   std::int16_t cy) {
    Rect at = DialogUnitsToPixels(pointSize, {x, y, cx, cy});
    return {at.left, at.top, at.left + at.right, at.top + at.bottom};
}

Point ClientOrigin(const WindowRecord& record) {
    Point origin{record.data.rect.left, record.data.rect.top};
    if (WindowRecord* parent = FindWindow(record.parent); parent && (record.data.style & WsChild)) {
        Point parentOrigin = ClientOrigin(*parent);
        origin.x += parentOrigin.x;
        origin.y += parentOrigin.y;
    }
    Insets insets = NonClient(record.data.style, record.data.exStyle);
    return {origin.x + insets.left, origin.y + insets.top};
}

Rect ScreenRect(const WindowRecord& record) {
    Rect rect = record.data.rect;
    if (WindowRecord* parent = FindWindow(record.parent); parent && (record.data.style & WsChild)) {
        Point origin = ClientOrigin(*parent);
        rect = {rect.left + origin.x, rect.top + origin.y, rect.right + origin.x,
                rect.bottom + origin.y};
    }
    return rect;
}

bool EnabledWithAncestors(const WindowRecord& record) {
    for (const WindowRecord* at = &record; at; at = FindWindow(at->parent)) {
        if (!at->data.enabled)
            return false;
        if (!(at->data.style & WsChild))
            break;
    }
    return true;
}

bool VisibleWithAncestors(const WindowRecord& record) {
    for (const WindowRecord* at = &record; at; at = FindWindow(at->parent)) {
        if (!at->data.visible)
            return false;
        if (!(at->data.style & WsChild))
            break;
    }
    return true;
}

void Detach(WindowHandle window, WindowHandle parent) {
    if (WindowRecord* record = FindWindow(parent))
        std::erase(record->children, window);
}

// Parent first, then its children, as Windows sends WM_DESTROY.
void DestroyTree(WindowHandle window) {
    WindowRecord* record = FindWindow(window);
    if (!record)
        return;
    if (record->procedure)
        record->procedure(window, WmDestroy, 0, 0);
    record = FindWindow(window);
    if (!record)
        return;
    std::vector<WindowHandle> children = record->children;
    for (WindowHandle child : children)
        DestroyTree(child);
    record = FindWindow(window);
    if (!record)
        return;
    Detach(window, record->parent);
    if (Desktop().focus == window)
        Desktop().focus = nullptr;
    Desktop().windows.erase(window);
}

std::intptr_t CallProcedure(WindowHandle window, std::uint32_t message, std::uintptr_t wParam,
                            std::intptr_t lParam) {
    WindowRecord* record = FindWindow(window);
    if (!record || !record->procedure)
        return 0;
    return record->procedure(window, message, wParam, lParam);
}

void NotifyParent(WindowHandle control, std::uint16_t code) {
    WindowRecord* record = FindWindow(control);
    if (!record)
        return;
    std::uintptr_t wParam = (static_cast<std::uintptr_t>(code) << 16) |
                            (static_cast<std::uint32_t>(record->data.id) & 0xFFFF);
    CallProcedure(record->parent, WmCommand, wParam, reinterpret_cast<std::intptr_t>(control));
}

// The radio buttons of the group the button belongs to: from the last
// control at or before it that starts a group, up to the next one that does.
std::vector<WindowHandle> RadioGroup(WindowHandle button) {
    WindowRecord* record = FindWindow(button);
    WindowRecord* parent = record ? FindWindow(record->parent) : nullptr;
    if (!parent)
        return {button};
    const std::vector<WindowHandle>& siblings = parent->children;
    auto at = std::find(siblings.begin(), siblings.end(), button);
    auto first = at;
    while (first != siblings.begin() && !(FindWindow(*first)->data.style & WsGroup))
        --first;
    auto last = at + 1;
    while (last != siblings.end() && !(FindWindow(*last)->data.style & WsGroup))
        ++last;
    return {first, last};
}

bool ClickButton(WindowHandle button) {
    WindowRecord* record = FindWindow(button);
    if (!record || record->data.className != ClassButton || !EnabledWithAncestors(*record))
        return false;
    switch (record->data.style & BsKindMask) {
    case BsAutoCheckBox:
        record->data.check = record->data.check == BstChecked ? BstUnchecked : BstChecked;
        break;
    case BsAutoRadioButton:
        for (WindowHandle other : RadioGroup(button)) {
            WindowRecord* sibling = FindWindow(other);
            if (sibling->data.className == ClassButton &&
                (sibling->data.style & BsKindMask) == BsAutoRadioButton)
                sibling->data.check = other == button ? BstChecked : BstUnchecked;
        }
        break;
    case BsGroupBox:
        return false;
    default:
        break;
    }
    NotifyParent(button, BnClicked);
    return true;
}

} // namespace platform::sim
