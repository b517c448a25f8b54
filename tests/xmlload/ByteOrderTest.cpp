#include <gtest/gtest.h>

#include "xml/Encoding.h"

TEST(ByteOrder, RemovesZeroBytesKeepingOrder) {
    std::string bytes("\0a\0b\0\0c", 7);
    EXPECT_EQ(xml::RemoveNulBytes(bytes), 4u);
    EXPECT_EQ(bytes, "abc");
    std::string none = "abc";
    EXPECT_EQ(xml::RemoveNulBytes(none), 0u);
    EXPECT_EQ(none, "abc");
}

TEST(ByteOrder, RemovesZeroUnitsOnly) {
    std::u16string units{0x0000, 0x4100, 0x0041, 0x0000, 0x0100};
    EXPECT_EQ(xml::RemoveNulUnits(units), 2u);
    EXPECT_EQ(units, (std::u16string{0x4100, 0x0041, 0x0100}));
}

TEST(ByteOrder, SwapsEveryUnit) {
    std::u16string units{0x3C00, 0x1234, 0xFEFF};
    xml::SwapByteOrder(units);
    EXPECT_EQ(units, (std::u16string{0x003C, 0x3412, 0xFFFE}));
}

TEST(ByteOrder, DecodesLittleEndianUtf32) {
    const std::pair<std::string, std::u16string> cases[] = {
        {std::string("<\0\0\0a\0\0\0", 8), u"<a"},
        {std::string("\x00\xF6\x01\x00", 4), u"\U0001F600"},
        {std::string("\xFF\xFF\x10\x00", 4), u"\U0010FFFF"},
        {std::string("B\0\0\0C\0\0", 7), u"B"},
        {std::string(), u""},
    };
    for (const auto& [bytes, expected] : cases)
        EXPECT_EQ(xml::DecodeOwnUtf32(bytes), expected);
}
