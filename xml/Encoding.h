// Encodings of the files a document is loaded from: encoding names and their
// code pages, the declared encoding of a text, UTF-8 detection, and the byte
// work done on what was read.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace xml {

// Not a Windows code page: the document's own little-endian UTF-32 decoding,
// chosen by names that begin with "UTF-32" in upper case.
constexpr std::int32_t CodePageOwnUtf32 = 65005;
constexpr std::int32_t CodePageUtf16 = 1200;
constexpr std::int32_t CodePageUnknown = -1;

// The code page of an encoding name; 0 for an empty name, -1 when unknown.
std::int32_t CodePageOf(std::u16string_view name);

// The encoding named by an XML declaration or an HTML meta tag at the start
// of the text, not decoded; empty when there is none.
std::u16string SniffDeclaredEncoding(std::u16string_view text);

// Decodes one sequence, advancing cursor past it; -1 when it is invalid.
std::int32_t DecodeUtf8(const unsigned char*& cursor, const unsigned char* end);

// Whether every byte of 0x80 or above starts a sequence DecodeUtf8 accepts.
bool LooksLikeUtf8(std::string_view bytes);

// Drop the zero units, keeping the others in order; the number dropped.
std::size_t RemoveNulBytes(std::string& bytes);
std::size_t RemoveNulUnits(std::u16string& units);

void SwapByteOrder(std::u16string& units);

// Little-endian 32-bit units to UTF-16; a trailing partial unit is dropped.
std::u16string DecodeOwnUtf32(std::string_view bytes);

} // namespace xml
