// The simulated machine's UTF-8 to UTF-16 conversion (code page 65001).
#pragma once

#include <string>
#include <string_view>

namespace platform::sim {

// Converts as Windows does without flags: every ill-formed piece becomes one
// U+FFFD, so the result always has a value.
std::u16string DecodeUtf8Text(std::string_view bytes);

} // namespace platform::sim
