// Hostile sizes through the two ways a document is filled: nothing may
// recurse per level or rescan per reference, or these would crash or never
// end.
#include <gtest/gtest.h>

#include <string>

#include "platform/sim/SimFiles.h"
#include "xml/XmlDocument.h"

namespace {

constexpr int Levels = 100000;
constexpr const char16_t* FilePath = u"C:\\Medium\\large.xml";

std::string Nested(int levels) {
    std::string text;
    text.reserve(static_cast<std::size_t>(levels) * 7);
    for (int i = 0; i < levels; ++i)
        text += "<a>";
    for (int i = 0; i < levels; ++i)
        text += "</a>";
    return text;
}

std::u16string Widened(const std::string& ascii) {
    return std::u16string(ascii.begin(), ascii.end());
}

class LargeInput : public ::testing::Test {
  protected:
    void SetUp() override { platform::sim::ResetFiles(); }

    bool Load(const std::string& bytes) {
        platform::sim::PutFile(FilePath, bytes);
        return document.LoadFile(FilePath);
    }

    xml::XmlDocument document;
};

TEST_F(LargeInput, DeepNestingIsWalkedToTheBottomAndBack) {
    ASSERT_TRUE(Load(Nested(Levels)));
    int depth = 0;
    while (document.SeekElement(u"a") && document.EnterElement())
        ++depth;
    EXPECT_EQ(depth, Levels);
    while (document.LeaveElement())
        --depth;
    EXPECT_EQ(depth, 0);
}

TEST_F(LargeInput, DeepNestingLeftOpenIsIndexed) {
    std::string open;
    for (int i = 0; i < Levels; ++i)
        open += "<a>";
    EXPECT_FALSE(document.AssignText(Widened(open)));
    EXPECT_EQ(document.RecordCount(), Levels + 1);
}

TEST_F(LargeInput, AMegabyteStartTagKeepsItsLastAttribute) {
    std::string tag = "<a";
    for (int i = 0; tag.size() < (1u << 20); ++i)
        tag += " x" + std::to_string(i) + "=\"v\"";
    tag += " last=\"found\"/>";
    ASSERT_TRUE(Load(tag));
    ASSERT_TRUE(document.SeekElement());
    EXPECT_EQ(document.ReadAttribute(document.CursorPos(), u"last"), u"found");
    EXPECT_EQ(document.ReadAttribute(document.CursorPos(), u"x0"), u"v");
}

TEST_F(LargeInput, TenMegabytesOfReferencesDecodeInOnePass) {
    constexpr std::size_t References = (10u << 20) / 5;
    std::string text = "<a>";
    text.reserve(References * 5 + 8);
    for (std::size_t i = 0; i < References; ++i)
        text += "&amp;";
    text += "</a>";
    ASSERT_TRUE(document.AssignText(Widened(text)));
    ASSERT_TRUE(document.SeekElement());
    std::u16string content = document.ReadContent(document.CursorPos());
    EXPECT_EQ(content.size(), References);
    EXPECT_EQ(content.find_first_not_of(u'&'), std::u16string::npos);
}

} // namespace
