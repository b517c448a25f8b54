#include <gtest/gtest.h>

#include "platform/Error.h"
#include "platform/sim/SimFaults.h"
#include "platform/sim/SimFiles.h"
#include "platform/sim/SimSystem.h"
#include "xml/XmlDocument.h"

namespace {

using namespace std::string_literals;

constexpr const char16_t* FilePath = u"C:\\Medium\\config.xml";

class LoadFileTest : public ::testing::Test {
  protected:
    void SetUp() override {
        platform::sim::ResetFiles();
        platform::sim::ResetSystem();
        platform::sim::ClearFaults();
        document.AssignText(std::nullopt);
    }
    void TearDown() override { platform::sim::ClearFaults(); }

    bool Load(const std::string& bytes) {
        platform::sim::PutFile(FilePath, bytes);
        return document.LoadFile(FilePath);
    }

    xml::XmlDocument document;
};

struct LoadCase {
    const char* label;
    std::string bytes;
    std::u16string text;
    std::u16string log;
    std::uint32_t flags;
};

const std::u16string Converted9 = u"<converted_to encoding=\"UTF-16\" length=\"9\"/>";

// Files whose bytes make a well-formed document, so parsing adds no record.
const LoadCase WellFormed[] = {
    {"UTF-8 with a mark", "\xEF\xBB\xBF<a>\xC3\xA9</a>", u"<a>\u00E9</a>",
     u"<bom/><read encoding=\"UTF-8\" length=\"9\"/>"
     u"<converted_to encoding=\"UTF-16\" length=\"8\"/>",
     4},
    {"UTF-16LE with a mark", "\xFF\xFE<\0a\0>\0\x42\x30<\0/\0a\0>\0"s, u"<a>\u3042</a>",
     u"<bom/><read encoding=\"UTF-16LE\" length=\"8\"/>", 1},
    {"UTF-16BE with a mark", "\xFE\xFF\0<\0a\0>\x30\x42\0<\0/\0a\0>"s, u"<a>\u3042</a>",
     u"<bom/><read encoding=\"UTF-16BE\" length=\"8\"/><endian_swap/>", 128},
    {"Shift_JIS declared", "<?xml version=\"1.0\" encoding=\"Shift_JIS\"?><a>\x93\xFA</a>",
     u"<?xml version=\"1.0\" encoding=\"Shift_JIS\"?><a>\u65E5</a>",
     u"<read encoding=\"Shift_JIS\" length=\"51\"/>"
     u"<converted_to encoding=\"UTF-16\" length=\"50\"/>",
     0},
    {"windows-1252 declared in capitals", "<?xml encoding='WINDOWS-1252'?><a>\x80</a>",
     u"<?xml encoding='WINDOWS-1252'?><a>\u20AC</a>",
     u"<read encoding=\"WINDOWS-1252\" length=\"39\"/>"
     u"<converted_to encoding=\"UTF-16\" length=\"39\"/>",
     0},
    {"EUC-JP through a meta tag",
     "<html><head><meta http-equiv=\"Content-Type\" content=\"text/html; charset=euc-jp\"/>"
     "</head><body>\xC6\xFC</body></html>",
     u"<html><head><meta http-equiv=\"Content-Type\" content=\"text/html; charset=euc-jp\"/>"
     u"</head><body>\u65E5</body></html>",
     u"<read encoding=\"euc-jp\" length=\"110\"/>"
     u"<converted_to encoding=\"UTF-16\" length=\"109\"/>",
     0},
    {"undeclared, starting with <, read as UTF-8", "<a>\xE9</a>", u"<a>\uFFFD</a>",
     u"<read encoding=\"UTF-8\" length=\"8\"/><converted_to encoding=\"UTF-16\" length=\"8\"/>", 0},
    {"undeclared UTF-8 found by detection", " <a>\xC3\xA9</a>", u" <a>\u00E9</a>",
     u"<read encoding=\"UTF-8\" length=\"10\"/><utf8_detection/>" + Converted9, 0},
    {"undeclared ANSI after failed detection", " <a>\xE9</a>", u" <a>\u00E9</a>",
     u"<read encoding=\"\" length=\"9\"/><utf8_detection/>" + Converted9, 0},
    {"UTF-16LE without a mark", "<\0a\0/\0>\0"s, u"<a/>",
     u"<read encoding=\"UTF-8\" length=\"8\"/><nulls_removed count=\"4\"/>"
     u"<converted_to encoding=\"UTF-16\" length=\"4\"/>",
     0},
    {"UTF-16LE with a mark and an odd last byte", "\xFF\xFE<\0a\0/\0>\0x"s, u"<a/>",
     u"<bom/><read encoding=\"UTF-16LE\" length=\"4\"/>", 1},
    {"UTF-16LE with a mark and zero units", "\xFF\xFE<\0\0\0a\0/\0>\0"s, u"<a/>",
     u"<bom/><read encoding=\"UTF-16LE\" length=\"5\"/><nulls_removed count=\"1\"/>", 1},
};

} // namespace

TEST_F(LoadFileTest, ReadsEachEncoding) {
    for (const LoadCase& c : WellFormed) {
        SCOPED_TRACE(c.label);
        EXPECT_TRUE(Load(c.bytes));
        EXPECT_EQ(document.Text(), c.text);
        EXPECT_EQ(document.ResultLog(), c.log);
        EXPECT_EQ(document.Flags(), c.flags);
    }
}

TEST_F(LoadFileTest, AnsiFallbackFollowsTheMachine) {
    platform::sim::SetAnsiCodePage(1251);
    EXPECT_TRUE(Load(" <a>\xC0</a>"));
    EXPECT_EQ(document.Text(), u" <a>\u0410</a>");
}

TEST_F(LoadFileTest, KeepsTheCaseFlagAndAddsTheMark) {
    document.SetFlags(8);
    EXPECT_TRUE(Load("\xEF\xBB\xBF<a/>"));
    EXPECT_EQ(document.Flags(), 12u);
}

TEST_F(LoadFileTest, AMarkFromAnEarlierLoadIsForgotten) {
    EXPECT_TRUE(Load("\xFE\xFF\0<\0a\0/\0>"s));
    EXPECT_TRUE(Load("<b/>"));
    EXPECT_EQ(document.Text(), u"<b/>");
    EXPECT_EQ(document.Flags(), 0u);
}

TEST_F(LoadFileTest, EmptyFilesAndLoneMarksGiveAnEmptyText) {
    const std::pair<std::string, std::u16string> cases[] = {
        {"", u"<read encoding=\"\" length=\"0\"/>"},
        {"\xEF\xBB\xBF", u"<bom/><read encoding=\"UTF-8\" length=\"0\"/>"},
        {"\xFE\xFF", u"<bom/><read encoding=\"UTF-16BE\" length=\"0\"/>"},
    };
    for (const auto& [bytes, log] : cases) {
        EXPECT_FALSE(Load(bytes));
        EXPECT_TRUE(document.Text().empty());
        EXPECT_TRUE(document.ResultLog().starts_with(log)) << bytes;
    }
}

TEST_F(LoadFileTest, Utf16DeclaredWithoutAMarkCannotBeConverted) {
    EXPECT_FALSE(Load("<?xml encoding=\"UTF-16\"?><a/>"));
    EXPECT_TRUE(document.Text().empty());
    EXPECT_TRUE(
        document.ResultLog().starts_with(u"<read encoding=\"UTF-16\" length=\"29\"/><converted_to "
                                         u"encoding=\"UTF-16\" length=\"0\"/>"));
}

TEST_F(LoadFileTest, UpperCaseUtf32NamesUseTheOwnDecoding) {
    // 28 bytes, no zero among them: seven units, each above U+FFFF.
    EXPECT_FALSE(Load("<?xml encoding=\"UTF-32\"?>   "));
    EXPECT_EQ(document.Text().size(), 14u);
    EXPECT_TRUE(
        document.ResultLog().starts_with(u"<read encoding=\"UTF-32\" length=\"28\"/><converted_to "
                                         u"encoding=\"UTF-16\" length=\"14\"/>"));
}

TEST_F(LoadFileTest, MissingFilesReportWindowsMessages) {
    platform::sim::PutFile(u"C:\\Medium\\other.xml", "<a/>");
    const std::pair<const char16_t*, std::u16string> cases[] = {
        {u"C:\\Medium\\absent.xml",
         u"<file_error msg=\"The system cannot find the file specified.\" n=\"2\"/>"},
        {u"C:\\Absent\\config.xml",
         u"<file_error msg=\"The system cannot find the path specified.\" n=\"3\"/>"},
    };
    for (const auto& [path, log] : cases) {
        EXPECT_FALSE(document.LoadFile(path));
        EXPECT_EQ(document.ResultLog(), log);
        EXPECT_TRUE(document.Text().empty());
    }
}

TEST_F(LoadFileTest, ReadFailuresStopBeforeParsing) {
    const std::string big = "<a>" + std::string(2000, 'x') + "</a>";
    struct FailureCase {
        std::uint32_t skip;
        platform::WinError error;
        std::u16string log;
    };
    const FailureCase cases[] = {
        {0, platform::ErrorAccessDenied, u"<file_error msg=\"Access is denied.\" n=\"5\"/>"},
        {1, platform::ErrorGenFailure,
         u"<file_error msg=\"A device attached to the system is not functioning.\" n=\"31\"/>"},
    };
    for (const FailureCase& c : cases) {
        platform::sim::FailOnce("ReadFile", c.error, c.skip);
        EXPECT_FALSE(Load(big));
        EXPECT_EQ(document.ResultLog(), c.log);
        EXPECT_TRUE(document.Text().empty());
        EXPECT_FALSE(document.SeekElement());
        EXPECT_TRUE(document.ReadTagName().empty());
    }
}

TEST_F(LoadFileTest, AFailedLoadLeavesNothingToNavigate) {
    EXPECT_TRUE(Load("<a><b/></a>"));
    EXPECT_TRUE(document.SeekElement());
    EXPECT_FALSE(document.LoadFile(u"C:\\Medium\\absent.xml"));
    EXPECT_TRUE(document.ReadTagName().empty());
    EXPECT_FALSE(document.SeekElement());
    EXPECT_FALSE(document.EnterElement());
}

TEST_F(LoadFileTest, AFailedCloseIsRecordedButTheTextStays) {
    platform::sim::FailOnce("CloseHandle", platform::ErrorInvalidHandle);
    EXPECT_TRUE(Load("\xEF\xBB\xBF<a/>"));
    EXPECT_EQ(document.ResultLog(), u"<bom/><read encoding=\"UTF-8\" length=\"4\"/>"
                                    u"<converted_to encoding=\"UTF-16\" length=\"4\"/>"
                                    u"<file_error msg=\"The handle is invalid.\" n=\"6\"/>");
    EXPECT_EQ(document.Text(), u"<a/>");
}

TEST_F(LoadFileTest, AnUnreadableMessageLeavesTheTextEmpty) {
    platform::sim::FailOnce("FormatMessageW", platform::ErrorInsufficientBuffer);
    EXPECT_FALSE(document.LoadFile(u"C:\\absent.xml"));
    EXPECT_EQ(document.ResultLog(), u"<file_error msg=\"\" n=\"2\"/>");
}

TEST_F(LoadFileTest, OnlyTheFirstKilobyteIsSniffed) {
    std::string late = "<!--" + std::string(1100, ' ') + "--><?xml encoding=\"Shift_JIS\"?>";
    Load(" " + late);
    EXPECT_TRUE(document.ResultLog().starts_with(u"<read encoding=\"UTF-8\""));
}
