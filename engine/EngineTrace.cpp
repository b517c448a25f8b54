#include "engine/EngineTrace.h"

#include <cstdio>

#include "platform/System.h"

void TraceLastError(platform::WinError error) {
    char line[100];
    int length = std::snprintf(line, sizeof line, "GetLastError: %d\r\n", static_cast<int>(error));
    platform::OutputDebugStringA(std::string_view(line, static_cast<std::size_t>(length)));
}
