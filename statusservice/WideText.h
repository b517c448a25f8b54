// The few operations on UTF-16 text the service needs.
#pragma once

#include <string>
#include <string_view>

namespace statusservice {

// Letter case ignored for ASCII letters only, as the C locale's _wcsicmp does.
bool EqualsIgnoringCase(std::u16string_view a, std::u16string_view b);
bool Contains(std::u16string_view text, std::u16string_view part);
// 8-bit form of text made of ASCII (device paths, port names); any other
// unit becomes '?'.
std::string Narrow(std::u16string_view text);

} // namespace statusservice
