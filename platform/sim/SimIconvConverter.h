// The simulated machine's conversions of the Windows code pages that the
// host's iconv also knows.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace platform::sim {

// The iconv name that stands for a Windows code page, or null for a code
// page the simulation cannot convert.
const char* IconvNameOf(std::uint32_t codePage);

// The bytes in UTF-16, or none when the code page cannot be converted.
std::optional<std::u16string> ConvertWithIconv(std::uint32_t codePage, std::string_view bytes);

} // namespace platform::sim
