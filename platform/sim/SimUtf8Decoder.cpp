#include "platform/sim/SimUtf8Decoder.h"

#include <cstdint>
#include <cstring>

namespace platform::sim {
namespace {

constexpr char16_t Replacement = 0xFFFD;

struct LeadInfo {
    int continuations = -1; // -1: never a lead byte
    unsigned char secondLow = 0x80;
    unsigned char secondHigh = 0xBF;
    char32_t bits = 0;
};

// The lead byte fixes the length and the range of the second byte, which is
// what rules out overlong forms, surrogates and values past U+10FFFF.
LeadInfo InfoOf(unsigned char b) {
    if (b >= 0xC2 && b <= 0xDF)
        return {1, 0x80, 0xBF, b & 0x1Fu};
    if (b >= 0xE0 && b <= 0xEF) {
        unsigned char low = b == 0xE0 ? 0xA0 : 0x80;
        unsigned char high = b == 0xED ? 0x9F : 0xBF;
        return {2, low, high, b & 0x0Fu};
    }
    if (b >= 0xF0 && b <= 0xF4) {
        unsigned char low = b == 0xF0 ? 0x90 : 0x80;
        unsigned char high = b == 0xF4 ? 0x8F : 0xBF;
        return {3, low, high, b & 0x07u};
    }
    return {};
}

bool IsContinuation(unsigned char b) {
    return b >= 0x80 && b <= 0xBF;
}

void AppendCodePoint(std::u16string& out, char32_t c) {
    if (c < 0x10000) {
        out.push_back(static_cast<char16_t>(c));
        return;
    }
    c -= 0x10000;
    out.push_back(static_cast<char16_t>(0xD800 | (c >> 10)));
    out.push_back(static_cast<char16_t>(0xDC00 | (c & 0x3FF)));
}

// Decodes the sequence at bytes[i] and returns how many bytes it used.
std::size_t DecodeOne(std::string_view bytes, std::size_t i, std::u16string& out) {
    auto at = [&](std::size_t k) { return static_cast<unsigned char>(bytes[k]); };
    unsigned char lead = at(i);
    if (lead < 0x80) {
        out.push_back(lead);
        return 1;
    }
    LeadInfo info = InfoOf(lead);
    if (info.continuations < 0 || i + 1 >= bytes.size() || !IsContinuation(at(i + 1))) {
        out.push_back(Replacement);
        return 1;
    }
    // A continuation byte outside the lead's range is taken with the lead as
    // one ill-formed piece, as Windows does.
    if (at(i + 1) < info.secondLow || at(i + 1) > info.secondHigh) {
        out.push_back(Replacement);
        return 2;
    }
    char32_t value = info.bits;
    std::size_t used = 1;
    for (; used <= static_cast<std::size_t>(info.continuations); ++used) {
        if (i + used >= bytes.size() || !IsContinuation(at(i + used))) {
            out.push_back(Replacement);
            return used;
        }
        value = (value << 6) | (at(i + used) & 0x3Fu);
    }
    AppendCodePoint(out, value);
    return used;
}

} // namespace

// Runs of ASCII, the bulk of most documents, are widened eight bytes at a
// time.
std::size_t AsciiRun(std::string_view bytes, std::size_t i) {
    std::size_t start = i;
    while (i + 8 <= bytes.size()) {
        std::uint64_t word;
        std::memcpy(&word, bytes.data() + i, sizeof word);
        if (word & 0x8080808080808080ull)
            break;
        i += 8;
    }
    while (i < bytes.size() && static_cast<unsigned char>(bytes[i]) < 0x80)
        ++i;
    return i - start;
}

std::u16string DecodeUtf8Text(std::string_view bytes) {
    std::u16string out;
    // Ample for the result, with the hundredth callers add for later edits.
    out.reserve(bytes.size() + bytes.size() / 100 + 1);
    for (std::size_t i = 0; i < bytes.size();) {
        std::size_t run = AsciiRun(bytes, i);
        std::size_t at = out.size();
        out.resize(at + run);
        for (std::size_t k = 0; k < run; ++k)
            out[at + k] = static_cast<unsigned char>(bytes[i + k]);
        i += run;
        if (i < bytes.size())
            i += DecodeOne(bytes, i, out);
    }
    return out;
}

} // namespace platform::sim
