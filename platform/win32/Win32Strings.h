// The one place where the seam's UTF-16 strings meet the API's wide strings;
// wchar_t is 16 bits on Windows, so the conversion copies code units as they are.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace platform::win32 {

std::wstring ToWide(std::u16string_view text);
std::u16string FromWide(const wchar_t* text);
std::u16string FromWide(std::wstring_view text);

// A pointer to the text, or null for an empty one (the API's "none").
const wchar_t* OrNull(const std::wstring& text);
wchar_t* OrNullMutable(std::wstring& text);

// A double-terminated list of strings, or empty for an empty list.
std::wstring ToMultiString(const std::vector<std::u16string>& items);

} // namespace platform::win32
