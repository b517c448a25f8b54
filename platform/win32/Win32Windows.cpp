// Windows and their data: text, ids, styles, state, geometry, messages and
// message boxes.
// The seam's header first: the SDK's macros of the same names must not reach it.
#include "platform/UserInterface.h"

#include <windows.h>

#include "platform/win32/Win32Error.h"
#include "platform/win32/Win32Strings.h"

// On a 32-bit build these are macros for the 32-bit calls.
#undef GetWindowLongPtrW
#undef SetWindowLongPtrW

namespace platform {
namespace {

HWND Native(WindowHandle window) {
    return static_cast<HWND>(window);
}

int IndexOf(WindowLong index) {
    switch (index) {
    case WindowLong::Style:
        return GWL_STYLE;
    case WindowLong::ExStyle:
        return GWL_EXSTYLE;
    case WindowLong::Id:
        return GWLP_ID;
    case WindowLong::DialogUser:
        return DWLP_USER;
    }
    return GWL_STYLE;
}

LONG_PTR NativeGetLong(HWND window, int index) {
#ifdef _WIN64
    return ::GetWindowLongPtrW(window, index);
#else
    return ::GetWindowLongW(window, index);
#endif
}

LONG_PTR NativeSetLong(HWND window, int index, LONG_PTR value) {
#ifdef _WIN64
    return ::SetWindowLongPtrW(window, index, value);
#else
    return ::SetWindowLongW(window, index, value);
#endif
}

template <class T> Outcome<T> NoWindow() {
    return Outcome<T>::Failure(ErrorInvalidWindowHandle);
}

Rect FromNative(const RECT& rect) {
    return {rect.left, rect.top, rect.right, rect.bottom};
}

// A call whose failure value is also a valid result: the result, or the
// error the call left.
template <class T> Outcome<T> Checked(T value, bool maybeFailed) {
    if (maybeFailed) {
        if (WinError error = win32::LastErrorIfAny())
            return Outcome<T>(value, error);
    }
    return value;
}

} // namespace

Status DestroyWindow(WindowHandle window) {
    return win32::StatusOf(::DestroyWindow(Native(window)));
}

bool IsWindow(WindowHandle window) {
    return ::IsWindow(Native(window));
}

Outcome<std::intptr_t> SendMessageW(WindowHandle window, std::uint32_t message,
                                    std::uintptr_t wParam, std::intptr_t lParam) {
    if (!::IsWindow(Native(window)))
        return NoWindow<std::intptr_t>();
    return static_cast<std::intptr_t>(::SendMessageW(Native(window), message, wParam, lParam));
}

Outcome<std::u16string> GetWindowTextW(WindowHandle window) {
    if (!::IsWindow(Native(window)))
        return NoWindow<std::u16string>();
    int length = ::GetWindowTextLengthW(Native(window));
    std::wstring buffer(static_cast<std::size_t>(length) + 1, L'\0');
    ::SetLastError(0);
    int copied = ::GetWindowTextW(Native(window), buffer.data(), length + 1);
    auto text = Checked(copied, copied == 0);
    if (!text)
        return Outcome<std::u16string>::Failure(text.error);
    return win32::FromWide(std::wstring_view(buffer.data(), static_cast<std::size_t>(copied)));
}

Status SetWindowTextW(WindowHandle window, std::u16string_view text) {
    std::wstring wide = win32::ToWide(text);
    return win32::StatusOf(::SetWindowTextW(Native(window), wide.c_str()));
}

Outcome<WindowHandle> GetDlgItem(WindowHandle dialog, std::int32_t id) {
    HWND control = ::GetDlgItem(Native(dialog), id);
    if (!control)
        return Outcome<WindowHandle>::Failure(win32::LastError());
    return static_cast<WindowHandle>(control);
}

Outcome<WindowHandle> GetWindow(WindowHandle window, std::uint32_t relation) {
    ::SetLastError(0);
    HWND found = ::GetWindow(Native(window), relation);
    return Checked(static_cast<WindowHandle>(found), found == nullptr);
}

Outcome<std::intptr_t> GetWindowLongPtrW(WindowHandle window, WindowLong index) {
    ::SetLastError(0);
    LONG_PTR value = NativeGetLong(Native(window), IndexOf(index));
    return Checked(static_cast<std::intptr_t>(value), value == 0);
}

Outcome<std::intptr_t> SetWindowLongPtrW(WindowHandle window, WindowLong index,
                                         std::intptr_t value) {
    ::SetLastError(0);
    LONG_PTR before = NativeSetLong(Native(window), IndexOf(index), value);
    return Checked(static_cast<std::intptr_t>(before), before == 0);
}

Outcome<bool> EnableWindow(WindowHandle window, bool enable) {
    if (!::IsWindow(Native(window)))
        return NoWindow<bool>();
    return ::EnableWindow(Native(window), enable) != 0;
}

bool IsWindowEnabled(WindowHandle window) {
    return ::IsWindowEnabled(Native(window));
}

Outcome<bool> ShowWindow(WindowHandle window, int command) {
    if (!::IsWindow(Native(window)))
        return NoWindow<bool>();
    return ::ShowWindow(Native(window), command) != 0;
}

bool IsWindowVisible(WindowHandle window) {
    return ::IsWindowVisible(Native(window));
}

bool IsIconic(WindowHandle window) {
    return ::IsIconic(Native(window));
}

Outcome<WindowHandle> SetFocus(WindowHandle window) {
    ::SetLastError(0);
    HWND before = ::SetFocus(Native(window));
    return Checked(static_cast<WindowHandle>(before), before == nullptr);
}

WindowHandle GetFocus() {
    return ::GetFocus();
}

Status MoveWindow(WindowHandle window, std::int32_t x, std::int32_t y, std::int32_t width,
                  std::int32_t height, bool repaint) {
    return win32::StatusOf(::MoveWindow(Native(window), x, y, width, height, repaint));
}

Outcome<WindowHandle> SetParent(WindowHandle child, WindowHandle parent) {
    ::SetLastError(0);
    HWND before = ::SetParent(Native(child), Native(parent));
    return Checked(static_cast<WindowHandle>(before), before == nullptr);
}

Outcome<WindowHandle> GetParent(WindowHandle window) {
    ::SetLastError(0);
    HWND parent = ::GetParent(Native(window));
    return Checked(static_cast<WindowHandle>(parent), parent == nullptr);
}

Outcome<Rect> GetClientRect(WindowHandle window) {
    RECT rect{};
    if (!::GetClientRect(Native(window), &rect))
        return Outcome<Rect>::Failure(win32::LastError());
    return FromNative(rect);
}

Outcome<Rect> GetWindowRect(WindowHandle window) {
    RECT rect{};
    if (!::GetWindowRect(Native(window), &rect))
        return Outcome<Rect>::Failure(win32::LastError());
    return FromNative(rect);
}

Outcome<Point> ScreenToClient(WindowHandle window, Point point) {
    POINT native{point.x, point.y};
    if (!::ScreenToClient(Native(window), &native))
        return Outcome<Point>::Failure(win32::LastError());
    return Point{native.x, native.y};
}

Outcome<Point> ClientToScreen(WindowHandle window, Point point) {
    POINT native{point.x, point.y};
    if (!::ClientToScreen(Native(window), &native))
        return Outcome<Point>::Failure(win32::LastError());
    return Point{native.x, native.y};
}

Outcome<Rect> MapDialogRect(WindowHandle dialog, Rect rect) {
    RECT native{rect.left, rect.top, rect.right, rect.bottom};
    if (!::MapDialogRect(Native(dialog), &native))
        return Outcome<Rect>::Failure(win32::LastError());
    return FromNative(native);
}

Outcome<std::intptr_t> MessageBoxW(WindowHandle owner, std::u16string_view text,
                                   std::u16string_view caption, std::uint32_t type) {
    std::wstring wideText = win32::ToWide(text);
    std::wstring wideCaption = win32::ToWide(caption);
    int answer = ::MessageBoxW(Native(owner), wideText.c_str(), wideCaption.c_str(), type);
    if (answer == 0)
        return Outcome<std::intptr_t>(0, win32::LastError());
    return static_cast<std::intptr_t>(answer);
}

} // namespace platform
