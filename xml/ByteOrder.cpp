// Byte work on what was read from a file: zero units dropped, big-endian
// UTF-16 turned round, and the document's own UTF-32 decoding.
#include <algorithm>

#include "xml/Encoding.h"

namespace xml {
namespace {

// Most files hold no zero at all: find the first before moving anything.
template <class Units> std::size_t RemoveZeros(Units& units) {
    auto first = std::find(units.begin(), units.end(), typename Units::value_type{0});
    if (first == units.end())
        return 0;
    auto kept = std::remove(first, units.end(), typename Units::value_type{0});
    auto removed = static_cast<std::size_t>(units.end() - kept);
    units.erase(kept, units.end());
    return removed;
}

} // namespace

std::size_t RemoveNulBytes(std::string& bytes) {
    return RemoveZeros(bytes);
}

std::size_t RemoveNulUnits(std::u16string& units) {
    return RemoveZeros(units);
}

void SwapByteOrder(std::u16string& units) {
    for (char16_t& unit : units)
        unit = static_cast<char16_t>((unit << 8) | (unit >> 8));
}

std::u16string DecodeOwnUtf32(std::string_view bytes) {
    std::u16string out;
    out.reserve(bytes.size() / 4 + bytes.size() / 400);
    for (std::size_t i = 0; i + 4 <= bytes.size(); i += 4) {
        std::uint32_t v = 0;
        for (std::size_t k = 4; k-- > 0;)
            v = (v << 8) | static_cast<unsigned char>(bytes[i + k]);
        if (v < 0x10000) {
            out.push_back(static_cast<char16_t>(v));
            continue;
        }
        out.push_back(static_cast<char16_t>(0xD800 | (((v - 0x10000) >> 10) & 0x3FF)));
        out.push_back(static_cast<char16_t>(0xDC00 | (v & 0x3FF)));
    }
    return out;
}

} // namespace xml
