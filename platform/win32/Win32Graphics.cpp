// Icons of the program's resources, cursors, painting, pens and lines.
// The seam's header first: the SDK's macros of the same names must not reach it.
#include "platform/UserInterface.h"

#include <windows.h>

#include "platform/win32/Win32Error.h"

namespace platform {

Outcome<IconHandle> LoadIconW(std::uint16_t resourceId) {
    HICON icon = ::LoadIconW(::GetModuleHandleW(nullptr), MAKEINTRESOURCEW(resourceId));
    if (!icon)
        return Outcome<IconHandle>::Failure(win32::LastError());
    return static_cast<IconHandle>(icon);
}

int GetSystemMetrics(int index) {
    return ::GetSystemMetrics(index);
}

Outcome<CursorHandle> LoadCursorW(std::uint16_t systemCursor) {
    HCURSOR cursor = ::LoadCursorW(nullptr, MAKEINTRESOURCEW(systemCursor));
    if (!cursor)
        return Outcome<CursorHandle>::Failure(win32::LastError());
    return static_cast<CursorHandle>(cursor);
}

CursorHandle SetCursor(CursorHandle cursor) {
    return ::SetCursor(static_cast<HCURSOR>(cursor));
}

Outcome<PaintStruct> BeginPaint(WindowHandle window) {
    PAINTSTRUCT paint{};
    HDC dc = ::BeginPaint(static_cast<HWND>(window), &paint);
    if (!dc)
        return Outcome<PaintStruct>::Failure(win32::LastError());
    return PaintStruct{
        dc, {paint.rcPaint.left, paint.rcPaint.top, paint.rcPaint.right, paint.rcPaint.bottom}};
}

void EndPaint(WindowHandle window, const PaintStruct& paint) {
    PAINTSTRUCT native{};
    native.hdc = static_cast<HDC>(paint.dc);
    native.rcPaint = {paint.paint.left, paint.paint.top, paint.paint.right, paint.paint.bottom};
    ::EndPaint(static_cast<HWND>(window), &native);
}

Status GdiObjectTraits::Close(RawHandle raw) {
    return ::DeleteObject(static_cast<HGDIOBJ>(raw)) ? Status{} : Failure(ErrorInvalidHandle);
}

Outcome<GdiObject> CreatePen(int penStyle, int width, std::uint32_t colour) {
    HPEN pen = ::CreatePen(penStyle, width, colour);
    if (!pen)
        return Outcome<GdiObject>::Failure(win32::LastError());
    return Outcome<GdiObject>(GdiObject(pen));
}

Outcome<RawHandle> SelectObject(DeviceContext dc, RawHandle object) {
    HGDIOBJ before = ::SelectObject(static_cast<HDC>(dc), static_cast<HGDIOBJ>(object));
    if (!before || before == HGDI_ERROR)
        return Outcome<RawHandle>::Failure(ErrorInvalidHandle);
    return static_cast<RawHandle>(before);
}

Status MoveToEx(DeviceContext dc, std::int32_t x, std::int32_t y) {
    return ::MoveToEx(static_cast<HDC>(dc), x, y, nullptr) ? Status{} : Failure(ErrorInvalidHandle);
}

Status LineTo(DeviceContext dc, std::int32_t x, std::int32_t y) {
    return ::LineTo(static_cast<HDC>(dc), x, y) ? Status{} : Failure(ErrorInvalidHandle);
}

Status DrawIcon(DeviceContext dc, std::int32_t x, std::int32_t y, IconHandle icon) {
    return win32::StatusOf(::DrawIcon(static_cast<HDC>(dc), x, y, static_cast<HICON>(icon)));
}

} // namespace platform
