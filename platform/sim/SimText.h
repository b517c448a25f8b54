// Name comparison for the simulated areas: Windows matches object names
// (queues, ports, services, keys, device paths) without regard to case.
#pragma once

#include <string>
#include <string_view>

namespace platform::sim {

template <class Char> Char FoldCase(Char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<Char>(c - 'A' + 'a') : c;
}

template <class Char>
bool SameName(std::basic_string_view<Char> a, std::basic_string_view<Char> b) {
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (FoldCase(a[i]) != FoldCase(b[i]))
            return false;
    return true;
}

inline bool SameName(std::u16string_view a, std::u16string_view b) {
    return SameName<char16_t>(a, b);
}

template <class Char> std::basic_string<Char> FoldedName(std::basic_string_view<Char> name) {
    std::basic_string<Char> folded(name);
    for (Char& c : folded)
        c = FoldCase(c);
    return folded;
}

} // namespace platform::sim
