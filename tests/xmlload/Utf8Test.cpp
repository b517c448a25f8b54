#include <gtest/gtest.h>

#include "xml/Encoding.h"

namespace {

struct DecodeCase {
    std::string bytes;
    std::int32_t codePoint;
    std::size_t used;
};

const DecodeCase DecodeCases[] = {
    {"A", 0x41, 1},
    {"\xC3\xA9", 0xE9, 2},
    {"\xE3\x81\x82", 0x3042, 3},
    {"\xF0\x9F\x98\x80", 0x1F600, 4},
    {"\xC0\x80", 0, 2},          // overlong forms pass
    {"\xED\xA0\x80", 0xD800, 3}, // and so do surrogates
    {"\x80\x80", 0, 2},          // bit 6 of the lead is not looked at
    {"\xF8\x80", -1, 1},
    {"\xFF", -1, 1},
    {"\xC3", -1, 1},
    {"\xC3\x41", -1, 1},
    {"\xE3\x81", -1, 2},
};

} // namespace

TEST(DecodeUtf8, DecodesOneSequence) {
    for (const DecodeCase& c : DecodeCases) {
        const auto* begin = reinterpret_cast<const unsigned char*>(c.bytes.data());
        const unsigned char* cursor = begin;
        EXPECT_EQ(xml::DecodeUtf8(cursor, begin + c.bytes.size()), c.codePoint) << c.bytes;
        if (c.codePoint >= 0) {
            EXPECT_EQ(static_cast<std::size_t>(cursor - begin), c.used) << c.bytes;
        }
    }
}

TEST(DecodeUtf8, NeverReadsPastTheEnd) {
    std::string bytes = "\xE3\x81\x82";
    const auto* begin = reinterpret_cast<const unsigned char*>(bytes.data());
    const unsigned char* cursor = begin;
    EXPECT_EQ(xml::DecodeUtf8(cursor, begin + 2), -1);
    EXPECT_LE(cursor, begin + 2);
}

TEST(LooksLikeUtf8, AcceptsOnlyWholeSequences) {
    const std::pair<std::string, bool> cases[] = {
        {"", true},
        {"plain", true},
        {"caf\xC3\xA9 \xE3\x81\x82", true},
        {"caf\xE9", false},
        {"\x82\xA0\x82\xA2", true}, // lax: reads as two two-byte forms
        {"end\xE3\x81", false},
        {"\x93\xFA\x96\x7B", false},
    };
    for (const auto& [bytes, expected] : cases)
        EXPECT_EQ(xml::LooksLikeUtf8(bytes), expected) << bytes;
}
