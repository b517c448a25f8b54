// user32, gdi32, comctl32 and the shell's folder browser: dialogs from
// templates, messages to windows and controls, message boxes, icons,
// cursors, lines, the list view and its image list. Every call keeps the
// meaning and error codes of the Win32 call it is named after; windows are
// plain handles, since a dialog owns its controls and destroys them itself.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "platform/DialogTemplate.h"
#include "platform/Error.h"
#include "platform/Handle.h"

namespace platform {

using WindowHandle = RawHandle;
using IconHandle = RawHandle;   // shared: an icon from the program's resources is never destroyed
using CursorHandle = RawHandle; // shared system cursor
using DeviceContext = RawHandle;
using ItemIdList = RawHandle; // a shell item, freed with the shell's allocator

constexpr WinError ErrorInvalidWindowHandle = 1400;
constexpr WinError ErrorControlIdNotFound = 1421;
constexpr WinError ErrorResourceDataNotFound = 1812; // the program has no resources at all
constexpr WinError ErrorResourceTypeNotFound = 1813;
constexpr WinError ErrorResourceNameNotFound = 1814;

// Messages.
constexpr std::uint32_t WmDestroy = 0x0002;
constexpr std::uint32_t WmPaint = 0x000F;
constexpr std::uint32_t WmClose = 0x0010;
constexpr std::uint32_t WmSetFont = 0x0030;
constexpr std::uint32_t WmQueryDragIcon = 0x0037;
constexpr std::uint32_t WmNotify = 0x004E;
constexpr std::uint32_t WmSetIcon = 0x0080;
constexpr std::uint32_t WmInitDialog = 0x0110;
constexpr std::uint32_t WmCommand = 0x0111;

constexpr std::uint32_t BmGetCheck = 0x00F0;
constexpr std::uint32_t BmSetCheck = 0x00F1;
constexpr std::uint32_t BmClick = 0x00F5;
constexpr std::intptr_t BstUnchecked = 0;
constexpr std::intptr_t BstChecked = 1;
constexpr std::uint16_t BnClicked = 0;

constexpr std::uint32_t CbAddString = 0x0143;
constexpr std::uint32_t CbGetCount = 0x0146;
constexpr std::uint32_t CbGetCurSel = 0x0147;
constexpr std::uint32_t CbGetLbText = 0x0148; // lParam: char16_t buffer of CbGetLbTextLen + 1
constexpr std::uint32_t CbGetLbTextLen = 0x0149;
constexpr std::uint32_t CbResetContent = 0x014B;
constexpr std::uint32_t CbSetCurSel = 0x014E;
constexpr std::intptr_t CbErr = -1;

constexpr std::uintptr_t IconSmall = 0;
constexpr std::uintptr_t IconBig = 1;

// Notification codes of the list view that the wizard hears.
constexpr std::uint32_t LvnItemChanged = static_cast<std::uint32_t>(-101);

// The header every WM_NOTIFY carries (NMHDR); lParam points at it.
struct NotifyHeader {
    WindowHandle from = nullptr;
    std::uintptr_t idFrom = 0;
    std::uint32_t code = 0;
};

// Dialog results and message box answers.
constexpr std::intptr_t IdOk = 1;
constexpr std::intptr_t IdCancel = 2;
constexpr std::intptr_t IdYes = 6;
constexpr std::intptr_t IdNo = 7;

constexpr std::uint32_t MbOk = 0x0;
constexpr std::uint32_t MbOkCancel = 0x1;
constexpr std::uint32_t MbYesNo = 0x4;
constexpr std::uint32_t MbButtonsMask = 0xF;
constexpr std::uint32_t MbIconError = 0x10;
constexpr std::uint32_t MbIconWarning = 0x30;
constexpr std::uint32_t MbIconInformation = 0x40;

constexpr int SwHide = 0;
constexpr int SwShow = 5;

constexpr int SmCxIcon = 11;
constexpr int SmCyIcon = 12;

constexpr std::uint16_t IdcArrow = 32512;
constexpr std::uint16_t IdcWait = 32514;

// The windows GetWindow reaches.
constexpr std::uint32_t GwHwndNext = 2;
constexpr std::uint32_t GwChild = 5;

// Values kept by a window that GetWindowLongPtrW and SetWindowLongPtrW reach.
enum class WindowLong { Style, ExStyle, Id, DialogUser };

struct Point {
    std::int32_t x = 0, y = 0;
    friend bool operator==(const Point&, const Point&) = default;
};

struct Rect {
    std::int32_t left = 0, top = 0, right = 0, bottom = 0;
    std::int32_t Width() const { return right - left; }
    std::int32_t Height() const { return bottom - top; }
    friend bool operator==(const Rect&, const Rect&) = default;
};

// A dialog's procedure. The Windows build calls it from a procedure of the
// platform's calling convention; the first messages before WM_INITDIALOG
// (WM_SETFONT) reach it too.
using DialogProcedure = std::intptr_t (*)(WindowHandle window, std::uint32_t message,
                                          std::uintptr_t wParam, std::intptr_t lParam);

// Start-up of a program that loads nothing from its own folder.
constexpr std::uint32_t LoadLibrarySearchSystem32 = 0x00000800;
Status SetDefaultDllDirectories(std::uint32_t directoryFlags);

constexpr std::uint32_t IccAllClasses = 0xFF;
Status InitCommonControlsEx(std::uint32_t classes);

// A modeless dialog; with a parent and WS_CHILD, a child window of it.
Outcome<WindowHandle> CreateDialogIndirectParamW(const DialogTemplate& dialog, WindowHandle parent,
                                                 DialogProcedure procedure,
                                                 std::intptr_t initParam);
// A modal dialog: returns the EndDialog result once the dialog has ended.
Outcome<std::intptr_t> DialogBoxIndirectParamW(const DialogTemplate& dialog, WindowHandle owner,
                                               DialogProcedure procedure, std::intptr_t initParam);
Status EndDialog(WindowHandle dialog, std::intptr_t result);
Status DestroyWindow(WindowHandle window);
bool IsWindow(WindowHandle window);

Outcome<std::intptr_t> SendMessageW(WindowHandle window, std::uint32_t message,
                                    std::uintptr_t wParam, std::intptr_t lParam);

Outcome<std::u16string> GetWindowTextW(WindowHandle window);
Status SetWindowTextW(WindowHandle window, std::u16string_view text);

// No window and ErrorControlIdNotFound for an id the dialog has no control of.
Outcome<WindowHandle> GetDlgItem(WindowHandle dialog, std::int32_t id);
// The next window of the same parent, or its first child; none is ErrorSuccess with nullptr.
Outcome<WindowHandle> GetWindow(WindowHandle window, std::uint32_t relation);
Outcome<std::intptr_t> GetWindowLongPtrW(WindowHandle window, WindowLong index);
// The value before.
Outcome<std::intptr_t> SetWindowLongPtrW(WindowHandle window, WindowLong index,
                                         std::intptr_t value);

// Whether the window was disabled before.
Outcome<bool> EnableWindow(WindowHandle window, bool enable);
bool IsWindowEnabled(WindowHandle window);
// Whether the window was visible before.
Outcome<bool> ShowWindow(WindowHandle window, int command);
bool IsWindowVisible(WindowHandle window);
bool IsIconic(WindowHandle window);
// The window that had the focus before.
Outcome<WindowHandle> SetFocus(WindowHandle window);
WindowHandle GetFocus();

Status MoveWindow(WindowHandle window, std::int32_t x, std::int32_t y, std::int32_t width,
                  std::int32_t height, bool repaint);
// The parent before.
Outcome<WindowHandle> SetParent(WindowHandle child, WindowHandle parent);
Outcome<WindowHandle> GetParent(WindowHandle window);
Outcome<Rect> GetClientRect(WindowHandle window);
Outcome<Rect> GetWindowRect(WindowHandle window);
Outcome<Point> ScreenToClient(WindowHandle window, Point point);
Outcome<Point> ClientToScreen(WindowHandle window, Point point);
// Dialog units of the dialog's font to pixels.
Outcome<Rect> MapDialogRect(WindowHandle dialog, Rect rect);

// The user's answer (IdOk, IdCancel, ...).
Outcome<std::intptr_t> MessageBoxW(WindowHandle owner, std::u16string_view text,
                                   std::u16string_view caption, std::uint32_t type);

// An icon of the program's own resources, at the system's large icon size.
Outcome<IconHandle> LoadIconW(std::uint16_t resourceId);
int GetSystemMetrics(int index);
Outcome<CursorHandle> LoadCursorW(std::uint16_t systemCursor);
// The cursor before.
CursorHandle SetCursor(CursorHandle cursor);

// Painting: the device context of BeginPaint is valid until EndPaint.
struct PaintStruct {
    DeviceContext dc = nullptr;
    Rect paint;
};
Outcome<PaintStruct> BeginPaint(WindowHandle window);
void EndPaint(WindowHandle window, const PaintStruct& paint);

constexpr std::uint32_t Rgb(std::uint8_t red, std::uint8_t green, std::uint8_t blue) {
    return red | (green << 8) | (static_cast<std::uint32_t>(blue) << 16);
}
constexpr int PsSolid = 0;

struct GdiObjectTraits {
    static Status Close(RawHandle raw); // DeleteObject
};
using GdiObject = ScopedHandle<GdiObjectTraits>;

Outcome<GdiObject> CreatePen(int penStyle, int width, std::uint32_t colour);
// The object selected before, to be selected back before the pen is deleted.
Outcome<RawHandle> SelectObject(DeviceContext dc, RawHandle object);
Status MoveToEx(DeviceContext dc, std::int32_t x, std::int32_t y);
// Draws from the current position up to, not including, (x, y).
Status LineTo(DeviceContext dc, std::int32_t x, std::int32_t y);
Status DrawIcon(DeviceContext dc, std::int32_t x, std::int32_t y, IconHandle icon);

// Image lists.
constexpr std::uint32_t IlcMask = 0x0001;
constexpr std::uint32_t IlcColor16 = 0x0010;
constexpr std::uint32_t IlcColor32 = 0x0020;

struct ImageListTraits {
    static Status Close(RawHandle raw); // ImageList_Destroy
};
using ImageList = ScopedHandle<ImageListTraits>;

Outcome<ImageList> ImageList_Create(int cx, int cy, std::uint32_t flags, int initial, int grow);
// Appends the icon (index -1) and gives its index.
Outcome<int> ImageList_ReplaceIcon(RawHandle imageList, int index, IconHandle icon);
int ImageList_GetImageCount(RawHandle imageList);

// The list view, by the macros over its messages.
constexpr int LvsilNormal = 0;
constexpr std::uint32_t LvisFocused = 0x0001;
constexpr std::uint32_t LvisSelected = 0x0002;

// The image list before; the list view does not own it.
Outcome<RawHandle> ListView_SetImageList(WindowHandle listView, RawHandle imageList, int kind);
// Text only, image 0; the index the item got.
Outcome<int> ListView_InsertItem(WindowHandle listView, int index, std::u16string_view text);
// The item's text as a buffer of bufferChars characters receives it.
Outcome<std::u16string> ListView_GetItemText(WindowHandle listView, int index,
                                             std::size_t bufferChars);
Status ListView_SetItemState(WindowHandle listView, int index, std::uint32_t state,
                             std::uint32_t mask);
Outcome<std::uint32_t> ListView_GetItemState(WindowHandle listView, int index, std::uint32_t mask);
Outcome<int> ListView_GetItemCount(WindowHandle listView);
Outcome<int> ListView_GetSelectionMark(WindowHandle listView);
// The mark before.
Outcome<int> ListView_SetSelectionMark(WindowHandle listView, int index);

// The shell's folder browser and its allocator.
struct ShellMallocTraits {
    static Status Close(RawHandle raw); // IMalloc_Release
};
using ShellMalloc = ScopedHandle<ShellMallocTraits>;

Outcome<ShellMalloc> SHGetMalloc();
void IMalloc_Free(const ShellMalloc& allocator, ItemIdList item);

constexpr std::uint32_t BifReturnOnlyFsDirs = 0x0001;
constexpr std::uint32_t BifReturnFsAncestors = 0x0008;
constexpr std::uint32_t BifNewDialogStyle = 0x0040;

struct BrowseInfo {
    WindowHandle owner = nullptr;
    std::u16string title;
    std::uint32_t flags = 0;
};
// The chosen item, or nullptr when the user cancelled; the display name
// goes into a buffer of 260 characters.
Outcome<ItemIdList> SHBrowseForFolderW(const BrowseInfo& info);
// The item's file-system path, at most 259 characters.
Outcome<std::u16string> SHGetPathFromIDListW(ItemIdList item);

} // namespace platform
