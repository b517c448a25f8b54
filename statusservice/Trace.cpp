#include "statusservice/Trace.h"

#include <cstdarg>
#include <cstdio>

#include "platform/System.h"

namespace statusservice {

void Trace(const char* format, ...) {
    char buffer[TraceBufferSize];
    va_list args;
    va_start(args, format);
    int length = std::vsnprintf(buffer, sizeof buffer, format, args);
    va_end(args);
    if (length < 0)
        return;
    std::size_t kept = static_cast<std::size_t>(length) < sizeof buffer
                           ? static_cast<std::size_t>(length)
                           : sizeof buffer - 1;
    platform::OutputDebugStringA(std::string_view(buffer, kept));
}

void TraceToStandardOutput(std::string_view text) {
    platform::WriteStandardOutput(text);
}

} // namespace statusservice
