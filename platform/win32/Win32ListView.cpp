// The list view, through its messages, and image lists.
// The seam's header first: the SDK's macros of the same names must not reach it.
#include "platform/UserInterface.h"

#include <windows.h>

#include <commctrl.h>

#include "platform/win32/Win32Error.h"
#include "platform/win32/Win32Strings.h"

#undef ListView_SetImageList
#undef ListView_InsertItem
#undef ListView_GetItemText
#undef ListView_SetItemState
#undef ListView_GetItemState
#undef ListView_GetItemCount
#undef ListView_GetSelectionMark
#undef ListView_SetSelectionMark

namespace platform {
namespace {

HWND Native(WindowHandle window) {
    return static_cast<HWND>(window);
}

template <class T> Outcome<T> NoWindow(T value = T{}) {
    return Outcome<T>(value, ErrorInvalidWindowHandle);
}

} // namespace

Outcome<ImageList> ImageList_Create(int cx, int cy, std::uint32_t flags, int initial, int grow) {
    HIMAGELIST list = ::ImageList_Create(cx, cy, flags, initial, grow);
    if (!list)
        return Outcome<ImageList>::Failure(win32::LastError());
    return Outcome<ImageList>(ImageList(list));
}

Status ImageListTraits::Close(RawHandle raw) {
    return ::ImageList_Destroy(static_cast<HIMAGELIST>(raw)) ? Status{}
                                                             : Failure(ErrorInvalidHandle);
}

Outcome<int> ImageList_ReplaceIcon(RawHandle imageList, int index, IconHandle icon) {
    int at = ::ImageList_ReplaceIcon(static_cast<HIMAGELIST>(imageList), index,
                                     static_cast<HICON>(icon));
    if (at == -1)
        return Outcome<int>(-1, ErrorInvalidParameter);
    return at;
}

int ImageList_GetImageCount(RawHandle imageList) {
    return ::ImageList_GetImageCount(static_cast<HIMAGELIST>(imageList));
}

Outcome<RawHandle> ListView_SetImageList(WindowHandle listView, RawHandle imageList, int kind) {
    if (!::IsWindow(Native(listView)))
        return NoWindow<RawHandle>();
    return reinterpret_cast<RawHandle>(::SendMessageW(Native(listView), LVM_SETIMAGELIST,
                                                      static_cast<WPARAM>(kind),
                                                      reinterpret_cast<LPARAM>(imageList)));
}

Outcome<int> ListView_InsertItem(WindowHandle listView, int index, std::u16string_view text) {
    if (!::IsWindow(Native(listView)))
        return NoWindow<int>(-1);
    std::wstring wide = win32::ToWide(text);
    LVITEMW item{};
    item.mask = LVIF_TEXT;
    item.iItem = index;
    item.pszText = wide.data();
    int at = static_cast<int>(
        ::SendMessageW(Native(listView), LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item)));
    if (at == -1)
        return Outcome<int>(-1, ErrorInvalidParameter);
    return at;
}

Outcome<std::u16string> ListView_GetItemText(WindowHandle listView, int index,
                                             std::size_t bufferChars) {
    if (!::IsWindow(Native(listView)))
        return NoWindow<std::u16string>();
    if (bufferChars == 0)
        return std::u16string();
    std::wstring buffer(bufferChars, L'\0');
    LVITEMW item{};
    item.iSubItem = 0;
    item.cchTextMax = static_cast<int>(bufferChars);
    item.pszText = buffer.data();
    ::SendMessageW(Native(listView), LVM_GETITEMTEXTW, static_cast<WPARAM>(index),
                   reinterpret_cast<LPARAM>(&item));
    // The control may answer with a text of its own instead of filling the buffer.
    return win32::FromWide(item.pszText);
}

Status ListView_SetItemState(WindowHandle listView, int index, std::uint32_t state,
                             std::uint32_t mask) {
    if (!::IsWindow(Native(listView)))
        return Failure(ErrorInvalidWindowHandle);
    LVITEMW item{};
    item.stateMask = mask;
    item.state = state;
    if (!::SendMessageW(Native(listView), LVM_SETITEMSTATE, static_cast<WPARAM>(index),
                        reinterpret_cast<LPARAM>(&item)))
        return Failure(ErrorInvalidParameter);
    return {};
}

Outcome<std::uint32_t> ListView_GetItemState(WindowHandle listView, int index, std::uint32_t mask) {
    if (!::IsWindow(Native(listView)))
        return NoWindow<std::uint32_t>();
    return static_cast<std::uint32_t>(
        ::SendMessageW(Native(listView), LVM_GETITEMSTATE, static_cast<WPARAM>(index), mask));
}

Outcome<int> ListView_GetItemCount(WindowHandle listView) {
    if (!::IsWindow(Native(listView)))
        return NoWindow<int>();
    return static_cast<int>(::SendMessageW(Native(listView), LVM_GETITEMCOUNT, 0, 0));
}

Outcome<int> ListView_GetSelectionMark(WindowHandle listView) {
    if (!::IsWindow(Native(listView)))
        return NoWindow<int>(-1);
    return static_cast<int>(::SendMessageW(Native(listView), LVM_GETSELECTIONMARK, 0, 0));
}

Outcome<int> ListView_SetSelectionMark(WindowHandle listView, int index) {
    if (!::IsWindow(Native(listView)))
        return NoWindow<int>(-1);
    return static_cast<int>(
        ::SendMessageW(Native(listView), LVM_SETSELECTIONMARK, 0, static_cast<LPARAM>(index)));
}

} // namespace platform
