// The registry, read only, under HKEY_LOCAL_MACHINE.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "platform/Error.h"
#include "platform/Handle.h"

namespace platform {

constexpr std::uint32_t KeyRead = 0x20019;

struct RegKeyTraits {
    static Status Close(RawHandle raw); // RegCloseKey
};
using RegKey = ScopedHandle<RegKeyTraits>;

// A sub-key of HKEY_LOCAL_MACHINE, named in 8-bit text.
Outcome<RegKey> RegOpenKeyExA(std::string_view subKey, std::uint32_t samDesired);
// A string value as its 8-bit bytes, without the terminator; bufferSize is the
// size of the caller's buffer in bytes (ErrorMoreData when it is too small).
Outcome<std::string> RegQueryValueExA(const RegKey& key, std::string_view valueName,
                                      std::uint32_t bufferSize);

constexpr WinError ErrorMoreData = 234;

} // namespace platform
