#include <gtest/gtest.h>

#include "platform/System.h"
#include "platform/sim/SimSystem.h"

using platform::MultiByteToWideChar;

namespace {

struct ConversionCase {
    std::uint32_t codePage;
    std::string bytes;
    std::u16string expected;
};

// A few telling bytes per code page, with what Windows makes of them.
const ConversionCase Conversions[] = {
    {154, "\x80\xE0", u"\u0496\u0430"},
    {437, "\x80\xE1\xDB", u"\u00C7\u00DF\u2588"},
    {737, "\x80\x98", u"\u0391\u03B1"},
    {775, "\x80\xE1", u"\u0106\u00DF"},
    {850, "\x80\xD5", u"\u00C7\u0131"},
    {852, "\x85\xA5", u"\u016F\u0105"},
    {855, "\x80\x81", u"\u0452\u0402"},
    {857, "\x8D\x98", u"\u0131\u0130"},
    {858, "\xD5", u"\u20AC"},
    {860, "\x84", u"\u00E3"},
    {861, "\x8B", u"\u00D0"},
    {862, "\x80", u"\u05D0"},
    {863, "\x84", u"\u00C2"},
    {864, "\x80", u"\u00B0"},
    {865, "\x9B", u"\u00F8"},
    {866, "\x80\xA0", u"\u0410\u0430"},
    {869, "\xA4", u"\u0391"},
    {874, "\xA1\x80", u"\u0E01\u20AC"},
    {932, "\x82\xA0\x93\xFA\x96\x7B\xB1", u"\u3042\u65E5\u672C\uFF71"},
    {936, "\xC4\xE3\xBA\xC3", u"\u4F60\u597D"},
    {949, "\xC7\xD1\xB1\xDB", u"\uD55C\uAE00"},
    {950, "\xA4\xA4\xA4\xE5", u"\u4E2D\u6587"},
    {1125, "\xF2\xF4", u"\u0490\u0404"},
    {1250, "\x8A\xB9", u"\u0160\u0105"},
    {1251, "\xC0\xFF", u"\u0410\u044F"},
    {1252, "\x80\x93\xE9\x81", u"\u20AC\u201C\u00E9\u0081"},
    {1253, "\xC1", u"\u0391"},
    {1254, "\xD0\xFD", u"\u011E\u0131"},
    {1255, "\xE0", u"\u05D0"},
    {1256, "\xC7", u"\u0627"},
    {1257, "\xC0", u"\u0104"},
    {1258, "\xD2", u"\u0309"},
    {10000, "\x80\xA5", u"\u00C4\u2022"},
    {10007, "\x80", u"\u0410"},
    {10029, "\x81", u"\u0100"},
    {20127, "ABC", u"ABC"},
    {20866, "\xC1\xE1", u"\u0430\u0410"},
    {20932, "\xA4\xA2\xC6\xFC", u"\u3042\u65E5"},
    {20936, "\xC4\xE3", u"\u4F60"},
    {21866, "\xA4", u"\u0454"},
    {28591, "\xE9\x85", u"\u00E9\u0085"},
    {28592, "\xA1", u"\u0104"},
    {28595, "\xB0", u"\u0410"},
    {28597, "\xC1", u"\u0391"},
    {28599, "\xD0", u"\u011E"},
    {28603, "\xA1", u"\u201D"},
    {28605, "\xA4", u"\u20AC"},
    {50220, "\x1B$B$\"\x1B(B", u"\u3042"},
    {51949, "\xC7\xD1", u"\uD55C"},
    {54936, "\x81\x30\x81\x30", u"\u0080"},
    {65000, "+ZeVnLIqe-", u"\u65E5\u672C\u8A9E"},
    {65001, "a\xC3\xA9\xE3\x81\x82\xF0\x9F\x98\x80", u"a\u00E9\u3042\U0001F600"},
};

// Ill-formed UTF-8 as Windows converts it: one U+FFFD per ill-formed piece,
// a lead taken with a second byte outside its range.
const ConversionCase Utf8Repairs[] = {
    {65001, "\xC0\x80", u"\uFFFD\uFFFD"},
    {65001, "\xE0\x80\x80", u"\uFFFD\uFFFD"},
    {65001, "\xED\xA0\x80", u"\uFFFD\uFFFD"},
    {65001, "\xF0\x80\x80\x80", u"\uFFFD\uFFFD\uFFFD"},
    {65001, "\xF4\x90\x80\x80", u"\uFFFD\uFFFD\uFFFD"},
    {65001, "\xF5\x80\x80\x80", u"\uFFFD\uFFFD\uFFFD\uFFFD"},
    {65001, "\xE2\x82\x41", u"\uFFFD\u0041"},
    {65001, "\xE2\x28\xA1", u"\uFFFD\u0028\uFFFD"},
    {65001, "\xC2\xC2\x80", u"\uFFFD\u0080"},
    {65001, "\x80\x41", u"\uFFFD\u0041"},
    {65001, "\xEF\xBF\xBF", u"\uFFFF"},
    {65001, "\xF4\x8F\xBF\xBF", u"\U0010FFFF"},
    {65001, std::string("a\0b", 3), std::u16string(u"a\0b", 3)},
    // A sequence cut short by the end is one piece; nothing after it is lost.
    {65001, "\x41\xE2\x41", u"\u0041\uFFFD\u0041"},
    {65001, "\xF0\x9F\x98", u"\uFFFD"},
};

} // namespace

TEST(SimCodePage, ConvertsEachCodePage) {
    for (const ConversionCase& c : Conversions) {
        auto converted = MultiByteToWideChar(c.codePage, c.bytes);
        ASSERT_TRUE(converted.Ok()) << c.codePage;
        EXPECT_EQ(converted.value, c.expected) << c.codePage;
    }
}

TEST(SimCodePage, RepairsUtf8AsWindowsDoes) {
    for (const ConversionCase& c : Utf8Repairs) {
        auto converted = MultiByteToWideChar(c.codePage, c.bytes);
        ASSERT_TRUE(converted.Ok());
        EXPECT_EQ(converted.value, c.expected) << c.bytes;
    }
}

TEST(SimCodePage, RefusesWhatWindowsRefuses) {
    for (std::uint32_t codePage : {1200u, 1201u, 12000u, 12001u, 65005u, 720u, 52936u, 57002u, 1u})
        EXPECT_EQ(MultiByteToWideChar(codePage, "abc").error, platform::ErrorInvalidParameter)
            << codePage;
    EXPECT_EQ(MultiByteToWideChar(65001, "").error, platform::ErrorInvalidParameter);
}

TEST(SimCodePage, AnsiCodePageFollowsTheMachine) {
    const std::pair<std::uint32_t, std::u16string> machines[] = {
        {1252, u"\u0160"}, {1251, u"\u0409"}, {932, u"\u30FB"}, {65001, u"\uFFFD"}};
    for (const auto& [ansi, expected] : machines) {
        platform::sim::SetAnsiCodePage(ansi);
        auto converted = MultiByteToWideChar(platform::CpAcp, "\x8A");
        ASSERT_TRUE(converted.Ok());
        EXPECT_EQ(converted.value, expected) << ansi;
    }
    platform::sim::ResetSystem();
}
