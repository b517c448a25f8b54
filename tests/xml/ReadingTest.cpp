#include "xml/XmlDocument.h"

#include <gtest/gtest.h>

namespace {

using xml::XmlDocument;

// The document's single top-level element, under the cursor.
class ReadingElement {
  public:
    explicit ReadingElement(std::u16string_view text) {
        m_doc.AssignText(text);
        m_doc.SeekElement();
    }
    std::u16string Content() const { return m_doc.ReadContent(m_doc.CursorPos()); }
    std::u16string Attribute(std::u16string_view name) const {
        return m_doc.ReadAttribute(m_doc.CursorPos(), name);
    }

  private:
    XmlDocument m_doc;
};

struct ContentCase {
    std::u16string_view text;
    std::u16string_view content;
};

class Content : public ::testing::TestWithParam<ContentCase> {};

TEST_P(Content, IsTheDecodedCharacterData) {
    EXPECT_EQ(ReadingElement(GetParam().text).Content(), GetParam().content);
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(Table, Content, ::testing::Values(
    ContentCase{u"<a>&amp;</a>", u"&"},
    ContentCase{u"<a>  two words </a>", u"  two words "},
    ContentCase{u"<a>text<b/>more</a>", u""},
    ContentCase{u"<a/>", u""},
    ContentCase{u"<a></a>", u""},
    ContentCase{u"<a><![CDATA[x &amp; <y>]]></a>", u"x &amp; <y>"},
    ContentCase{u"<a>1 &lt; <![CDATA[&]]> 2<!-- c --> 3<?p?></a>", u"1 < & 2 3"},
    ContentCase{u"<a>x<!-- c -->  <?p?>  </a>", u"x"},
    ContentCase{u"<a>  <!-- c -->  y</a>", u"  y"},
    ContentCase{u"<a>x > y</a>", u"x > y"},
    ContentCase{u"<a>x</b>y</a>", u"xy"},
    ContentCase{u"<a><![C]]></a>", u""},
    ContentCase{u"<a>&#x1F600;</a>", u"\U0001F600"},
    ContentCase{u"<a>&#0;</a>", u"&#0;"}
));
// clang-format on

struct AttributeCase {
    std::u16string_view text;
    std::u16string_view name;
    std::u16string_view value;
};

class Attribute : public ::testing::TestWithParam<AttributeCase> {};

TEST_P(Attribute, IsFoundAndDecoded) {
    EXPECT_EQ(ReadingElement(GetParam().text).Attribute(GetParam().name), GetParam().value);
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(Table, Attribute, ::testing::Values(
    AttributeCase{u"<a x=\"1\"/>", u"x", u"1"},
    AttributeCase{u"<a x='it&apos;s &lt;b&gt;'/>", u"x", u"it's <b>"},
    AttributeCase{u"<a x = 'spaced' />", u"x", u"spaced"},
    AttributeCase{u"<a x=\"q > r\"/>", u"x", u"q > r"},
    AttributeCase{u"<a x=bare y=2>", u"x", u"bare"},
    AttributeCase{u"<a href=x/>", u"href", u"x/"},
    AttributeCase{u"<a y='1'/>", u"x", u""},
    AttributeCase{u"<a checked x='1'/>", u"checked", u"checked"},
    AttributeCase{u"<a checked/>", u"checked", u"checked"},
    AttributeCase{u"<a x='1' x='2'/>", u"x", u"1"},
    AttributeCase{u"<a xy='1' x='2'/>", u"x", u"2"},
    AttributeCase{u"<a b='x=\"1\"' x='2'/>", u"x", u"2"},
    AttributeCase{u"<a x='1'/>", u"a", u""},
    AttributeCase{u"<a x='1'/>", u"", u""},
    AttributeCase{u"<a x=>", u"x", u""},
    AttributeCase{u"<a x= = y/>", u"y", u""},
    AttributeCase{u"<a/><b x='1'/>", u"x", u""}
));
// clang-format on

TEST(Reading, AttributeNeedsACurrentElement) {
    XmlDocument doc;
    ASSERT_TRUE(doc.AssignText(u"<a x='1'/>"));
    EXPECT_EQ(doc.ReadAttribute(1, u"x"), u"");
    ASSERT_TRUE(doc.SeekElement());
    EXPECT_EQ(doc.ReadAttribute(1, u"x"), u"1");
    EXPECT_EQ(doc.ReadAttribute(0, u"x"), u"");
}

TEST(Reading, OutOfRangePositionsReadNothing) {
    XmlDocument doc;
    ASSERT_TRUE(doc.AssignText(u"<a x='1'>t</a>"));
    ASSERT_TRUE(doc.SeekElement());
    for (std::int32_t position : {-1, 2, 1000000}) {
        EXPECT_EQ(doc.ReadAttribute(position, u"x"), u"");
        EXPECT_EQ(doc.ReadContent(position), u"");
    }
}

TEST(Reading, TagNameAsWrittenAndNeverDecoded) {
    XmlDocument doc;
    ASSERT_TRUE(doc.AssignText(u"<a:b&amp;c x='1'/>"));
    ASSERT_TRUE(doc.SeekElement());
    EXPECT_EQ(doc.ReadTagName(), u"a:b&amp");
}

TEST(Reading, IgnoreCaseFlagAppliesToAttributeNames) {
    XmlDocument doc;
    doc.SetFlags(xml::FlagIgnoreCase);
    ASSERT_TRUE(doc.AssignText(u"<a Name='v'/>"));
    ASSERT_TRUE(doc.SeekElement(u"A"));
    EXPECT_EQ(doc.ReadAttribute(doc.CursorPos(), u"NAME"), u"v");
}

} // namespace
