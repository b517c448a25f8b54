#include "tools/mediacheck/TextPlaces.h"

#include <algorithm>

CTextPlaces::CTextPlaces(std::u16string_view text) : m_text(text), m_lineStarts{0} {
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == u'\r' && i + 1 < text.size() && text[i + 1] == u'\n')
            continue;
        if (text[i] == u'\n' || text[i] == u'\r')
            m_lineStarts.push_back(static_cast<std::int32_t>(i + 1));
    }
}

TextPlace CTextPlaces::PlaceOf(std::int32_t offset) const {
    offset = std::clamp<std::int32_t>(offset, 0, static_cast<std::int32_t>(m_text.size()));
    auto next = std::upper_bound(m_lineStarts.begin(), m_lineStarts.end(), offset);
    const std::int32_t start = *(next - 1);
    std::int32_t column = 1;
    for (std::int32_t i = start; i < offset; ++i) {
        const char16_t c = m_text[static_cast<std::size_t>(i)];
        // The low half of a pair is no character of its own.
        if (!(c >= 0xDC00 && c < 0xE000 && i > start &&
              m_text[static_cast<std::size_t>(i - 1)] >= 0xD800 &&
              m_text[static_cast<std::size_t>(i - 1)] < 0xDC00))
            ++column;
    }
    return {static_cast<std::int32_t>(next - m_lineStarts.begin()), column};
}
