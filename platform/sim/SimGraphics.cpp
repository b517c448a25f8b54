// The simulated desktop's icons, cursors, painting, image lists and list
// views: what is drawn is recorded on the window as data.
#include <algorithm>

#include "platform/UserInterface.h"
#include "platform/sim/SimDesktopState.h"
#include "platform/sim/SimFaults.h"

namespace platform {
namespace {

using namespace platform::sim;

WindowRecord* FindListView(WindowHandle window) {
    WindowRecord* record = FindWindow(window);
    return record && record->data.className == ClassListView ? record : nullptr;
}

} // namespace

Outcome<IconHandle> LoadIconW(std::uint16_t resourceId) {
    if (WinError fault = TakeFault("LoadIconW"))
        return Outcome<IconHandle>::Failure(fault);
    if (Desktop().programIcons.empty())
        return Outcome<IconHandle>::Failure(ErrorResourceTypeNotFound);
    if (!Desktop().programIcons.count(resourceId))
        return Outcome<IconHandle>::Failure(ErrorResourceNameNotFound);
    return reinterpret_cast<IconHandle>(IconHandleBase + resourceId);
}

int GetSystemMetrics(int index) {
    switch (index) {
    case SmCxIcon:
    case SmCyIcon:
        return 32;
    default:
        return 0;
    }
}

Outcome<CursorHandle> LoadCursorW(std::uint16_t systemCursor) {
    if (systemCursor != IdcArrow && systemCursor != IdcWait)
        return Outcome<CursorHandle>::Failure(ErrorResourceNameNotFound);
    return reinterpret_cast<CursorHandle>(static_cast<std::uintptr_t>(systemCursor) - IdcArrow +
                                          0x7F00);
}

CursorHandle SetCursor(CursorHandle cursor) {
    CursorHandle before = Desktop().cursor;
    Desktop().cursor = cursor;
    Desktop().cursorHistory.push_back(cursor);
    return before;
}

Outcome<PaintStruct> BeginPaint(WindowHandle window) {
    WindowRecord* record = FindWindow(window);
    if (!record)
        return Outcome<PaintStruct>::Failure(ErrorInvalidWindowHandle);
    record->data.lines.clear();
    record->data.icons.clear();
    DeviceContext dc = NewHandle();
    Desktop().deviceContexts[dc] = {window, {}, nullptr};
    auto client = GetClientRect(window);
    return PaintStruct{dc, client.value};
}

void EndPaint(WindowHandle, const PaintStruct& paint) {
    Desktop().deviceContexts.erase(paint.dc);
}

Outcome<GdiObject> CreatePen(int, int width, std::uint32_t colour) {
    if (WinError fault = TakeFault("CreatePen"))
        return Outcome<GdiObject>::Failure(fault);
    RawHandle pen = NewHandle();
    Desktop().pens[pen] = {colour, width};
    return Outcome<GdiObject>(GdiObject(pen));
}

Status GdiObjectTraits::Close(RawHandle raw) {
    if (!Desktop().pens.erase(raw))
        return Failure(ErrorInvalidHandle);
    return {};
}

Outcome<RawHandle> SelectObject(DeviceContext dc, RawHandle object) {
    auto it = Desktop().deviceContexts.find(dc);
    if (it == Desktop().deviceContexts.end() || !Desktop().pens.count(object))
        return Outcome<RawHandle>::Failure(ErrorInvalidHandle);
    RawHandle before = it->second.pen;
    it->second.pen = object;
    return before;
}

Status MoveToEx(DeviceContext dc, std::int32_t x, std::int32_t y) {
    auto it = Desktop().deviceContexts.find(dc);
    if (it == Desktop().deviceContexts.end())
        return Failure(ErrorInvalidHandle);
    it->second.position = {x, y};
    return {};
}

Status LineTo(DeviceContext dc, std::int32_t x, std::int32_t y) {
    auto it = Desktop().deviceContexts.find(dc);
    if (it == Desktop().deviceContexts.end())
        return Failure(ErrorInvalidHandle);
    // The stock pen is black and one pixel wide.
    PenRecord pen{Rgb(0, 0, 0), 1};
    if (auto selected = Desktop().pens.find(it->second.pen); selected != Desktop().pens.end())
        pen = selected->second;
    if (WindowRecord* window = FindWindow(it->second.window))
        window->data.lines.push_back({pen.colour, pen.width, it->second.position, {x, y}});
    it->second.position = {x, y};
    return {};
}

Status DrawIcon(DeviceContext dc, std::int32_t x, std::int32_t y, IconHandle icon) {
    auto it = Desktop().deviceContexts.find(dc);
    if (it == Desktop().deviceContexts.end() || !icon)
        return Failure(ErrorInvalidHandle);
    if (WindowRecord* window = FindWindow(it->second.window))
        window->data.icons.push_back({icon, {x, y}});
    return {};
}

Outcome<ImageList> ImageList_Create(int cx, int cy, std::uint32_t, int, int) {
    if (WinError fault = TakeFault("ImageList_Create"))
        return Outcome<ImageList>::Failure(fault);
    if (cx <= 0 || cy <= 0)
        return Outcome<ImageList>::Failure(ErrorInvalidParameter);
    RawHandle list = NewHandle();
    Desktop().imageLists[list] = 0;
    return Outcome<ImageList>(ImageList(list));
}

Status ImageListTraits::Close(RawHandle raw) {
    if (!Desktop().imageLists.erase(raw))
        return Failure(ErrorInvalidHandle);
    return {};
}

Outcome<int> ImageList_ReplaceIcon(RawHandle imageList, int index, IconHandle icon) {
    auto it = Desktop().imageLists.find(imageList);
    if (it == Desktop().imageLists.end() || !icon || index < -1 || index >= it->second)
        return Outcome<int>(-1, ErrorInvalidParameter);
    if (index == -1)
        return it->second++;
    return index;
}

int ImageList_GetImageCount(RawHandle imageList) {
    auto it = Desktop().imageLists.find(imageList);
    return it == Desktop().imageLists.end() ? 0 : it->second;
}

Outcome<RawHandle> ListView_SetImageList(WindowHandle listView, RawHandle imageList, int kind) {
    WindowRecord* record = FindListView(listView);
    if (!record)
        return Outcome<RawHandle>::Failure(ErrorInvalidWindowHandle);
    if (kind != LvsilNormal)
        return Outcome<RawHandle>::Failure(ErrorInvalidParameter);
    RawHandle before = record->data.imageList;
    record->data.imageList = imageList;
    return before;
}

Outcome<int> ListView_InsertItem(WindowHandle listView, int index, std::u16string_view text) {
    WindowRecord* record = FindListView(listView);
    if (!record)
        return Outcome<int>(-1, ErrorInvalidWindowHandle);
    if (index < 0)
        return Outcome<int>(-1, ErrorInvalidParameter);
    std::vector<SimListItem>& items = record->data.listItems;
    int at = std::min(index, static_cast<int>(items.size()));
    items.insert(items.begin() + at, SimListItem{std::u16string(text), 0});
    if (record->data.selectionMark >= at)
        ++record->data.selectionMark;
    return at;
}

Outcome<std::u16string> ListView_GetItemText(WindowHandle listView, int index,
                                             std::size_t bufferChars) {
    WindowRecord* record = FindListView(listView);
    if (!record)
        return Outcome<std::u16string>::Failure(ErrorInvalidWindowHandle);
    const std::vector<SimListItem>& items = record->data.listItems;
    if (index < 0 || index >= static_cast<int>(items.size()) || bufferChars == 0)
        return std::u16string();
    return items[static_cast<std::size_t>(index)].text.substr(0, bufferChars - 1);
}

Status ListView_SetItemState(WindowHandle listView, int index, std::uint32_t state,
                             std::uint32_t mask) {
    WindowRecord* record = FindListView(listView);
    if (!record)
        return Failure(ErrorInvalidWindowHandle);
    std::vector<SimListItem>& items = record->data.listItems;
    if (index < -1 || index >= static_cast<int>(items.size()))
        return Failure(ErrorInvalidParameter);
    for (std::size_t i = 0; i < items.size(); ++i) {
        bool target = index == -1 || static_cast<int>(i) == index;
        if (target)
            items[i].state = (items[i].state & ~mask) | (state & mask);
        else if ((mask & state & LvisFocused) && index != -1)
            items[i].state &= ~LvisFocused; // one item has the focus
    }
    return {};
}

Outcome<std::uint32_t> ListView_GetItemState(WindowHandle listView, int index, std::uint32_t mask) {
    WindowRecord* record = FindListView(listView);
    if (!record)
        return Outcome<std::uint32_t>::Failure(ErrorInvalidWindowHandle);
    const std::vector<SimListItem>& items = record->data.listItems;
    if (index < 0 || index >= static_cast<int>(items.size()))
        return std::uint32_t{0};
    return items[static_cast<std::size_t>(index)].state & mask;
}

Outcome<int> ListView_GetItemCount(WindowHandle listView) {
    WindowRecord* record = FindListView(listView);
    if (!record)
        return Outcome<int>::Failure(ErrorInvalidWindowHandle);
    return static_cast<int>(record->data.listItems.size());
}

Outcome<int> ListView_GetSelectionMark(WindowHandle listView) {
    WindowRecord* record = FindListView(listView);
    if (!record)
        return Outcome<int>(-1, ErrorInvalidWindowHandle);
    return record->data.selectionMark;
}

Outcome<int> ListView_SetSelectionMark(WindowHandle listView, int index) {
    WindowRecord* record = FindListView(listView);
    if (!record)
        return Outcome<int>(-1, ErrorInvalidWindowHandle);
    int before = record->data.selectionMark;
    record->data.selectionMark = index;
    return before;
}

} // namespace platform
