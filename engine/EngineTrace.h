// The engine's trace lines: one to the debugger output channel after every
// copy and every folder creation, and the service removal's lines on
// standard output.
#pragma once

#include <string>

#include "platform/Error.h"

// A printf format with one %d for the error code, into a 100-byte buffer.
std::string FormatErrorLine(const char* format, platform::WinError error);

// "GetLastError: %d\r\n" with the call's system error code.
void TraceLastError(platform::WinError error);
