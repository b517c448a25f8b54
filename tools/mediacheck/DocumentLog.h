// What a document's result log tells a medium's author: where the XML is
// ill-formed or why the file could not be read, and how it was decoded.
#pragma once

#include <string>
#include <vector>

#include "tools/mediacheck/MediumReport.h"
#include "tools/mediacheck/TextPlaces.h"
#include "xml/XmlDocument.h"

// One error per log record that explains a failed load, in log order.
std::vector<Finding> LoadErrors(const xml::XmlDocument& document, const CTextPlaces& places);

struct ReadEncoding {
    std::u16string name;   // empty: the system's ANSI code page
    std::u16string source; // how it was chosen
};
ReadEncoding EncodingOf(const xml::XmlDocument& document);
