#include "platform/Registry.h"

#include <windows.h>

#include <vector>

#include "platform/win32/Win32Error.h"

namespace platform {

// The registry answers with its own code, not the thread's last error.
Status RegKeyTraits::Close(RawHandle raw) {
    LSTATUS result = ::RegCloseKey(static_cast<HKEY>(raw));
    return Status{static_cast<WinError>(result)};
}

Outcome<RegKey> RegOpenKeyExA(std::string_view subKey, std::uint32_t samDesired) {
    std::string name(subKey);
    HKEY key = nullptr;
    LSTATUS result = ::RegOpenKeyExA(HKEY_LOCAL_MACHINE, name.c_str(), 0, samDesired, &key);
    if (result != ERROR_SUCCESS)
        return Outcome<RegKey>::Failure(static_cast<WinError>(result));
    return Outcome<RegKey>(RegKey(key));
}

Outcome<std::string> RegQueryValueExA(const RegKey& key, std::string_view valueName,
                                      std::uint32_t bufferSize) {
    std::string name(valueName);
    std::vector<char> buffer(std::size_t{bufferSize} + 1, '\0');
    DWORD size = bufferSize;
    LSTATUS result = ::RegQueryValueExA(static_cast<HKEY>(key.Get()), name.c_str(), nullptr,
                                        nullptr, reinterpret_cast<LPBYTE>(buffer.data()), &size);
    if (result != ERROR_SUCCESS)
        return Outcome<std::string>::Failure(static_cast<WinError>(result));
    // Read as the caller's C string would be: up to the first terminator.
    std::string value(buffer.data(), size);
    return Outcome<std::string>(value.substr(0, value.find('\0')));
}

} // namespace platform
