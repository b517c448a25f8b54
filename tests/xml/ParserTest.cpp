#include "xml/XmlDocument.h"

#include <gtest/gtest.h>

#include <cctype>
#include <string>

namespace {

using xml::XmlDocument;

struct ParseCase {
    const char* what;
    std::u16string_view text;
    bool wellFormed;
    std::u16string_view log;
};

class ParseLog : public ::testing::TestWithParam<ParseCase> {};

std::string CaseName(const ::testing::TestParamInfo<ParseCase>& param) {
    std::string name = param.param.what;
    for (char& ch : name)
        if (!std::isalnum(static_cast<unsigned char>(ch)))
            ch = '_';
    return name;
}

TEST_P(ParseLog, WritesTheRecordsOfWhatItMet) {
    const ParseCase& c = GetParam();
    XmlDocument doc;
    EXPECT_EQ(doc.AssignText(c.text), c.wellFormed);
    EXPECT_EQ(doc.ResultLog(), c.log);
    EXPECT_EQ(doc.CursorPos(), 0);
    EXPECT_EQ(doc.LevelPos(), 0);
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(Records, ParseLog, ::testing::Values(
    ParseCase{"prolog and epilog",
              u"<?xml version=\"1.0\"?><!DOCTYPE r [<!ELEMENT r ANY><!-- c -->]><!-- x --><r a='1'><?p d?></r><!-- y --> ",
              true, u""},
    ParseCase{"empty text", u"", false, u""},
    ParseCase{"text only", u"just text", false, u"<no_root_element/>"},
    ParseCase{"comments only", u"<!-- a --><!-- b -->", false, u"<no_root_element/>"},
    ParseCase{"two top-level elements", u"<a/><b/>", false, u"<root_has_sibling/>"},
    ParseCase{"quoted greater-than", u"<a x=\"1>2\"/>", true, u""},
    ParseCase{"comment with greater-than", u"<a><!-- a > b --></a>", true, u""},
    ParseCase{"cdata with greater-than", u"<a><![CDATA[ x > y ]]></a>", true, u""},
    ParseCase{"shortest comments", u"<a><!----><!--></a>", true, u""},
    ParseCase{"first tag syntax", u"<a><1></a>", false, u"<first_tag_syntax offset=\"3\"/>"},
    ParseCase{"first tag syntax at start", u"<1>", false,
              u"<first_tag_syntax offset=\"0\"/><no_root_element/>"},
    ParseCase{"exclamation tag syntax", u"<a><!x></a>", false, u"<exclamation_tag_syntax offset=\"3\"/>"},
    ParseCase{"comment tag syntax", u"<a><!-x></a>", false, u"<comment_tag_syntax offset=\"3\"/>"},
    ParseCase{"cdata section syntax", u"<a><![x></a>", false, u"<cdata_section_syntax offset=\"3\"/>"},
    ParseCase{"error node ends before less-than", u"<a><%<b/></a>", false, u"<first_tag_syntax offset=\"3\"/>"},
    ParseCase{"two syntax errors", u"<a><1><!x></a>", false,
              u"<first_tag_syntax offset=\"3\"/><exclamation_tag_syntax offset=\"6\"/>"},
    ParseCase{"doctype syntax surfaces with the next error", u"<!DOCTYPE r [<!x>]><r><1></r>", false,
              u"<doctype_tag_syntax offset=\"0\"/><first_tag_syntax offset=\"22\"/>"},
    ParseCase{"doctype syntax alone stays in scratch", u"<!DOCTYPE r [<!x>]><r/>", true, u""},
    ParseCase{"unterminated start tag", u"<r><a b", false,
              u"<unterminated_tag_syntax type=\"start_tag\" offset=\"3\"/>"
              u"<unended_start_tag tagname=\"r\" offset=\"0\" offset2=\"7\"/>"},
    ParseCase{"unterminated end tag", u"<r></r", false,
              u"<unterminated_tag_syntax type=\"end_tag\" offset=\"3\"/>"
              u"<unended_start_tag tagname=\"r\" offset=\"0\" offset2=\"6\"/>"},
    ParseCase{"unterminated comment", u"<r/><!-- x", false,
              u"<unterminated_tag_syntax type=\"comment\" offset=\"4\"/>"},
    ParseCase{"unterminated cdata", u"<r/><![CDATA[ x", false,
              u"<unterminated_tag_syntax type=\"cdata_section\" offset=\"4\"/>"},
    ParseCase{"unterminated processing instruction", u"<r/><?pi x", false,
              u"<unterminated_tag_syntax type=\"processing_instruction\" offset=\"4\"/>"},
    ParseCase{"unterminated document type", u"<!DOCTYPE r [<!ENTITY x \">\"", false,
              u"<unterminated_tag_syntax type=\"document_type\" offset=\"0\"/><no_root_element/>"},
    ParseCase{"lone less-than", u"<r/><", false, u"<unterminated_tag_syntax type=\"tag\" offset=\"4\"/>"},
    ParseCase{"unterminated error node", u"<r/><1 x=\"", false,
              u"<first_tag_syntax offset=\"4\"/><unterminated_tag_syntax type=\"tag\" offset=\"4\"/>"},
    ParseCase{"lone end tag", u"<a></b></a>", false, u"<lone_end_tag tagname=\"b\" offset=\"3\"/>"},
    ParseCase{"end tag with a space has no name", u"<a></ a></a>", false,
              u"<lone_end_tag tagname=\"\" offset=\"3\"/>"},
    ParseCase{"unended inner element", u"<a><b></a>", false,
              u"<unended_start_tag tagname=\"b\" offset=\"3\" offset2=\"7\"/>"},
    ParseCase{"unended elements close innermost first", u"<a><b><c></a>", false,
              u"<unended_start_tag tagname=\"c\" offset=\"6\" offset2=\"10\"/>"
              u"<unended_start_tag tagname=\"b\" offset=\"3\" offset2=\"10\"/>"},
    ParseCase{"escaped tag name in the log", u"<a></b&'\"></a>", false,
              u"<lone_end_tag tagname=\"b&amp;&apos;&quot;\" offset=\"3\"/>"}
), CaseName);
// clang-format on

struct NodeCase {
    std::u16string_view text;
    xml::NodeKind kind;
    std::int32_t length;
    bool empty;
};

class NodeCut : public ::testing::TestWithParam<NodeCase> {};

TEST_P(NodeCut, GivesKindAndLength) {
    const NodeCase& c = GetParam();
    xml::TokenScanner scanner;
    scanner.text = c.text;
    xml::NodeScan node;
    EXPECT_EQ(xml::NextNode(scanner, node), c.kind);
    EXPECT_EQ(node.start, 0);
    EXPECT_EQ(node.length, c.length);
    EXPECT_EQ(scanner.scanPos, c.length);
    EXPECT_EQ((node.nodeFlags & xml::NodeEmptyElement) != 0, c.empty);
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(Kinds, NodeCut, ::testing::Values(
    NodeCase{u"", xml::NodeEndOfText, 0, false},
    NodeCase{u" \t\r\n<a>", xml::NodeWhitespace, 4, false},
    NodeCase{u"  x <a>", xml::NodeText, 4, false},
    NodeCase{u"a>b<", xml::NodeText, 2, false},
    NodeCase{u">b<", xml::NodeText, 2, false},
    NodeCase{u"<a>", xml::NodeStartTag, 3, false},
    NodeCase{u"<a/>", xml::NodeStartTag, 4, true},
    NodeCase{u"<a />", xml::NodeStartTag, 5, true},
    NodeCase{u"<a x='1'/>", xml::NodeStartTag, 10, true},
    NodeCase{u"<a href=x/>", xml::NodeStartTag, 11, false},
    NodeCase{u"<a x=\"/>\">", xml::NodeStartTag, 10, false},
    NodeCase{u"<a \"x>", xml::NodeStartTag, 6, false},
    NodeCase{u"<\u00e9/>", xml::NodeStartTag, 4, true},
    NodeCase{u"</a >", xml::NodeEndTag, 5, false},
    NodeCase{u"<?pi a?b?>", xml::NodeProcessingInstruction, 10, false},
    NodeCase{u"<!-- - -- -->", xml::NodeComment, 13, false},
    NodeCase{u"<!-->", xml::NodeComment, 5, false},
    NodeCase{u"<![CDATA[]>]]>", xml::NodeCData, 14, false},
    NodeCase{u"<!DOCTYPE r [<!ENTITY e \">\"><!-- > -->]>", xml::NodeDocumentType, 40, false},
    NodeCase{u"<!DOCTYPE r SYSTEM \"a>b\">", xml::NodeDocumentType, 22, false},
    NodeCase{u"<1 x='>'>", xml::NodeError, 9, false},
    NodeCase{u"<<", xml::NodeError, 1, false}
));
// clang-format on

TEST(ParseIndex, RecordsFollowTheTextAndLinkTheTree) {
    XmlDocument doc;
    ASSERT_TRUE(doc.AssignText(u"<r><a>x</a><b/><c><d/></c></r>"));
    ASSERT_EQ(doc.RecordCount(), 6);
    const xml::ElementRecord& root = doc.Record(1);
    EXPECT_EQ(root.start, 0);
    EXPECT_EQ(root.length, 30);
    EXPECT_EQ(root.StartTagLength(), 3);
    EXPECT_EQ(root.EndTagLength(), 4);
    EXPECT_EQ(root.firstChild, 2);
    EXPECT_EQ(root.state & xml::StateFirstChild, xml::StateFirstChild);
    EXPECT_EQ(doc.Record(0).firstChild, 1);
    EXPECT_EQ(doc.Record(0).length, 30);
    const xml::ElementRecord& a = doc.Record(2);
    EXPECT_EQ(a.Level(), 1u);
    EXPECT_EQ(a.nextSibling, 3);
    EXPECT_EQ(a.prevSibling, 4) << "the first child names the last";
    EXPECT_EQ(doc.Record(3).length, 4);
    EXPECT_EQ(doc.Record(3).EndTagLength(), 0);
    EXPECT_EQ(doc.Record(4).nextSibling, 0);
    EXPECT_EQ(doc.Record(4).prevSibling, 3);
    EXPECT_EQ(doc.Record(5).parent, 4);
    EXPECT_EQ(doc.Record(5).Level(), 2u);
}

TEST(ParseIndex, UnendedElementHandsItsChildrenToItsParent) {
    XmlDocument doc;
    EXPECT_FALSE(doc.AssignText(u"<a><b><c/><d/></a>"));
    const xml::ElementRecord& b = doc.Record(2);
    EXPECT_EQ(b.length, 3);
    EXPECT_EQ(b.EndTagLength(), 0);
    EXPECT_NE(b.state & xml::StateUnended, 0u);
    EXPECT_EQ(b.firstChild, 0);
    EXPECT_EQ(b.nextSibling, 3);
    for (std::int32_t moved : {3, 4}) {
        EXPECT_EQ(doc.Record(moved).parent, 1);
        EXPECT_EQ(doc.Record(moved).state & xml::StateFirstChild, 0u);
        EXPECT_EQ(doc.Record(moved).Level(), 2u) << "moved elements keep their levels";
    }
    EXPECT_EQ(doc.Record(3).prevSibling, 2);
    EXPECT_EQ(doc.Record(2).prevSibling, 4);
    EXPECT_EQ(doc.Record(1).length, 18);
    EXPECT_NE(doc.Record(0).state & xml::StateNotWellFormed, 0u);
}

TEST(ParseIndex, ElementClosedAcrossAnUnendedOneHasItsFullLength) {
    XmlDocument doc;
    EXPECT_FALSE(doc.AssignText(u"<a><b></a>"));
    EXPECT_EQ(doc.Record(1).length, 10);
    EXPECT_EQ(doc.Record(2).length, 3);
}

TEST(ParseIndex, RunOfUnendedElementsFlattensUnderTheMatchedOne) {
    XmlDocument doc;
    EXPECT_FALSE(doc.AssignText(u"<p><br><br><i/><br></p>"));
    std::int32_t expectedOrder[] = {2, 3, 4, 5};
    std::int32_t c = doc.Record(1).firstChild;
    for (std::int32_t expected : expectedOrder) {
        ASSERT_EQ(c, expected);
        EXPECT_EQ(doc.Record(c).parent, 1);
        EXPECT_EQ(doc.Record(c).firstChild, 0);
        c = doc.Record(c).nextSibling;
    }
    EXPECT_EQ(c, 0);
    EXPECT_EQ(doc.Record(2).prevSibling, 5);
}

TEST(ParseIndex, IllFormedMarkMovesUpWithUnendedElement) {
    XmlDocument doc;
    EXPECT_FALSE(doc.AssignText(u"<a><b><1></a>"));
    EXPECT_EQ(doc.Record(2).state & xml::StateIllFormedInside, 0u);
    EXPECT_NE(doc.Record(1).state & xml::StateIllFormedInside, 0u);
}

TEST(ParseIndex, LoneEndTagMarksItsParent) {
    XmlDocument doc;
    EXPECT_FALSE(doc.AssignText(u"<a></b></a>"));
    EXPECT_NE(doc.Record(1).state & xml::StateIllFormedInside, 0u);
    EXPECT_EQ(doc.Record(1).length, 11);
}

TEST(ParseIndex, AllElementsOpenAtTheEndAreUnendedAtTheTextLength) {
    XmlDocument doc;
    EXPECT_FALSE(doc.AssignText(u"<a><b>"));
    EXPECT_EQ(doc.ResultLog(), u"<unended_start_tag tagname=\"b\" offset=\"3\" offset2=\"6\"/>"
                               u"<unended_start_tag tagname=\"a\" offset=\"0\" offset2=\"6\"/>"
                               u"<root_has_sibling/>");
    EXPECT_EQ(doc.Record(0).firstChild, 1);
    EXPECT_EQ(doc.Record(1).nextSibling, 2);
    EXPECT_EQ(doc.Record(2).parent, 0);
}

TEST(ParseIndex, IgnoreCaseFlagMatchesEndTagsInAnyCase) {
    XmlDocument doc;
    EXPECT_FALSE(doc.AssignText(u"<Root></ROOT>"));
    doc.SetFlags(xml::FlagIgnoreCase);
    EXPECT_TRUE(doc.AssignText(u"<Root></ROOT>"));
}

TEST(ParseIndex, ClearingFreesPagesAndReturnsFalse) {
    XmlDocument doc;
    ASSERT_TRUE(doc.AssignText(u"<a/>"));
    EXPECT_FALSE(doc.AssignText(std::nullopt));
    EXPECT_EQ(doc.Text(), u"");
    EXPECT_EQ(doc.ResultLog(), u"");
    EXPECT_EQ(doc.Index().Allocated(), 8);
    EXPECT_FALSE(doc.SeekElement());
}

TEST(ParseIndex, ReparseReplacesTheIndexAndResetsTheCursor) {
    XmlDocument doc;
    ASSERT_TRUE(doc.AssignText(u"<a><b/><c/></a>"));
    ASSERT_TRUE(doc.SeekElement());
    ASSERT_TRUE(doc.EnterElement());
    ASSERT_TRUE(doc.SeekElement());
    ASSERT_TRUE(doc.AssignText(u"<x/>"));
    EXPECT_EQ(doc.RecordCount(), 2);
    EXPECT_EQ(doc.LevelPos(), 0);
    EXPECT_EQ(doc.CursorPos(), 0);
    ASSERT_TRUE(doc.SeekElement());
    EXPECT_EQ(doc.ReadTagName(), u"x");
}

TEST(ParseIndex, IndexGrowsPastOnePage) {
    std::u16string text = u"<r>";
    for (int i = 0; i < 70000; ++i)
        text += u"<e/>";
    text += u"</r>";
    XmlDocument doc;
    ASSERT_TRUE(doc.AssignText(text));
    EXPECT_EQ(doc.RecordCount(), 70002);
    EXPECT_GE(doc.Index().Allocated(), 70002);
    EXPECT_EQ(doc.Record(70001).start, 3 + 4 * 69999);
    EXPECT_EQ(doc.Record(70001).parent, 1);
    EXPECT_EQ(doc.Record(2).prevSibling, 70001);
}

} // namespace

namespace {

TEST(ParseDeep, LoneEndTagsUnderDeepNestingLeaveTheOpenElementsAlone) {
    std::u16string text;
    for (int i = 0; i < 40; ++i)
        text += u"<a>";
    text += u"</b></A></a[1><c></c></c>";
    for (int i = 0; i < 40; ++i)
        text += u"</a>";
    const std::u16string loneB = u"<lone_end_tag tagname=\"b\" offset=\"120\"/>";
    const std::u16string loneA1 = u"<lone_end_tag tagname=\"a[1\" offset=\"128\"/>";
    const std::u16string loneC = u"<lone_end_tag tagname=\"c\" offset=\"141\"/>";

    xml::XmlDocument exact;
    EXPECT_FALSE(exact.AssignText(text));
    EXPECT_EQ(exact.ResultLog(),
              loneB + u"<lone_end_tag tagname=\"A\" offset=\"124\"/>" + loneA1 + loneC);
    EXPECT_EQ(exact.Record(1).length, static_cast<std::int32_t>(text.size()));
    EXPECT_EQ(exact.Record(41).parent, 40);

    xml::XmlDocument folding;
    folding.SetFlags(xml::FlagIgnoreCase);
    EXPECT_FALSE(folding.AssignText(text));
    EXPECT_EQ(folding.ResultLog(),
              loneB + loneA1 + loneC + u"<lone_end_tag tagname=\"a\" offset=\"301\"/>");
    EXPECT_EQ(folding.Record(40).length, 11);
    EXPECT_EQ(folding.Record(41).parent, 39);
}

TEST(ParseDeep, NestingBeyondTheLevelFieldKeepsExactLinks) {
    constexpr int depth = 70000;
    std::u16string text;
    for (int i = 0; i < depth; ++i)
        text += u"<e>";
    for (int i = 0; i < depth; ++i)
        text += u"</e>";
    xml::XmlDocument doc;
    ASSERT_TRUE(doc.AssignText(text));
    EXPECT_EQ(doc.Record(depth).parent, depth - 1);
    EXPECT_EQ(doc.Record(depth).Level(), xml::LevelMask);
    EXPECT_EQ(doc.Record(65536).Level(), 65535u);
    EXPECT_EQ(doc.Record(depth).length, 7);
}

} // namespace
