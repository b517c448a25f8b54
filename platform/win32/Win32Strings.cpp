#include "platform/win32/Win32Strings.h"

#include <cwchar>

namespace platform::win32 {

static_assert(sizeof(wchar_t) == sizeof(char16_t), "Windows wide strings are UTF-16");

std::wstring ToWide(std::u16string_view text) {
    std::wstring wide(text.size(), L'\0');
    for (std::size_t i = 0; i < text.size(); ++i)
        wide[i] = static_cast<wchar_t>(text[i]);
    return wide;
}

std::u16string FromWide(std::wstring_view text) {
    std::u16string narrow(text.size(), u'\0');
    for (std::size_t i = 0; i < text.size(); ++i)
        narrow[i] = static_cast<char16_t>(text[i]);
    return narrow;
}

std::u16string FromWide(const wchar_t* text) {
    if (!text)
        return {};
    return FromWide(std::wstring_view(text, std::wcslen(text)));
}

const wchar_t* OrNull(const std::wstring& text) {
    return text.empty() ? nullptr : text.c_str();
}

wchar_t* OrNullMutable(std::wstring& text) {
    return text.empty() ? nullptr : text.data();
}

std::wstring ToMultiString(const std::vector<std::u16string>& items) {
    if (items.empty())
        return {};
    std::wstring list;
    for (const std::u16string& item : items) {
        list += ToWide(item);
        list.push_back(L'\0');
    }
    list.push_back(L'\0');
    return list;
}

} // namespace platform::win32
