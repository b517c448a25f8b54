// FormatMessageW over the real API: the system table, inserts ignored,
// default language, into a buffer of the caller's size.
#include <windows.h>

#include <vector>

#include "platform/System.h"

namespace platform {

Outcome<std::u16string> FormatMessageW(WinError messageId, std::uint32_t bufferChars) {
    std::vector<wchar_t> buffer(bufferChars + 1u, L'\0');
    DWORD length = ::FormatMessageW(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                                    nullptr, messageId, 0, buffer.data(), bufferChars, nullptr);
    if (length == 0)
        return Outcome<std::u16string>::Failure(::GetLastError());
    return std::u16string(buffer.begin(), buffer.begin() + length);
}

} // namespace platform
