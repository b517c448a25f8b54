// Lines and columns of offsets into a document's text.
#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

#include "tools/mediacheck/MediumReport.h"

class CTextPlaces {
  public:
    CTextPlaces() = default;
    explicit CTextPlaces(std::u16string_view text);

    // A line ends at LF, at CR LF or at a CR alone; a column counts
    // characters, a surrogate pair as one.
    TextPlace PlaceOf(std::int32_t offset) const;

  private:
    std::u16string_view m_text;
    std::vector<std::int32_t> m_lineStarts;
};
