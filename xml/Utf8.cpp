// The document's own UTF-8 reading, used to decide whether undeclared bytes
// are UTF-8. It is deliberately lax: overlong forms and surrogates pass.
#include "xml/Encoding.h"

#include <cstdint>
#include <cstring>

namespace xml {

std::int32_t DecodeUtf8(const unsigned char*& cursor, const unsigned char* end) {
    unsigned char lead = *cursor++;
    if (lead < 0x80)
        return lead;
    int continuations = 0;
    std::int32_t value = 0;
    if (!(lead & 0x20)) {
        continuations = 1;
        value = lead & 0x1F;
    } else if (!(lead & 0x10)) {
        continuations = 2;
        value = lead & 0x0F;
    } else if (!(lead & 0x08)) {
        continuations = 3;
        value = lead & 0x07;
    } else {
        return -1;
    }
    for (; continuations > 0; --continuations) {
        if (cursor == end || *cursor < 0x80)
            return -1;
        value = (value << 6) | (*cursor++ & 0x3F);
    }
    return value;
}

bool LooksLikeUtf8(std::string_view bytes) {
    const auto* cursor = reinterpret_cast<const unsigned char*>(bytes.data());
    const unsigned char* end = cursor + bytes.size();
    while (cursor != end) {
        // ASCII, the bulk of most documents, eight bytes at a time.
        std::uint64_t word;
        if (end - cursor >= 8 &&
            (std::memcpy(&word, cursor, sizeof word), (word & 0x8080808080808080ull) == 0)) {
            cursor += 8;
            continue;
        }
        if (DecodeUtf8(cursor, end) < 0)
            return false;
    }
    return true;
}

} // namespace xml
