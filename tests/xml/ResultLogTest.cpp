#include "xml/XmlDocument.h"

#include <gtest/gtest.h>

#include <string>

namespace {

using xml::AppendLogRecord;

struct LogCase {
    std::uint32_t flags;
    std::optional<std::u16string_view> text;
    std::int32_t number;
    std::int32_t second;
    std::u16string_view record;
};

class LogRecord : public ::testing::TestWithParam<LogCase> {};

TEST_P(LogRecord, NamesItsAttributesByFlags) {
    const LogCase& c = GetParam();
    std::u16string log;
    AppendLogRecord(log, c.flags, u"w", c.text, c.number, c.second);
    EXPECT_EQ(log, c.record);
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(Table, LogRecord, ::testing::Values(
    LogCase{0, std::nullopt, -1, -1, u"<w/>"},
    LogCase{0, u"t", 5, -1, u"<w tagname=\"t\" offset=\"5\"/>"},
    LogCase{0, std::nullopt, 5, 7, u"<w offset=\"5\" offset2=\"7\"/>"},
    LogCase{xml::LogTextIsType, u"start_tag", 0, -1, u"<w type=\"start_tag\" offset=\"0\"/>"},
    LogCase{xml::LogTextIsEncoding | xml::LogNumberIsLength, u"UTF-8", 12, -1,
            u"<w encoding=\"UTF-8\" length=\"12\"/>"},
    LogCase{xml::LogTextIsMsg | xml::LogNumberIsN, u"gone", 2, -1, u"<w msg=\"gone\" n=\"2\"/>"},
    LogCase{xml::LogNumberIsCount, std::nullopt, 3, -1, u"<w count=\"3\"/>"},
    LogCase{xml::LogNumberIsN, std::nullopt, -1, -1, u"<w n=\"-1\"/>"},
    LogCase{xml::LogTextIsType | xml::LogTextIsEncoding, u"x", -1, -1, u"<w type=\"x\"/>"},
    LogCase{xml::LogNumberIsN | xml::LogNumberIsCount, std::nullopt, 1, -1, u"<w n=\"1\"/>"},
    LogCase{0, u"", -1, -1, u"<w tagname=\"\"/>"},
    LogCase{0, u"<'&\">", -1, -1, u"<w tagname=\"&lt;&apos;&amp;&quot;&gt;\"/>"}
));
// clang-format on

TEST(ResultLog, AppendsRightAfterTheLastRecord) {
    std::u16string log;
    AppendLogRecord(log, 0, u"bom");
    EXPECT_EQ(log, u"<bom/>");
    AppendLogRecord(log, xml::LogTextIsEncoding | xml::LogNumberIsLength, u"read", u"UTF-8", 12);
    EXPECT_EQ(log, u"<bom/><read encoding=\"UTF-8\" length=\"12\"/>");
}

TEST(ResultLog, UpdateReplacesOnlyTheFirstMatchingRecord) {
    std::u16string log = u"<bom/><read encoding=\"\" length=\"12\"/><x/><read encoding=\"\"/>";
    AppendLogRecord(log, xml::LogUpdate | xml::LogTextIsEncoding, u"read", u"UTF-8");
    EXPECT_EQ(log, u"<bom/><read encoding=\"UTF-8\" length=\"12\"/><x/><read encoding=\"\"/>");
    AppendLogRecord(log, xml::LogUpdate, u"x", std::nullopt, 4);
    EXPECT_EQ(
        log,
        u"<bom/><read encoding=\"UTF-8\" length=\"12\"/><x offset=\"4\"/><read encoding=\"\"/>");
}

TEST(ResultLog, UpdateWithoutARecordChangesNothing) {
    std::u16string log = u"<bom/>";
    AppendLogRecord(log, xml::LogUpdate | xml::LogTextIsEncoding, u"read", u"UTF-8");
    EXPECT_EQ(log, u"<bom/>");
    std::u16string empty;
    AppendLogRecord(empty, xml::LogUpdate, u"read", std::nullopt, 1);
    EXPECT_EQ(empty, u"");
}

TEST(ResultLog, StopsAtOneThousandCharacters) {
    std::u16string log;
    while (log.size() < xml::LogLimit)
        AppendLogRecord(log, 0, u"record", u"0123456789", 123);
    const std::u16string full = log;
    EXPECT_LT(full.size(), xml::LogLimit + 40) << "the last record may cross the limit";
    AppendLogRecord(log, 0, u"more");
    AppendLogRecord(log, xml::LogUpdate, u"record", u"changed");
    EXPECT_EQ(log, full);
}

TEST(ResultLog, ParseStopsLoggingAtTheLimit) {
    std::u16string text = u"<r>";
    for (int i = 0; i < 500; ++i)
        text += u"</x>";
    text += u"</r>";
    xml::XmlDocument doc;
    EXPECT_FALSE(doc.AssignText(text));
    const std::u16string& log = doc.ResultLog();
    EXPECT_GE(log.size(), xml::LogLimit);
    EXPECT_LT(log.size(), xml::LogLimit + 40);
    EXPECT_EQ(log.substr(log.size() - 2), u"/>");
}

TEST(ResultLog, AppendLogRecordsCopiesWholeRecordsUpToTheLimit) {
    std::u16string log(995, u'.');
    xml::AppendLogRecords(log, u"<a offset=\"1\"/><b/>");
    EXPECT_EQ(log, std::u16string(995, u'.') + u"<a offset=\"1\"/>");
}

} // namespace

namespace {

// The log writer must give exactly the text that the editing operations give
// on a document over the log.
TEST(ResultLog, WriterAgreesWithTheEditingOperations) {
    std::u16string log;
    xml::XmlDocument edited;
    edited.AssignText(u"");
    struct Step {
        std::u16string_view word;
        std::u16string_view name;
        std::u16string_view value;
    };
    const Step steps[] = {{u"bom", {}, {}},
                          {u"read", u"encoding", u"UTF-8"},
                          {u"lone_end_tag", u"tagname", u"a<b"},
                          {u"file_error", u"msg", u"it's \"gone\""}};
    for (const Step& step : steps) {
        if (step.name.empty()) {
            AppendLogRecord(log, 0, step.word);
        } else {
            const std::uint32_t flags = step.name == u"encoding" ? xml::LogTextIsEncoding
                                        : step.name == u"msg"    ? xml::LogTextIsMsg
                                                                 : 0;
            AppendLogRecord(log, flags, step.word, step.value, 12, 34);
        }
        edited.RewindLevel();
        ASSERT_TRUE(edited.InsertElement(step.word, xml::InsertNoLineBreak));
        if (!step.name.empty()) {
            ASSERT_TRUE(edited.WriteAttribute(edited.CursorPos(), step.name, step.value));
            ASSERT_TRUE(edited.WriteAttribute(edited.CursorPos(), u"offset", u"12"));
            ASSERT_TRUE(edited.WriteAttribute(edited.CursorPos(), u"offset2", u"34"));
        }
        EXPECT_EQ(log, edited.Text());
    }
}

} // namespace
