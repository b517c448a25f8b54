#include "xml/XmlDocument.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using xml::XmlDocument;

constexpr std::u16string_view Catalogue = u"<?xml version=\"1.0\"?>\n"
                                          u"<Catalogue>\n"
                                          u"  <!-- models -->\n"
                                          u"  <Printer name=\"A\"><Driver/></Printer>\n"
                                          u"  text <?pi?>\n"
                                          u"  <Printers name=\"B\"/>\n"
                                          u"  <Port/>\n"
                                          u"  <Printer name=\"C\"/>\n"
                                          u"</Catalogue>\n";

class Navigation : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(m_doc.AssignText(Catalogue));
        ASSERT_TRUE(m_doc.SeekElement(u"Catalogue"));
        ASSERT_TRUE(m_doc.EnterElement());
    }

    std::vector<std::u16string> SeekAll(std::u16string_view name) {
        std::vector<std::u16string> found;
        while (m_doc.SeekElement(name))
            found.push_back(m_doc.ReadTagName() + u":" +
                            m_doc.ReadAttribute(m_doc.CursorPos(), u"name"));
        return found;
    }

    XmlDocument m_doc;
};

TEST_F(Navigation, SeekWithoutNameVisitsEveryChildOnceThenStays) {
    EXPECT_EQ(SeekAll({}),
              (std::vector<std::u16string>{u"Printer:A", u"Printers:B", u"Port:", u"Printer:C"}));
    EXPECT_EQ(m_doc.ReadTagName(), u"Printer");
    EXPECT_EQ(m_doc.ReadAttribute(m_doc.CursorPos(), u"name"), u"C");
}

TEST_F(Navigation, SeekByNameMatchesWholeNamesOnly) {
    EXPECT_EQ(SeekAll(u"Printer"), (std::vector<std::u16string>{u"Printer:A", u"Printer:C"}));
    m_doc.RewindLevel();
    EXPECT_EQ(SeekAll(u"Printers"), (std::vector<std::u16string>{u"Printers:B"}));
}

TEST_F(Navigation, PredicateIsNotEvaluated) {
    EXPECT_EQ(SeekAll(u"Printer[2]"), (std::vector<std::u16string>{u"Printer:A", u"Printer:C"}));
    m_doc.RewindLevel();
    EXPECT_EQ(SeekAll(u"Printer[@name='C']/Driver"),
              (std::vector<std::u16string>{u"Printer:A", u"Printer:C"}));
}

TEST_F(Navigation, FailedSeekContinuesFromTheSamePlace) {
    ASSERT_TRUE(m_doc.SeekElement(u"Printers"));
    const std::int32_t at = m_doc.CursorPos();
    EXPECT_FALSE(m_doc.SeekElement(u"Missing"));
    EXPECT_EQ(m_doc.CursorPos(), at);
    ASSERT_TRUE(m_doc.SeekElement(u"Printer"));
    EXPECT_EQ(m_doc.ReadAttribute(m_doc.CursorPos(), u"name"), u"C");
}

TEST_F(Navigation, InvalidOrAbsolutePathFailsWithoutMoving) {
    for (std::u16string_view path : {u"/Printer", u"//Printer", u"Printer/", u"Printer[1"}) {
        EXPECT_FALSE(m_doc.SeekElement(path)) << std::string(path.begin(), path.end());
        EXPECT_EQ(m_doc.CursorPos(), 0);
    }
}

TEST_F(Navigation, EnterLeaveEnterReturnsToTheChild) {
    ASSERT_TRUE(m_doc.SeekElement(u"Printer"));
    ASSERT_TRUE(m_doc.EnterElement());
    ASSERT_TRUE(m_doc.SeekElement(u"Driver"));
    const std::int32_t driver = m_doc.CursorPos();
    ASSERT_TRUE(m_doc.LeaveElement());
    EXPECT_EQ(m_doc.ReadTagName(), u"Printer");
    ASSERT_TRUE(m_doc.EnterElement());
    EXPECT_EQ(m_doc.CursorPos(), driver);
    EXPECT_FALSE(m_doc.SeekElement());
}

TEST_F(Navigation, EnterElementWithoutChildren) {
    ASSERT_TRUE(m_doc.SeekElement(u"Port"));
    const std::int32_t port = m_doc.CursorPos();
    ASSERT_TRUE(m_doc.EnterElement());
    EXPECT_FALSE(m_doc.SeekElement());
    EXPECT_EQ(m_doc.ReadTagName(), u"");
    ASSERT_TRUE(m_doc.LeaveElement());
    EXPECT_EQ(m_doc.CursorPos(), port);
}

TEST_F(Navigation, RewindStartsTheLevelAgainAndForgetsTheReturn) {
    ASSERT_TRUE(m_doc.SeekElement(u"Printer"));
    ASSERT_TRUE(m_doc.EnterElement());
    ASSERT_TRUE(m_doc.SeekElement());
    ASSERT_TRUE(m_doc.LeaveElement());
    m_doc.RewindLevel();
    EXPECT_EQ(m_doc.CursorPos(), 0);
    EXPECT_EQ(m_doc.ReturnPos(), 0);
    EXPECT_FALSE(m_doc.EnterElement());
    ASSERT_TRUE(m_doc.SeekElement());
    EXPECT_EQ(m_doc.ReadAttribute(m_doc.CursorPos(), u"name"), u"A");
}

TEST_F(Navigation, LeaveAtTopLevelFails) {
    ASSERT_TRUE(m_doc.LeaveElement());
    EXPECT_EQ(m_doc.LevelPos(), 0);
    EXPECT_FALSE(m_doc.LeaveElement());
    EXPECT_EQ(m_doc.ReadTagName(), u"Catalogue");
}

TEST(NavigationUnfilled, NothingWorksBeforeAFill) {
    XmlDocument doc;
    EXPECT_FALSE(doc.SeekElement());
    EXPECT_FALSE(doc.EnterElement());
    EXPECT_FALSE(doc.LeaveElement());
    EXPECT_EQ(doc.ReadTagName(), u"");
    EXPECT_EQ(doc.ReadAttribute(1, u"x"), u"");
    EXPECT_EQ(doc.ReadContent(1), u"");
}

struct NameCase {
    std::u16string_view token;
    std::u16string_view name;
    bool ignoreCase;
    bool matches;
};

class NameMatching : public ::testing::TestWithParam<NameCase> {};

TEST_P(NameMatching, ComparesTheFirstStep) {
    const NameCase& c = GetParam();
    EXPECT_EQ(xml::NameMatches(c.token, c.name, c.ignoreCase), c.matches);
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(Table, NameMatching, ::testing::Values(
    NameCase{u"Printer", u"Printer", false, true},
    NameCase{u"Printer", u"Printer/Driver", false, true},
    NameCase{u"Printer", u"Printer[1]", false, true},
    NameCase{u"Printer", u"Printer=x", false, true},
    NameCase{u"Printer", u"Printer x", false, true},
    NameCase{u"Printer", u"Printers", false, false},
    NameCase{u"Printers", u"Printer", false, false},
    NameCase{u"printer", u"Printer", false, false},
    NameCase{u"printer", u"PRINTER", true, true},
    NameCase{u"\u00e9a", u"\u00e9A", true, false},
    NameCase{u"a\u00e9", u"A\u00e9", true, true},
    NameCase{u"\u00e9", u"\u00c9", true, false},
    NameCase{u"", u"", false, true},
    NameCase{u"", u"x", false, false}
));

struct PathCase {
    std::u16string_view path;
    bool valid;
};

class PathCheck : public ::testing::TestWithParam<PathCase> {};

TEST_P(PathCheck, AcceptsTheGrammar) {
    EXPECT_EQ(xml::IsValidPath(GetParam().path), GetParam().valid);
}

INSTANTIATE_TEST_SUITE_P(Table, PathCheck, ::testing::Values(
    PathCase{u"", true},
    PathCase{u"a", true},
    PathCase{u"/a", true},
    PathCase{u"//a", true},
    PathCase{u"a/b/c", true},
    PathCase{u"a[1]", true},
    PathCase{u"a[10]/b", true},
    PathCase{u"a[b]", true},
    PathCase{u"a[@x]", true},
    PathCase{u"a[@x='1]']", true},
    PathCase{u"a[@x=\"1\"]", true},
    PathCase{u"a[@x=1]", true},
    PathCase{u"a/@x", true},
    PathCase{u"//a/@x", true},
    PathCase{u"/", false},
    PathCase{u"//", false},
    PathCase{u"a/", false},
    PathCase{u"a[1", false},
    PathCase{u"a[@x='1]", false},
    PathCase{u"a]", false},
    PathCase{u"a b", false},
    PathCase{u"a=b", false},
    PathCase{u"a/@x/b", false},
    PathCase{u"a/@x[1]", false},
    PathCase{u"//a/b", false},
    PathCase{u"a[1]x", false}
));
// clang-format on

} // namespace
