#include "platform/win32/Win32Error.h"

namespace platform::win32 {

WinError LastError() {
    DWORD error = ::GetLastError();
    // A failing call that left no code must still read as a failure.
    return error == ERROR_SUCCESS ? ErrorGenFailure : static_cast<WinError>(error);
}

WinError LastErrorIfAny() {
    return static_cast<WinError>(::GetLastError());
}

Status StatusOf(BOOL succeeded) {
    if (succeeded)
        return Status{};
    return Failure(LastError());
}

RawHandle Normalise(HANDLE raw) {
    if (raw == INVALID_HANDLE_VALUE)
        return nullptr;
    return raw;
}

} // namespace platform::win32
