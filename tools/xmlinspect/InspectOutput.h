// The tool's report of a document: the outcome, the flags and the log, then
// one line per element in document order.
#pragma once

#include <string>
#include <vector>

#include "xml/XmlDocument.h"

// UTF-8 of a UTF-16 text; a lone surrogate becomes U+FFFD.
std::string Utf8Of(std::u16string_view text);

// A JSON string literal: non-ASCII as UTF-8, control characters and lone
// surrogates as \uXXXX.
std::string JsonOf(std::u16string_view text);

// Walks the document with its own cursor; the cursor ends at the top level.
std::string DescribeDocument(xml::XmlDocument& document, bool parsed,
                             const std::vector<std::u16string>& attributes);
