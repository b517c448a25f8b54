#include "xml/XmlDocument.h"

#include <gtest/gtest.h>

namespace {

struct DecodeCase {
    std::u16string_view range;
    std::u16string_view decoded;
};

class Decode : public ::testing::TestWithParam<DecodeCase> {};

TEST_P(Decode, ReplacesReferences) {
    EXPECT_EQ(xml::DecodeReferences(GetParam().range), GetParam().decoded);
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(Named, Decode, ::testing::Values(
    DecodeCase{u"&amp;&lt;&gt;&quot;&apos;", u"&<>\"'"},
    DecodeCase{u"&AMP;&Amp;", u"&&"},
    DecodeCase{u"a&nbsp;b", u"a\u00a0b"},
    DecodeCase{u"&euro;&hearts;&thetasym;", u"\u20ac\u2665\u03d1"},
    DecodeCase{u"&eacute;&Eacute;", u"\u00e9\u00c9"},
    DecodeCase{u"&dagger;&Dagger;&larr;&lArr;", u"\u2020\u2021\u2190\u21d0"},
    DecodeCase{u"&omega;&OMEGA;", u"\u03c9\u03a9"}
));

INSTANTIATE_TEST_SUITE_P(Numeric, Decode, ::testing::Values(
    DecodeCase{u"&#65;&#x42;&#X43;&#x6a;", u"ABCj"},
    DecodeCase{u"&#00065;", u"A"},
    DecodeCase{u"&# 65;&#+65;", u"AA"},
    DecodeCase{u"&#65x;", u"A"},
    DecodeCase{u"&#x1F600;", u"\U0001F600"},
    DecodeCase{u"&#65535;", u"\uffff"},
    DecodeCase{u"&#65536;", u"\U00010000"},
    DecodeCase{u"&#0;&#x0;&#;&#x;", u"&#0;&#x0;&#;&#x;"},
    DecodeCase{u"&#99999999;", u"\xd938\xdcff"}
));

INSTANTIATE_TEST_SUITE_P(Unknown, Decode, ::testing::Values(
    DecodeCase{u"&nosuch;", u"&nosuch;"},
    DecodeCase{u"&amp", u"&amp"},
    DecodeCase{u"& amp;", u"& amp;"},
    DecodeCase{u"&&amp;", u"&&"},
    DecodeCase{u"&am\u00e9;", u"&am\u00e9;"},
    DecodeCase{u"&#123456789;", u"&#123456789;"},
    DecodeCase{u"&#12345678;", u"\xdad8\xdd4e"},
    DecodeCase{u"&thetasym", u"&thetasym"},
    DecodeCase{u"", u""},
    DecodeCase{u"&", u"&"},
    DecodeCase{u"plain", u"plain"}
));
// clang-format on

TEST(Encode, EscapesTheFiveMarkupCharacters) {
    EXPECT_EQ(xml::EncodeReferences(u"<a & 'b' \"c\">"),
              u"&lt;a &amp; &apos;b&apos; &quot;c&quot;&gt;");
    EXPECT_EQ(xml::EncodeReferences(u""), u"");
    const std::u16string many(1000, u'&');
    EXPECT_EQ(xml::DecodeReferences(xml::EncodeReferences(many)), many);
}

} // namespace
