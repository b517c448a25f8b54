#include <gtest/gtest.h>

#include <ostream>
#include <string>
#include <vector>

#include "platform/sim/SimFaults.h"
#include "platform/sim/SimFiles.h"
#include "platform/sim/SimMachine.h"
#include "platform/sim/SimSystem.h"
#include "platform/sim/SimUnicode.h"
#include "wizard/CatalogueLoader.h"
#include "wizard/CataloguePaths.h"

namespace {

using platform::sim::PutFile;
using platform::sim::ToUtf8;

void PrintPaths(const char* name, const std::vector<std::u16string>& paths, std::ostream* out) {
    for (const std::u16string& path : paths)
        *out << "\n    " << name << " " << ToUtf8(path);
}

} // namespace

void PrintTo(const PrinterModel& model, std::ostream* out) {
    *out << "model \"" << ToUtf8(model.name) << "\"";
    const std::pair<const char*, const PrinterFileSet*> sets[] = {
        {"i386", &model.i386}, {"amd64", &model.amd64}, {"ia64", &model.ia64}};
    for (const auto& [name, set] : sets) {
        *out << "\n  " << name << ": Driver=" << ToUtf8(set->Driver)
             << " Data=" << ToUtf8(set->Data) << " Config=" << ToUtf8(set->Config)
             << " Help=" << ToUtf8(set->Help);
        PrintPaths("DependsFile", set->DependsFile, out);
        PrintPaths("Paper", set->Paper, out);
    }
}

namespace {

constexpr char16_t SetupFolder[] = u"C:\\Setup";

std::u16string InSetup(std::u16string_view relative) {
    return JoinPath(SetupFolder, relative);
}

// A medium in the simulated machine: Setup at C:\Setup\Setup.exe, its
// config.xml, and the files a test puts beside it.
class CatalogueLoad : public ::testing::Test {
  protected:
    void SetUp() override { platform::sim::ResetMachine(); }

    static void Config(std::string_view xml) { PutFile(u"C:\\Setup\\config.xml", xml); }
    static void Files(std::initializer_list<std::u16string_view> relatives) {
        for (std::u16string_view relative : relatives)
            PutFile(InSetup(relative), "file");
    }

    PrinterCatalogue catalogue;
};

// The files of a complete file set, relative to the Setup folder.
PrinterFileSet FullSet(std::u16string_view folder) {
    std::u16string base = std::u16string(SetupFolder) + u"\\" + std::u16string(folder) + u"\\";
    return {base + u"drv.dll",
            base + u"data.gpd",
            base + u"ui.dll",
            base + u"help.hlp",
            {base + u"dep1.dll", base + u"dep2.dll"},
            {}};
}

constexpr std::string_view TwoModels = R"(<?xml version="1.0" encoding="utf-8"?>
<Printers>
  <Printer name="Varnoquill">
    <amd64>
      <Driver>amd64\drv.dll</Driver><Data>amd64\data.gpd</Data>
      <Config>amd64\ui.dll</Config><Help>amd64\help.hlp</Help>
      <DependsFile>amd64\dep1.dll</DependsFile><DependsFile>amd64\dep2.dll</DependsFile>
      <Paper>A4</Paper><Paper> Letter &amp; Legal</Paper>
      <Unknown>amd64\absent.dll</Unknown>
    </amd64>
    <i386>
      <Driver>i386\drv.dll</Driver><Data>i386\data.gpd</Data>
      <Config>i386\ui.dll</Config><Help>i386\help.hlp</Help>
      <DependsFile>i386\dep1.dll</DependsFile><DependsFile>i386\dep2.dll</DependsFile>
    </i386>
    <Notes><Driver>absent.dll</Driver></Notes>
  </Printer>
  <Other name="x"/>
  <Printer name="Varnoquill Lite">
    <amd64><Driver>amd64\drv.dll</Driver><DependsFile>amd64\dep2.dll</DependsFile></amd64>
  </Printer>
</Printers>
)";

void PutTwoModelFiles() {
    for (std::u16string_view folder : {u"amd64", u"i386"})
        for (std::u16string_view file :
             {u"drv.dll", u"data.gpd", u"ui.dll", u"help.hlp", u"dep1.dll", u"dep2.dll"})
            PutFile(InSetup(std::u16string(folder) + u"\\" + std::u16string(file)), "file");
}

TEST_F(CatalogueLoad, ReadsEveryModelInFileOrder) {
    Config(TwoModels);
    PutTwoModelFiles();
    catalogue.push_back(PrinterModel{u"left from before", {}, {}, {}});

    ASSERT_TRUE(LoadCatalogue(catalogue));

    PrinterModel first{u"Varnoquill", FullSet(u"i386"), FullSet(u"amd64"), {}};
    first.amd64.Paper = {u"A4", u" Letter & Legal"};
    PrinterModel second{u"Varnoquill Lite", {}, {}, {}};
    second.amd64.Driver = InSetup(u"amd64\\drv.dll");
    second.amd64.DependsFile = {InSetup(u"amd64\\dep2.dll")};
    EXPECT_EQ(catalogue, (PrinterCatalogue{first, second}));
}

TEST_F(CatalogueLoad, MissingCatalogueIsInvalid) {
    EXPECT_FALSE(LoadCatalogue(catalogue));
    EXPECT_TRUE(catalogue.empty());
}

TEST_F(CatalogueLoad, ProgramPathUnknownIsInvalid) {
    Config("<Printers/>");
    platform::sim::FailOnce("GetModuleFileNameW", platform::ErrorInsufficientBuffer);
    EXPECT_FALSE(LoadCatalogue(catalogue));
}

TEST_F(CatalogueLoad, PrintersWithoutPrinterIsAnEmptyCatalogue) {
    Config("<Printers>\n  <!-- none yet -->\n</Printers>");
    EXPECT_TRUE(LoadCatalogue(catalogue));
    EXPECT_TRUE(catalogue.empty());
}

TEST_F(CatalogueLoad, ProgramInADriveRootFindsItsCatalogue) {
    platform::sim::SetModuleFileName(u"D:\\Setup.exe");
    PutFile(u"D:\\config.xml", "<Printers><Printer name='P'><i386><Driver>d.dll</Driver>"
                               "</i386></Printer></Printers>");
    PutFile(u"D:\\d.dll", "file");
    ASSERT_TRUE(LoadCatalogue(catalogue));
    ASSERT_EQ(catalogue.size(), 1u);
    EXPECT_EQ(catalogue[0].i386.Driver, u"D:\\\\d.dll");
}

TEST_F(CatalogueLoad, PrinterWithoutNameIsListedWithAnEmptyName) {
    Config("<Printers><Printer><amd64/></Printer><Printer name=''/></Printers>");
    ASSERT_TRUE(LoadCatalogue(catalogue));
    EXPECT_EQ(catalogue, (PrinterCatalogue{{}, {}}));
}

TEST_F(CatalogueLoad, EmptyDriverElementNamesTheSetupFolderItself) {
    Config("<Printers><Printer name='P'><amd64><Driver></Driver><Help/></amd64>"
           "</Printer></Printers>");
    ASSERT_TRUE(LoadCatalogue(catalogue));
    EXPECT_EQ(catalogue[0].amd64.Driver, u"C:\\Setup\\");
    EXPECT_EQ(catalogue[0].amd64.Help, u"C:\\Setup\\");
}

TEST_F(CatalogueLoad, LeadingBlankIsKept) {
    Config("<Printers><Printer name='P'><amd64><Driver> drv.dll</Driver></amd64>"
           "</Printer></Printers>");
    Files({u"drv.dll"});
    EXPECT_FALSE(LoadCatalogue(catalogue));
    Files({u" drv.dll"});
    ASSERT_TRUE(LoadCatalogue(catalogue));
    EXPECT_EQ(catalogue[0].amd64.Driver, u"C:\\Setup\\ drv.dll");
}

TEST_F(CatalogueLoad, SecondDriverIsStoredAndBothMustExist) {
    Config("<Printers><Printer name='P'><amd64><Driver>one.dll</Driver>"
           "<Driver>two.dll</Driver></amd64></Printer></Printers>");
    Files({u"two.dll"});
    EXPECT_FALSE(LoadCatalogue(catalogue));
    Files({u"one.dll"});
    ASSERT_TRUE(LoadCatalogue(catalogue));
    EXPECT_EQ(catalogue[0].amd64.Driver, InSetup(u"two.dll"));
}

TEST_F(CatalogueLoad, ArchitectureStandingTwiceAddsToOneFileSet) {
    Config("<Printers><Printer name='P'><i386><DependsFile>a.dll</DependsFile></i386>"
           "<i386><DependsFile>b.dll</DependsFile><Driver>a.dll</Driver></i386>"
           "</Printer></Printers>");
    Files({u"a.dll", u"b.dll"});
    ASSERT_TRUE(LoadCatalogue(catalogue));
    EXPECT_EQ(catalogue[0].i386.DependsFile,
              (std::vector<std::u16string>{InSetup(u"a.dll"), InSetup(u"b.dll")}));
    EXPECT_EQ(catalogue[0].i386.Driver, InSetup(u"a.dll"));
}

TEST_F(CatalogueLoad, FolderPassesTheExistenceTest) {
    Config("<Printers><Printer name='P'><amd64><Data>amd64</Data></amd64></Printer></Printers>");
    Files({u"amd64\\drv.dll"});
    EXPECT_TRUE(LoadCatalogue(catalogue));
}

TEST_F(CatalogueLoad, ModelsBeforeAFailureStayInTheCatalogue) {
    Config("<Printers><Printer name='A'/><Printer name='B'><ia64><Help>absent.hlp</Help>"
           "</ia64></Printer><Printer name='C'/></Printers>");
    EXPECT_FALSE(LoadCatalogue(catalogue));
    ASSERT_EQ(catalogue.size(), 1u);
    EXPECT_EQ(catalogue[0].name, u"A");
}

// Catalogues that Setup must refuse, each for one reason.
struct InvalidCatalogue {
    const char* name;
    std::string_view xml;
};

void PrintTo(const InvalidCatalogue& row, std::ostream* out) {
    *out << row.name;
}

const InvalidCatalogue InvalidCatalogues[] = {
    {"RootSpelledInLowerCase", "<printers><Printer name='P'/></printers>"},
    {"PrintersNotAtTheTop", "<Root><Printers/></Root>"},
    {"IllFormed", "<Printers><Printer name='P'></Printers>"},
    {"TwoTopLevelElements", "<Printers/><Printers/>"},
    {"EmptyFile", ""},
    {"NoElementAtAll", "just text"},
    {"MissingDriver",
     "<Printers><Printer name='P'><amd64><Driver>absent.dll</Driver></amd64></Printer></Printers>"},
    {"MissingData",
     "<Printers><Printer name='P'><i386><Data>absent.gpd</Data></i386></Printer></Printers>"},
    {"MissingConfig",
     "<Printers><Printer name='P'><i386><Config>absent.dll</Config></i386></Printer></Printers>"},
    {"MissingHelp",
     "<Printers><Printer name='P'><i386><Help>absent.hlp</Help></i386></Printer></Printers>"},
    {"MissingIa64DependsFile", "<Printers><Printer name='P'><ia64><DependsFile>absent.dll"
                               "</DependsFile></ia64></Printer></Printers>"},
    {"MissingFileInLaterModel", "<Printers><Printer name='A'/><Printer name='B'><amd64><Driver>"
                                "absent.dll</Driver></amd64></Printer></Printers>"},
};

class InvalidCatalogueTest : public ::testing::TestWithParam<InvalidCatalogue> {
  protected:
    void SetUp() override { platform::sim::ResetMachine(); }
};

TEST_P(InvalidCatalogueTest, IsRefused) {
    PutFile(u"C:\\Setup\\config.xml", GetParam().xml);
    PrinterCatalogue catalogue;
    EXPECT_FALSE(LoadCatalogue(catalogue));
}

INSTANTIATE_TEST_SUITE_P(Reasons, InvalidCatalogueTest, ::testing::ValuesIn(InvalidCatalogues),
                         [](const auto& row) { return std::string(row.param.name); });

// The limits of the frame's buffers: up to them a catalogue works, beyond
// them it is refused, never cut short.
TEST_F(CatalogueLoad, ModelNameUpToTheLimitIsKeptWhole) {
    std::string name(MaxModelNameLength, 'n');
    Config("<Printers><Printer name='" + name + "'/></Printers>");
    ASSERT_TRUE(LoadCatalogue(catalogue));
    EXPECT_EQ(catalogue[0].name.size(), MaxModelNameLength);

    Config("<Printers><Printer name='" + name + "n'/></Printers>");
    EXPECT_FALSE(LoadCatalogue(catalogue));
}

// A Setup folder of the given length: C:\ and components of at most 200
// characters.
std::u16string FolderOfLength(std::size_t length) {
    std::u16string folder = u"C:";
    while (folder.size() < length) {
        std::size_t part = std::min<std::size_t>(200, length - folder.size() - 1);
        folder += u"\\" + std::u16string(part == 0 ? 1 : part, u'f');
    }
    return folder.substr(0, length);
}

TEST_F(CatalogueLoad, CataloguePathUpToTheLimitIsRead) {
    const std::size_t folderLength = MaxPathLength - std::u16string_view(u"\\config.xml").size();
    for (std::size_t length : {folderLength, folderLength + 1}) {
        std::u16string folder = FolderOfLength(length);
        ASSERT_EQ(folder.size(), length);
        platform::sim::SetModuleFileName(folder + u"\\Setup.exe");
        PutFile(folder + u"\\config.xml", "<Printers/>");
        EXPECT_EQ(LoadCatalogue(catalogue), length == folderLength) << length;
    }
}

TEST_F(CatalogueLoad, FilePathUpToTheLimitIsTested) {
    const std::size_t room = MaxPathLength - std::u16string_view(u"C:\\Setup\\").size();
    std::u16string fits = std::u16string(100, u'd') + u"\\" + std::u16string(room - 101, u'f');
    Files({fits, fits + u"x"});
    Config("<Printers><Printer name='P'><amd64><Driver>" + ToUtf8(fits) +
           "</Driver></amd64></Printer></Printers>");
    ASSERT_TRUE(LoadCatalogue(catalogue));
    EXPECT_EQ(catalogue[0].amd64.Driver.size(), MaxPathLength);

    Config("<Printers><Printer name='P'><amd64><Driver>" + ToUtf8(fits) +
           "x</Driver></amd64></Printer></Printers>");
    EXPECT_FALSE(LoadCatalogue(catalogue));
}

// The cut of the program's path, as PathRemoveFileSpecW makes it.
struct FileSpecCut {
    const char* name;
    std::u16string_view path;
    std::u16string_view folder;
    bool cut;
};

void PrintTo(const FileSpecCut& row, std::ostream* out) {
    *out << row.name;
}

const FileSpecCut FileSpecCuts[] = {
    {"Folder", u"C:\\Setup\\Setup.exe", u"C:\\Setup", true},
    {"DeepFolder", u"C:\\a\\b\\Setup.exe", u"C:\\a\\b", true},
    {"DriveRoot", u"C:\\Setup.exe", u"C:\\", true},
    {"DriveRootAlone", u"C:\\", u"C:\\", false},
    {"FinalBackslash", u"C:\\Setup\\", u"C:\\Setup", true},
    {"Share", u"\\\\server\\share\\Setup.exe", u"\\\\server\\share", true},
    {"LongPathPrefix", u"\\\\?\\C:\\Setup\\Setup.exe", u"\\\\?\\C:\\Setup", true},
    {"LongPathDriveRoot", u"\\\\?\\C:\\Setup.exe", u"\\\\?\\C:\\", true},
    {"RootOfCurrentDrive", u"\\Setup.exe", u"\\", true},
    {"DriveRelative", u"C:Setup.exe", u"C:", true},
    {"NameAlone", u"Setup.exe", u"", true},
    {"Empty", u"", u"", false},
};

class FileSpecCutTest : public ::testing::TestWithParam<FileSpecCut> {};

TEST_P(FileSpecCutTest, CutsTheLastComponent) {
    std::u16string path(GetParam().path);
    EXPECT_EQ(RemoveFileSpec(path), GetParam().cut);
    EXPECT_EQ(path, GetParam().folder);
}

INSTANTIATE_TEST_SUITE_P(Paths, FileSpecCutTest, ::testing::ValuesIn(FileSpecCuts),
                         [](const auto& row) { return std::string(row.param.name); });

TEST_F(CatalogueLoad, ProgramPathWithNothingToCutIsInvalid) {
    platform::sim::SetModuleFileName(u"");
    EXPECT_FALSE(LoadCatalogue(catalogue));
}

} // namespace
