// MultiByteToWideChar over the real API: measure, then convert, no flags.
#include <windows.h>

#include <climits>

#include "platform/System.h"

namespace platform {

Outcome<std::u16string> MultiByteToWideChar(std::uint32_t codePage, std::string_view bytes) {
    if (bytes.size() > static_cast<std::size_t>(INT_MAX))
        return Outcome<std::u16string>::Failure(ErrorInvalidParameter);
    int inLength = static_cast<int>(bytes.size());
    int needed = ::MultiByteToWideChar(codePage, 0, bytes.data(), inLength, nullptr, 0);
    if (needed <= 0)
        return Outcome<std::u16string>::Failure(::GetLastError());
    // wchar_t is 16 bits here, so the text is the API's units as they are.
    std::wstring wide(static_cast<std::size_t>(needed), L'\0');
    int written = ::MultiByteToWideChar(codePage, 0, bytes.data(), inLength, wide.data(), needed);
    if (written <= 0)
        return Outcome<std::u16string>::Failure(::GetLastError());
    return std::u16string(wide.begin(), wide.begin() + written);
}

} // namespace platform
