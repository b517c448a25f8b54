// Registry key names and values as the service reads them: 8-bit text.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace statusservice {

constexpr std::uint32_t RegistryValueBufferSize = 200;
constexpr int KeyNameBufferSize = 500;

// A key name from an 8-bit template with one %s, filled with the 8-bit form
// of argument; cut to fit the 500-byte buffer.
std::string FormatKeyName(const char* keyTemplate, std::u16string_view argument);
// 8-bit text to UTF-16 with the thread's ANSI code page; empty when that
// fails.
std::u16string WideFromAnsi(std::string_view text);

} // namespace statusservice
