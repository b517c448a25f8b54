#include "statusservice/RegistryText.h"

#include <algorithm>
#include <cstdio>

#include "platform/System.h"
#include "statusservice/WideText.h"

namespace statusservice {

std::string FormatKeyName(const char* keyTemplate, std::u16string_view argument) {
    char buffer[KeyNameBufferSize];
    std::string narrow = Narrow(argument);
    int length = std::snprintf(buffer, sizeof buffer, keyTemplate, narrow.c_str());
    if (length < 0)
        return {};
    return std::string(buffer,
                       std::min<std::size_t>(static_cast<std::size_t>(length), sizeof buffer - 1));
}

std::u16string WideFromAnsi(std::string_view text) {
    platform::Outcome<std::u16string> wide = platform::MultiByteToWideChar(platform::CpAcp, text);
    return wide ? wide.value : std::u16string();
}

} // namespace statusservice
