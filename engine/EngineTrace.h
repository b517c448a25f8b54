// The engine's one trace line, written to the debugger output channel after
// every copy and every folder creation.
#pragma once

#include "platform/Error.h"

// "GetLastError: %d\r\n" with the call's system error code.
void TraceLastError(platform::WinError error);
