// The shell's folder browser and its allocator.
// The seam's header first: the SDK's macros of the same names must not reach it.
#include "platform/UserInterface.h"

#include <windows.h>

#include <objbase.h>
#include <shlobj.h>

#include "platform/win32/Win32Error.h"
#include "platform/win32/Win32Strings.h"

namespace platform {
namespace {

// A failed HRESULT as the Windows error it carries, or as itself.
WinError ErrorOf(HRESULT result) {
    if (HRESULT_FACILITY(result) == FACILITY_WIN32)
        return static_cast<WinError>(HRESULT_CODE(result));
    return static_cast<WinError>(result);
}

} // namespace

Outcome<ShellMalloc> SHGetMalloc() {
    IMalloc* allocator = nullptr;
    HRESULT result = ::SHGetMalloc(&allocator);
    if (FAILED(result))
        return Outcome<ShellMalloc>::Failure(ErrorOf(result));
    return Outcome<ShellMalloc>(ShellMalloc(allocator));
}

Status ShellMallocTraits::Close(RawHandle raw) {
    static_cast<IMalloc*>(raw)->Release(); // the count it answers is no outcome
    return {};
}

void IMalloc_Free(const ShellMalloc& allocator, ItemIdList item) {
    static_cast<IMalloc*>(allocator.Get())->Free(item);
}

Outcome<ItemIdList> SHBrowseForFolderW(const BrowseInfo& info) {
    // The new dialog style needs a single-threaded apartment on the calling
    // thread; a thread that has one keeps it.
    HRESULT apartment = ::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    std::wstring title = win32::ToWide(info.title);
    wchar_t displayName[MAX_PATH] = {};
    BROWSEINFOW browse{};
    browse.hwndOwner = static_cast<HWND>(info.owner);
    browse.pszDisplayName = displayName;
    browse.lpszTitle = title.c_str();
    browse.ulFlags = info.flags;
    PIDLIST_ABSOLUTE item = ::SHBrowseForFolderW(&browse);
    if (SUCCEEDED(apartment))
        ::CoUninitialize();
    return static_cast<ItemIdList>(item);
}

Outcome<std::u16string> SHGetPathFromIDListW(ItemIdList item) {
    wchar_t path[MAX_PATH] = {};
    if (!::SHGetPathFromIDListW(static_cast<PCIDLIST_ABSOLUTE>(item), path))
        return Outcome<std::u16string>::Failure(ErrorInvalidParameter);
    return win32::FromWide(path);
}

} // namespace platform
