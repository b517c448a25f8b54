// The one place where the thread's last error becomes the seam's WinError,
// and where the API's two kinds of invalid handle become nullptr.
#pragma once

#include <windows.h>

#include "platform/Error.h"
#include "platform/Handle.h"

namespace platform::win32 {

WinError LastError();
// The thread's last error as it stands, ErrorSuccess included: for calls
// whose failure value is also a valid result, after SetLastError(0).
WinError LastErrorIfAny();

// The outcome of a call that reports failure by a zero BOOL.
Status StatusOf(BOOL succeeded);

// NULL and INVALID_HANDLE_VALUE both read as no handle.
RawHandle Normalise(HANDLE raw);

// A handle outcome: the handle when valid, the last error otherwise.
template <class H> Outcome<H> HandleOutcome(HANDLE raw) {
    RawHandle normal = Normalise(raw);
    if (!normal)
        return Outcome<H>::Failure(LastError());
    return Outcome<H>(H(normal));
}

} // namespace platform::win32
