#include "engine/EngineTrace.h"

#include <algorithm>
#include <cstdio>

#include "platform/System.h"

std::string FormatErrorLine(const char* format, platform::WinError error) {
    char line[100];
    int length = std::snprintf(line, sizeof line, format, static_cast<int>(error));
    return std::string(line, length < 0 ? 0 : std::min<std::size_t>(length, sizeof line - 1));
}

void TraceLastError(platform::WinError error) {
    platform::OutputDebugStringA(FormatErrorLine("GetLastError: %d\r\n", error));
}
