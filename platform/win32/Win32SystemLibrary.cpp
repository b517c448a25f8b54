#include "platform/win32/Win32SystemLibrary.h"

#include "platform/win32/Win32Error.h"

namespace platform::win32 {

SystemExport FindSystemExport(const wchar_t* library, const char* exportName) {
    HMODULE module = ::LoadLibraryExW(library, nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);
    if (!module)
        return {nullptr, LastError()};
    FARPROC address = ::GetProcAddress(module, exportName);
    if (!address)
        return {nullptr, LastError()};
    return {address, ErrorSuccess};
}

} // namespace platform::win32
