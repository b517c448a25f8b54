#include "xml/XmlDocument.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>

namespace {

using xml::XmlDocument;

// Every record must describe the text it indexes: each start tag names its
// element, each range holds its children, and the links agree.
void ExpectIndexMatchesText(const XmlDocument& doc, std::int32_t parent) {
    const xml::ElementRecord& p = doc.Record(parent);
    std::int32_t previous = 0;
    for (std::int32_t c = p.firstChild; c != 0; c = doc.Record(c).nextSibling) {
        const xml::ElementRecord& child = doc.Record(c);
        EXPECT_EQ(child.parent, parent);
        EXPECT_EQ(doc.Text()[static_cast<std::size_t>(child.start)], u'<');
        EXPECT_GE(child.start, p.start + p.StartTagLength());
        EXPECT_LE(child.start + child.length, p.start + p.length - p.EndTagLength());
        if (previous != 0) {
            EXPECT_EQ(child.prevSibling, previous);
            EXPECT_GE(child.start, doc.Record(previous).start + doc.Record(previous).length);
        }
        ExpectIndexMatchesText(doc, c);
        previous = c;
    }
    if (p.firstChild != 0) {
        EXPECT_EQ(doc.Record(p.firstChild).prevSibling, previous);
    }
}

TEST(ReplaceRange, SplicesInPlace) {
    std::u16string s = u"abcdef";
    xml::ReplaceRange(s, 2, 2, u"XYZ");
    EXPECT_EQ(s, u"abXYZef");
    xml::ReplaceRange(s, 7, 0, u"!");
    EXPECT_EQ(s, u"abXYZef!");
    xml::ReplaceRange(s, 0, 3, u"");
    EXPECT_EQ(s, u"YZef!");
    xml::ReplaceRange(s, 1, 2, std::u16string_view(s).substr(3));
    EXPECT_EQ(s, u"Yf!f!");
    xml::ReplaceRange(s, 40, 9, u"?");
    EXPECT_EQ(s, u"Yf!f!?");
}

TEST(WriteAttribute, KeepsChildrenReadable) {
    XmlDocument doc;
    ASSERT_TRUE(
        doc.AssignText(u"<r><p a='1'><c x='cx'>text</c><d>more</d></p><q y='qy'>end</q></r>"));
    ASSERT_TRUE(doc.SeekElement());
    ASSERT_TRUE(doc.EnterElement());
    ASSERT_TRUE(doc.SeekElement(u"p"));
    const std::int32_t p = doc.CursorPos();
    ASSERT_TRUE(doc.WriteAttribute(p, u"added", u"<&>"));
    ASSERT_TRUE(doc.WriteAttribute(p, u"a", u"longer value"));
    EXPECT_EQ(doc.Text(), u"<r><p a=\"longer value\" added=\"&lt;&amp;&gt;\"><c x='cx'>text</c>"
                          u"<d>more</d></p><q y='qy'>end</q></r>");
    ExpectIndexMatchesText(doc, 0);
    EXPECT_EQ(doc.ReadAttribute(p, u"added"), u"<&>");
    ASSERT_TRUE(doc.EnterElement());
    ASSERT_TRUE(doc.SeekElement(u"c"));
    EXPECT_EQ(doc.ReadAttribute(doc.CursorPos(), u"x"), u"cx");
    EXPECT_EQ(doc.ReadContent(doc.CursorPos()), u"text");
    ASSERT_TRUE(doc.SeekElement(u"d"));
    EXPECT_EQ(doc.ReadContent(doc.CursorPos()), u"more");
    ASSERT_TRUE(doc.LeaveElement());
    ASSERT_TRUE(doc.SeekElement(u"q"));
    EXPECT_EQ(doc.ReadAttribute(doc.CursorPos(), u"y"), u"qy");
    EXPECT_EQ(doc.ReadContent(doc.CursorPos()), u"end");
    EXPECT_EQ(doc.Record(0).length, static_cast<std::int32_t>(doc.Text().size()));
    EXPECT_EQ(doc.Record(1).length, static_cast<std::int32_t>(doc.Text().size()));
}

struct WriteCase {
    std::u16string_view text;
    std::u16string_view name;
    std::u16string_view value;
    std::u16string_view result;
};

class WriteAttributeText : public ::testing::TestWithParam<WriteCase> {};

TEST_P(WriteAttributeText, ReplacesOrAdds) {
    const WriteCase& c = GetParam();
    XmlDocument doc;
    doc.AssignText(c.text);
    ASSERT_TRUE(doc.SeekElement());
    ASSERT_TRUE(doc.WriteAttribute(doc.CursorPos(), c.name, c.value));
    EXPECT_EQ(doc.Text(), c.result);
    EXPECT_EQ(doc.ReadAttribute(doc.CursorPos(), c.name), c.value);
    ExpectIndexMatchesText(doc, 0);
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(Table, WriteAttributeText, ::testing::Values(
    WriteCase{u"<a/>", u"x", u"1", u"<a x=\"1\"/>"},
    WriteCase{u"<a  />", u"x", u"1", u"<a x=\"1\"  />"},
    WriteCase{u"<a>t</a>", u"x", u"1", u"<a x=\"1\">t</a>"},
    WriteCase{u"<a y='2' >t</a>", u"x", u"1", u"<a y='2' x=\"1\" >t</a>"},
    WriteCase{u"<a x='old'/>", u"x", u"new", u"<a x=\"new\"/>"},
    WriteCase{u"<a x=bare/>", u"x", u"'", u"<a x=\"&apos;\">"},
    WriteCase{u"<a x/>", u"x", u"v", u"<a x=\"v\"/>"},
    WriteCase{u"<a x=\"\"/>", u"x", u"\"", u"<a x=\"&quot;\"/>"}
));
// clang-format on

TEST(WriteAttribute, FailsWithoutACurrentElementOrPosition) {
    XmlDocument doc;
    ASSERT_TRUE(doc.AssignText(u"<a/>"));
    EXPECT_FALSE(doc.WriteAttribute(1, u"x", u"1"));
    ASSERT_TRUE(doc.SeekElement());
    EXPECT_FALSE(doc.WriteAttribute(0, u"x", u"1"));
    EXPECT_FALSE(doc.WriteAttribute(2, u"x", u"1"));
    EXPECT_EQ(doc.Text(), u"<a/>");
}

TEST(InsertElement, AppendsAtTheLevelAndMovesTheCursor) {
    XmlDocument doc;
    doc.AssignText(u"<a/>");
    ASSERT_TRUE(doc.InsertElement(u"b", xml::InsertNoLineBreak));
    EXPECT_EQ(doc.Text(), u"<a/><b/>");
    EXPECT_EQ(doc.ReadTagName(), u"b");
    EXPECT_EQ(doc.Record(doc.CursorPos()).start, 4);
    ExpectIndexMatchesText(doc, 0);
}

TEST(InsertElement, AfterTheCurrentElementInsideAParent) {
    XmlDocument doc;
    doc.AssignText(u"<r><a>x</a><c>y</c></r><tail/>");
    ASSERT_TRUE(doc.SeekElement(u"r"));
    ASSERT_TRUE(doc.EnterElement());
    ASSERT_TRUE(doc.SeekElement(u"a"));
    ASSERT_TRUE(doc.InsertElement(u"b", xml::InsertNoLineBreak));
    EXPECT_EQ(doc.Text(), u"<r><a>x</a><b/><c>y</c></r><tail/>");
    ExpectIndexMatchesText(doc, 0);
    ASSERT_TRUE(doc.SeekElement());
    EXPECT_EQ(doc.ReadContent(doc.CursorPos()), u"y");
    doc.RewindLevel();
    ASSERT_TRUE(doc.InsertElement(u"z", xml::InsertNoLineBreak));
    EXPECT_EQ(doc.Text(), u"<r><a>x</a><b/><c>y</c><z/></r><tail/>");
    ExpectIndexMatchesText(doc, 0);
    ASSERT_TRUE(doc.LeaveElement());
    ASSERT_TRUE(doc.SeekElement(u"tail"));
    EXPECT_EQ(doc.Record(doc.CursorPos()).start, 31);
}

TEST(InsertElement, IntoAnElementWithoutChildren) {
    XmlDocument doc;
    ASSERT_TRUE(doc.AssignText(u"<r>text</r>"));
    ASSERT_TRUE(doc.SeekElement());
    ASSERT_TRUE(doc.EnterElement());
    ASSERT_TRUE(doc.InsertElement(u"n", xml::InsertNoLineBreak));
    EXPECT_EQ(doc.Text(), u"<r>text<n/></r>");
    EXPECT_NE(doc.Record(doc.CursorPos()).state & xml::StateFirstChild, 0u);
    EXPECT_EQ(doc.Record(doc.CursorPos()).Level(), 1u);
    ExpectIndexMatchesText(doc, 0);
}

TEST(InsertElement, RefusesAnElementThatHasNoEndTag) {
    XmlDocument doc;
    ASSERT_TRUE(doc.AssignText(u"<r/>"));
    ASSERT_TRUE(doc.SeekElement());
    ASSERT_TRUE(doc.EnterElement());
    EXPECT_FALSE(doc.InsertElement(u"n", xml::InsertNoLineBreak));
    EXPECT_EQ(doc.Text(), u"<r/>");
}

TEST(InsertElement, ManyInsertsKeepTheIndexTrue) {
    XmlDocument doc;
    ASSERT_TRUE(doc.AssignText(u"<r><a/></r>"));
    ASSERT_TRUE(doc.SeekElement());
    ASSERT_TRUE(doc.EnterElement());
    for (int i = 0; i < 200; ++i) {
        ASSERT_TRUE(doc.InsertElement(u"e", xml::InsertNoLineBreak));
        ASSERT_TRUE(doc.WriteAttribute(doc.CursorPos(), u"i", u"v"));
    }
    ExpectIndexMatchesText(doc, 0);
    XmlDocument reparsed;
    EXPECT_TRUE(reparsed.AssignText(doc.Text()));
    EXPECT_EQ(reparsed.RecordCount(), doc.RecordCount());
}

} // namespace
