// The service's traces: each formatted into a 100-byte buffer (longer text is
// cut to fit) and written to the debugger output channel.
#pragma once

#include <string_view>

namespace statusservice {

constexpr int TraceBufferSize = 100;

[[gnu::format(printf, 1, 2)]] void Trace(const char* format, ...);
void TraceToStandardOutput(std::string_view text);

} // namespace statusservice
