#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "platform/Files.h"
#include "platform/sim/SimFiles.h"
#include "platform/sim/SimMachine.h"
#include "tools/mediacheck/MediumCheck.h"
#include "tools/mediacheck/ReportOutput.h"

namespace {

using platform::sim::PutFile;

constexpr char16_t Medium[] = u"C:\\M";

// The files of model A, complete for amd64 and i386.
const std::u16string_view ModelAFiles[] = {
    u"amd64\\d.dll", u"amd64\\p.gpd", u"amd64\\A_Statuskeeper.exe",
    u"i386\\d.dll",  u"i386\\p.gpd",  u"i386\\A_Statuskeeper.exe",
};

struct MediumCase {
    const char* name;
    std::string_view xml; // empty: no config.xml
    std::vector<std::string> findings;
    int exitCode;
};

void PrintTo(const MediumCase& row, std::ostream* out) {
    *out << row.name;
}

// Runs of one letter longer than 16 are written "{count*letter}", so that
// rows about long names stay readable.
std::string Abbreviated(const std::string& line) {
    std::string out;
    for (std::size_t i = 0; i < line.size();) {
        std::size_t run = 1;
        while (i + run < line.size() && line[i + run] == line[i])
            ++run;
        if (run > 16)
            out += "{" + std::to_string(run) + "*" + line[i] + "}";
        else
            out.append(run, line[i]);
        i += run;
    }
    return out;
}

// The finding lines of the text report.
std::vector<std::string> FindingLines(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);)
        if (line.starts_with("config.xml:"))
            lines.push_back(Abbreviated(line));
    return lines;
}

const MediumCase MediumCases[] = {
    {"Complete",
     "<Printers>\n"
     "  <Printer name='A'>\n"
     "    <amd64><Driver>amd64\\d.dll</Driver><Data>amd64\\p.gpd</Data><Paper>A4</Paper></amd64>\n"
     "    <i386><Driver>i386\\d.dll</Driver><Data>i386\\p.gpd</Data></i386>\n"
     "  </Printer>\n"
     "</Printers>\n",
     {},
     ExitAccepted},
    {"NoCatalogue",
     "",
     {"config.xml: error: config.xml is missing: C:\\M\\config.xml (system error 2: The system "
      "cannot find the file specified.) [Setup stops at this error]"},
     ExitRefused},
    {"IllFormed",
     "<Printers>\r\n  <Printer name='A'>\r\n  </Printerz>\r\n</Printers>\r\n",
     {"config.xml:2:3: error: element <Printer> has no end tag; it is still open at 4:2 [Setup "
      "stops at this error]",
      "config.xml:2:3: note: the text was read as UTF-8 (the file starts with \"<\" and declares "
      "nothing)",
      "config.xml:3:3: error: end tag </Printerz> closes no open element"},
     ExitRefused},
    {"TwoRoots",
     "<?xml version='1.0' encoding='windows-1252'?>\n<Printers/>\n<Printers/>\n",
     {"config.xml:3:1: error: a second top-level element: a document has exactly one [Setup "
      "stops at this error]",
      "config.xml:3:1: note: the text was read as windows-1252 (declared)"},
     ExitRefused},
    {"EmptyFile",
     " ",
     {"config.xml: error: config.xml holds no element [Setup stops at this error]",
      "config.xml: note: the text was read as UTF-8 (detected: valid UTF-8)"},
     ExitRefused},
    {"RootInLowerCase",
     "<!-- the catalogue -->\n<printers/>\n",
     {"config.xml:2:1: error: the top-level element is <printers>, not <Printers>: names are "
      "compared letter case included [Setup stops at this error]"},
     ExitRefused},
    {"MissingFiles",
     "<Printers>\n"
     "  <Printer name='A'>\n"
     "    <amd64><Driver>amd64\\d.dll</Driver><Data>amd64\\gone.gpd</Data></amd64>\n"
     "    <i386><Driver>i386\\d.dll</Driver><Data>i386\\p.gpd</Data></i386>\n"
     "    <ia64><DependsFile>ia64\\gone.dll</DependsFile></ia64>\n"
     "  </Printer>\n"
     "</Printers>\n",
     {"config.xml:3:40: error: <Data> of model \"A\" (amd64): no such file: C:\\M\\amd64\\gone.gpd "
      "[Setup stops at this error]",
      "config.xml:5:5: warning: the ia64 file set of model \"A\" has no Driver",
      "config.xml:5:11: error: <DependsFile> of model \"A\" (ia64): no such file: "
      "C:\\M\\ia64\\gone.dll"},
     ExitRefused},
    {"Warnings",
     "<Printers>\n"
     "  <Printer name='A'>\n"
     "    <amd64><Driver>amd64\\d.dll</Driver><Data>amd64\\p.gpd</Data><Paper/>"
     "<DependsFile>amd64\\p.gpd</DependsFile></amd64>\n"
     "    <i386><Driver>i386\\d.dll</Driver><Data>i386\\p.gpd</Data><Help>amd64\\D.DLL</Help>"
     "</i386>\n"
     "    <amd64><data>amd64\\p.gpd</data></amd64>\n"
     "  </Printer>\n"
     "  <Printer name='A'><i386><Driver>i386\\d.dll</Driver></i386></Printer>\n"
     "  <Printer><Amd64/></Printer>\n"
     "  <Printer name='A,B'><amd64><Driver>amd64\\d.dll</Driver></amd64></Printer>\n"
     "</Printers>\n",
     {"config.xml:3:64: warning: empty <Paper> element in model \"A\" (amd64)",
      "config.xml:3:72: warning: DependsFile repeats the Data file in the amd64 file set of model "
      "\"A\"",
      "config.xml:4:61: warning: Help has the file name \"D.DLL\" of the Driver at line 4 in the "
      "i386 file set of model \"A\": both land on the same destination file",
      "config.xml:5:12: warning: <data> is skipped: names are compared letter case included; did "
      "you mean <Data>?",
      "config.xml:7:3: warning: model name \"A\" was used at line 2: only the first model is ever "
      "installed or removed",
      "config.xml:7:3: warning: model \"A\" has no amd64 file set: Setup fails to install it on "
      "Windows x64",
      "config.xml:8:3: warning: <Printer> without a name attribute: the model is listed with an "
      "empty name",
      "config.xml:8:3: warning: model \"\" has no amd64 file set: Setup fails to install it on "
      "Windows x64",
      "config.xml:8:3: warning: model \"\" has no i386 file set: Setup fails to install it on "
      "Windows NT x86",
      "config.xml:8:3: warning: model \"\" has no amd64\\_Statuskeeper.exe: the status monitor "
      "would be registered with a missing program: C:\\M\\amd64\\_Statuskeeper.exe",
      "config.xml:8:3: warning: model \"\" has no i386\\_Statuskeeper.exe: the status monitor "
      "would be registered with a missing program: C:\\M\\i386\\_Statuskeeper.exe",
      "config.xml:8:12: warning: <Amd64> is skipped: names are compared letter case included; did "
      "you mean <amd64>?",
      "config.xml:9:3: warning: model name \"A,B\" contains \",\" or \"\\\": the spooler refuses "
      "it as a printer name",
      "config.xml:9:3: warning: model \"A,B\" has no i386 file set: Setup fails to install it on "
      "Windows NT x86",
      "config.xml:9:3: warning: model \"A,B\" has no amd64\\A,B_Statuskeeper.exe: the status "
      "monitor would be registered with a missing program: C:\\M\\amd64\\A,B_Statuskeeper.exe",
      "config.xml:9:3: warning: model \"A,B\" has no i386\\A,B_Statuskeeper.exe: the status "
      "monitor would be registered with a missing program: C:\\M\\i386\\A,B_Statuskeeper.exe"},
     ExitWarnings},
    {"ModelNameTooLong",
     "<Printers>\n  <Printer "
     "name='"
     "NNNNNNNNNNNNNNNNNNNNNNNNNNNNNNNNNNNNNNNNNNNNNNNNNNNNNNNNNNNNNNNNNNNNNNNNNNNNNNNNNNNNNNNNNNNNN"
     "NNNNNNNNNNNNNNNNNNNNNNNNNNNNNNNNNNNNNNNNNNNNNNNNNNNNNNNNNNNNNNNNNNNNNNNNNNNNNNNNNNNNNNNNNNNNN"
     "NNNNNNNNNNNNNNNNNNNNNNNNNNNNNNNNNNNNNNNNNNNNNNNNNNNNNNNNNNNNNNNNNNNNNNNNNNNNNNNNNNNNNNNNNNNNN"
     "NNNNNNNNNNNNNNNNNNNNNNNNNNNNNNNNNNNNNNNNNNNNNNNNNNNNNNNNNNNNNNNNNNNNNNNNNNNNNNNNNNNNNNNNNNNNN"
     "NNNNNNNNNNNNNNNNNNNNNNNNNNNNNNNNNNNNNNNNNNNNNNNNNNNNNNNNNNNNNNNNNNNNNNNNNNNNNNNNNNNNNNNNNNNNN"
     "NNNNNNNNNNNNNNNNNNNNNNNNNNNNNNNNNNN'>\n"
     "    <amd64><Driver>amd64\\d.dll</Driver></amd64><i386><Driver>i386\\d.dll</Driver></i386>\n"
     "  </Printer>\n</Printers>\n",
     {"config.xml:2:3: error: the model name has 500 characters; Setup takes at most 499 [Setup "
      "stops at this error]",
      "config.xml:2:3: warning: model \"{500*N}\" has no amd64\\{500*N}_Statuskeeper.exe: the "
      "status monitor would be registered with a missing program: "
      "C:\\M\\amd64\\{500*N}_Statuskeeper.exe",
      "config.xml:2:3: warning: model \"{500*N}\" has no i386\\{500*N}_Statuskeeper.exe: the "
      "status monitor would be registered with a missing program: "
      "C:\\M\\i386\\{500*N}_Statuskeeper.exe"},
     ExitRefused},
    {"FilePathTooLong",
     "<Printers>\n  <Printer name='A'>\n"
     "    "
     "<amd64><Driver>amd64\\d.dll</"
     "Driver><Help>"
     "PPPPPPPPPPPPPPPPPPPPPPPPPPPPPPPPPPPPPPPPPPPPPPPPPPPPPPPPPPPPPPPPPPPPPPPPPPPPPPPPPPPPPPPPPPPPP"
     "PPPPPPPPPPPPPPPPPPPPPPPPPPPPPPPPPPPPPPPPPPPPPPPPPPPPPPPPPPPPPPPPPPPPPPPPPPPPPPPPPPPPPPPPPPPPP"
     "PPPPPPPPPPPPPPPPPPPPPPPPPPPPPPPPPPPPPPPPPPPPPPPPPPPPPPPPPPPPPPPPP.hlp</Help></amd64>\n"
     "    <i386><Driver>i386\\d.dll</Driver></i386>\n  </Printer>\n</Printers>\n",
     {"config.xml:3:40: error: <Help> of model \"A\" (amd64): the path has 260 characters; Setup "
      "takes at most 259: C:\\M\\{251*P}.hlp [Setup stops at this error]"},
     ExitRefused},
};

class MediumFindings : public ::testing::TestWithParam<MediumCase> {
  protected:
    void SetUp() override {
        platform::sim::ResetMachine();
        for (std::u16string_view file : ModelAFiles)
            PutFile(std::u16string(Medium) + u"\\" + std::u16string(file), "file");
    }
};

TEST_P(MediumFindings, AreReportedInTheOrderOfTheFile) {
    const MediumCase& row = GetParam();
    if (!row.xml.empty())
        PutFile(u"C:\\M\\config.xml", row.xml);
    MediumReport report = CheckMedium(Medium);
    EXPECT_EQ(FindingLines(ReportText(report)), row.findings);
    EXPECT_EQ(ExitCodeOf(report), row.exitCode);
    EXPECT_EQ(report.setupAccepts, row.exitCode != ExitRefused);
}

INSTANTIATE_TEST_SUITE_P(Media, MediumFindings, ::testing::ValuesIn(MediumCases),
                         [](const auto& row) { return std::string(row.param.name); });

TEST_F(MediumFindings, UnreadableCatalogueShowsTheSystemsMessage) {
    PutFile(u"C:\\M\\config.xml\\inside", "");
    MediumReport report = CheckMedium(Medium);
    EXPECT_EQ(
        FindingLines(ReportText(report)),
        (std::vector<std::string>{"config.xml: error: config.xml cannot be read (system error "
                                  "5: Access is denied.) [Setup stops at this error]"}));
    EXPECT_FALSE(report.setupAccepts);
}

TEST_F(MediumFindings, JsonHoldsTheSameReport) {
    PutFile(u"C:\\M\\config.xml", "<Printers>\n  <Printer name='A\"'><amd64><Driver>amd64\\d.dll"
                                  "</Driver></amd64><i386><Help>i386\\x.hlp</Help></i386>"
                                  "</Printer>\n</Printers>\n");
    MediumReport report = CheckMedium(Medium);
    EXPECT_EQ(ReportJson(report), R"({
  "medium": "C:\\M",
  "catalogue": "C:\\M\\config.xml",
  "setupAccepts": false,
  "encoding": {"name": "UTF-8", "source": "the file starts with \"<\" and declares nothing"},
  "findings": [
    {"file": "config.xml", "line": 2, "column": 3, "severity": "warning", "text": "model \"A\"\" has no amd64\\A\"_Statuskeeper.exe: the status monitor would be registered with a missing program: C:\\M\\amd64\\A\"_Statuskeeper.exe", "setupStopsHere": false},
    {"file": "config.xml", "line": 2, "column": 3, "severity": "warning", "text": "model \"A\"\" has no i386\\A\"_Statuskeeper.exe: the status monitor would be registered with a missing program: C:\\M\\i386\\A\"_Statuskeeper.exe", "setupStopsHere": false},
    {"file": "config.xml", "line": 2, "column": 65, "severity": "warning", "text": "the i386 file set of model \"A\"\" has no Driver", "setupStopsHere": false},
    {"file": "config.xml", "line": 2, "column": 71, "severity": "error", "text": "<Help> of model \"A\"\" (i386): no such file: C:\\M\\i386\\x.hlp", "setupStopsHere": true}
  ],
  "models": [
    {"name": "A\"", "line": 2, "files": {"amd64": 1, "ia64": 0, "i386": 1}}
  ],
  "errors": 1,
  "warnings": 3
}
)");
    EXPECT_EQ(ExitCodeOf(report), ExitRefused);
}

} // namespace
