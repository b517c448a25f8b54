// Driver files into and out of the spooler's driver directory, and the
// status service program into a protected installation folder.
#include <algorithm>

#include "engine/EnginePaths.h"
#include "platform/Files.h"
#include "platform/Security.h"
#include "tests/engine/EngineMachine.h"

namespace engine::testing {
namespace {

using namespace platform;
using engine::testing::PrintTo;

using Staging = EngineTest;

TEST_F(Staging, TheServiceProgramLandsInTheFolderWithOrWithoutAFinalBackslash) {
    for (std::u16string folder : {u"C:\\X", u"C:\\X\\"}) {
        sim::ResetMachine();
        m_catalogue = {SeedModel(Model)};
        EXPECT_TRUE(Engine().StageFiles(Model, folder, 1)) << Utf8(folder);
        EXPECT_EQ(Engine().ServiceProgramPath(), u"C:\\X\\Varnoquill_Statuskeeper.exe");
        EXPECT_EQ(sim::FileBytes(u"C:\\X\\Varnoquill_Statuskeeper.exe"), "service amd64");
        EXPECT_EQ(TakeTraces(), Traces({0, 0}));
    }
}

struct ArchitectureRow {
    const char* name;
    std::uint16_t architecture;
    const char* programBytes;
    std::u16string driverDirectory;
};

class StagingByArchitecture : public EngineTest,
                              public ::testing::WithParamInterface<ArchitectureRow> {};

TEST_P(StagingByArchitecture, PicksTheSubFolderAndTheFileSet) {
    const ArchitectureRow& row = GetParam();
    CInstallEngine engine(m_catalogue, row.architecture);
    ASSERT_TRUE(engine.StageFiles(Model, InstallFolder, 1));
    EXPECT_EQ(sim::FileBytes(engine.ServiceProgramPath()), row.programBytes);

    ASSERT_EQ(engine.InstallPrinter(Model, Port), 0) << engine.GetErrorCode();
    EXPECT_EQ(sim::FileBytes(row.driverDirectory + u"3\\vq_drv.dll"),
              std::string(row.programBytes).substr(8) + "/vq_drv.dll");
}

INSTANTIATE_TEST_SUITE_P(
    Engine, StagingByArchitecture,
    ::testing::Values(ArchitectureRow{"x64", 9, "service amd64", X64Drivers},
                      ArchitectureRow{"Itanium", 6, "service ia64",
                                      u"C:\\Windows\\System32\\spool\\drivers\\IA64\\"},
                      ArchitectureRow{"x86", 0, "service i386",
                                      u"C:\\Windows\\System32\\spool\\drivers\\W32X86\\"},
                      ArchitectureRow{"Arm64CountsAsX86", 12, "service i386",
                                      u"C:\\Windows\\System32\\spool\\drivers\\W32X86\\"}),
    RowName());

TEST_F(Staging, AMissingServiceProgramFailsButKeepsItsPath) {
    DeleteFileW(u"C:\\Setup\\amd64\\Varnoquill_Statuskeeper.exe");
    EXPECT_FALSE(Engine().StageFiles(Model, InstallFolder, 1));
    EXPECT_EQ(Engine().ServiceProgramPath(),
              u"C:\\Varnoquill_Printer\\Varnoquill_Statuskeeper.exe");
    EXPECT_EQ(TakeTraces(), Traces({0, 2}));
}

TEST_F(Staging, AMissingParentIsTracedAndTheCopyFails) {
    EXPECT_FALSE(Engine().StageFiles(Model, u"C:\\Absent\\Folder", 1));
    EXPECT_EQ(TakeTraces(), Traces({3, 3}));
    EXPECT_FALSE(PathFileExistsW(u"C:\\Absent"));
    EXPECT_TRUE(Engine().ServiceProgramPath().empty());
}

constexpr std::uint8_t Inherit = ObjectInheritAce | ContainerInheritAce;
const FileDacl ProtectedFolder{
    true,
    {{AccessAllowedAceType, Inherit, FileAllAccess, u"S-1-5-18"},
     {AccessAllowedAceType, Inherit, FileAllAccess, u"S-1-5-32-544"},
     {AccessAllowedAceType, Inherit, FileGenericReadExecute, u"S-1-5-32-545"},
     {AccessAllowedAceType, Inherit, FileGenericReadExecute, u"S-1-3-4"}}};

const std::u16string StagedProgram = u"C:\\Varnoquill_Printer\\Varnoquill_Statuskeeper.exe";

// A folder found in place, and what the machine holds before StageFiles.
struct FoundFolderRow {
    const char* name;
    std::u16string folder;
    void (*seed)();
};

void MakeInstallFolder() {
    ASSERT_TRUE(CreateDirectoryW(InstallFolder));
}

// A folder found in place that holds nothing but service programs is
// Setup's own: an empty one, a reinstall, or the default folder several
// models share.
class StagingIntoAFoundFolder : public EngineTest,
                                public ::testing::WithParamInterface<FoundFolderRow> {};

TEST_P(StagingIntoAFoundFolder, ProtectsItAndPlacesTheProgram) {
    GetParam().seed();
    sim::SimSnapshot expected = sim::TakeSnapshot();
    expected.files.files[Utf8(StagedProgram)] = "service amd64";
    expected.files.security[Utf8(InstallFolder)] = ProtectedFolder;

    EXPECT_TRUE(Engine().StageFiles(Model, GetParam().folder, 1));
    EXPECT_EQ(TakeTraces(), Traces({183, 0}));
    EXPECT_EQ(Engine().ServiceProgramPath(), StagedProgram);
    ExpectMachine(sim::TakeSnapshot(), expected);
}

INSTANTIATE_TEST_SUITE_P(
    Engine, StagingIntoAFoundFolder,
    ::testing::Values(
        FoundFolderRow{"Empty", InstallFolder, MakeInstallFolder},
        FoundFolderRow{"EmptyGivenWithAFinalBackslash", u"C:\\Varnoquill_Printer\\",
                       MakeInstallFolder},
        FoundFolderRow{"HoldingThisModelsProgram", InstallFolder,
                       [] { sim::PutFile(StagedProgram, "service of an earlier run"); }},
        FoundFolderRow{"HoldingAnotherModelsProgram", InstallFolder,
                       [] {
                           sim::PutFile(u"C:\\Varnoquill_Printer\\Varnoquill Mini_Statuskeeper.exe",
                                        "mini");
                       }},
        FoundFolderRow{
            "HoldingAProgramNamedInOtherCase", InstallFolder,
            [] { sim::PutFile(u"C:\\Varnoquill_Printer\\DUO_STATUSKEEPER.EXE", "duo"); }}),
    RowName());

struct RootRow {
    const char* name;
    std::u16string folder;
    bool root;
};

class RootFolders : public ::testing::TestWithParam<RootRow> {};

TEST_P(RootFolders, AreToldFromFoldersBelowThem) {
    EXPECT_EQ(IsRootFolder(GetParam().folder), GetParam().root);
}

INSTANTIATE_TEST_SUITE_P(
    Engine, RootFolders,
    ::testing::Values(RootRow{"Drive", u"C:\\", true},
                      RootRow{"DriveWithoutBackslash", u"D:", true},
                      RootRow{"DriveWithSlash", u"c:/", true},
                      RootRow{"DriveThroughDotDot", u"C:\\Windows\\..", true},
                      RootRow{"DriveThroughDot", u"C:\\.\\", true},
                      RootRow{"DriveThroughTrailingPeriods", u"C:\\...", true},
                      RootRow{"VerbatimDrive", u"\\\\?\\C:\\", true},
                      RootRow{"Share", u"\\\\server\\share\\", true},
                      RootRow{"ShareThroughDotDot", u"\\\\server\\share\\x\\..\\..", true},
                      RootRow{"VerbatimShare", u"\\\\?\\UNC\\server\\share", true},
                      RootRow{"FolderOnADrive", u"C:\\Varnoquill_Printer", false},
                      RootRow{"FolderAfterDotDot", u"C:\\X\\..\\Y\\", false},
                      RootRow{"FolderOnAShare", u"\\\\server\\share\\Varnoquill", false},
                      RootRow{"VerbatimFolder", u"\\\\?\\C:\\Varnoquill_Printer", false}),
    RowName());

struct RefusedFolderRow {
    const char* name;
    std::u16string folder;
    void (*seed)();
    int createdCode; // what CreateDirectoryW traces first
    int refusedCode; // the trace that says why the folder was refused
};

// Any other folder is left exactly as it was found: protecting it would
// rewrite the lists of everything below it, and a junction would take the
// program wherever it leads.
class StagingRefusesAFoundFolder : public EngineTest,
                                   public ::testing::WithParamInterface<RefusedFolderRow> {};

TEST_P(StagingRefusesAFoundFolder, LeavesItAndRegistersNoService) {
    const RefusedFolderRow& row = GetParam();
    row.seed();
    sim::SimSnapshot before = sim::TakeSnapshot();

    EXPECT_FALSE(Engine().StageFiles(Model, row.folder, 1));
    EXPECT_EQ(TakeTraces(), Traces({row.createdCode, row.refusedCode}));
    EXPECT_TRUE(Engine().ServiceProgramPath().empty());
    sim::ClearFaults();
    EXPECT_FALSE(Engine().InstallStatusService(Model));
    ExpectMachine(sim::TakeSnapshot(), before);
}

INSTANTIATE_TEST_SUITE_P(
    Engine, StagingRefusesAFoundFolder,
    ::testing::Values(
        RefusedFolderRow{"HoldingAnotherFile", InstallFolder,
                         [] {
                             sim::PutFile(StagedProgram, "old");
                             sim::PutFile(u"C:\\Varnoquill_Printer\\notes.txt", "a user's notes");
                         },
                         183, 145},
        RefusedFolderRow{"HoldingASubFolder", InstallFolder,
                         [] { sim::PutFile(u"C:\\Varnoquill_Printer\\old\\a.txt", "old"); }, 183,
                         145},
        RefusedFolderRow{"HoldingASubFolderNamedLikeAProgram", InstallFolder,
                         [] {
                             MakeInstallFolder();
                             ASSERT_TRUE(CreateDirectoryW(
                                 u"C:\\Varnoquill_Printer\\Other_Statuskeeper.exe"));
                         },
                         183, 145},
        RefusedFolderRow{"HoldingAProgramThatIsALink", InstallFolder,
                         [] {
                             sim::PutFile(u"C:\\Windows\\win.ini", "[fonts]");
                             sim::PutReparsePoint(u"C:\\Varnoquill_Printer\\Duo_Statuskeeper.exe",
                                                  u"C:\\Windows\\win.ini");
                         },
                         183, 145},
        RefusedFolderRow{"ADriveRoot", u"C:\\", [] {}, 5, 161},
        RefusedFolderRow{"ADriveRootReachedThroughDotDot", u"C:\\Windows\\..", [] {}, 5, 161},
        RefusedFolderRow{"AFileOfThatName", InstallFolder,
                         [] { sim::PutFile(InstallFolder, "a file"); }, 183, 267},
        RefusedFolderRow{"AJunction", InstallFolder,
                         [] {
                             ASSERT_TRUE(CreateDirectoryW(u"C:\\Elsewhere"));
                             sim::PutReparsePoint(InstallFolder, u"C:\\Elsewhere");
                         },
                         183, 4391},
        RefusedFolderRow{"WhoseListingFails", InstallFolder,
                         [] {
                             MakeInstallFolder();
                             sim::FailOnce("FindFirstFileW", ErrorAccessDenied);
                         },
                         183, 5},
        RefusedFolderRow{"WhoseListingFailsHalfway", InstallFolder,
                         [] {
                             sim::PutFile(StagedProgram, "old");
                             sim::FailOnce("FindNextFileW", ErrorGenFailure, 1);
                         },
                         183, 31}),
    RowName());

// The program runs as LocalSystem: users must not be able to replace it.
TEST_F(Staging, TheInstallationFolderIsWritableBySystemAndAdministratorsOnly) {
    for (bool existing : {false, true}) {
        sim::ResetMachine();
        m_catalogue = {SeedModel(Model)};
        if (existing)
            sim::PutFile(u"C:\\Varnoquill_Printer\\Varnoquill Mini_Statuskeeper.exe", "mini");
        ASSERT_TRUE(Engine().StageFiles(Model, InstallFolder, 1));
        auto dacl = GetNamedSecurityInfoW(InstallFolder);
        ASSERT_TRUE(dacl) << dacl.error;
        EXPECT_TRUE(dacl.value.isProtected) << "existing " << existing;
        for (const AccessControlEntry& entry : dacl.value.entries) {
            bool trusted = entry.sid == SidLocalSystem || entry.sid == SidAdministrators;
            if (entry.aceType == AccessAllowedAceType && !trusted) {
                EXPECT_EQ(entry.accessMask & FileWriteRights, 0u) << Utf8(entry.sid);
            }
        }
        EXPECT_EQ(dacl.value, ProtectedFolder);
    }
}

// What a trustee may do with a folder, as Windows' access check decides it
// from the list alone (no deny entries are in play here): the allowed entries
// of the trustee's groups, and for the folder's owner the right to read and
// rewrite the list, unless an OWNER RIGHTS entry says what the owner gets.
std::uint32_t RightsOf(const FileDacl& dacl, const std::vector<std::u16string>& groups,
                       bool owner) {
    constexpr std::u16string_view ownerRights = u"S-1-3-4";
    constexpr std::uint32_t readControl = 0x20000, writeDac = 0x40000;
    std::uint32_t rights = 0;
    bool ownerRightsListed = false;
    for (const AccessControlEntry& entry : dacl.entries) {
        ownerRightsListed |= entry.sid == ownerRights;
        bool applies = std::find(groups.begin(), groups.end(), entry.sid) != groups.end() ||
                       (owner && entry.sid == ownerRights);
        if (applies && entry.aceType == AccessAllowedAceType)
            rights |= entry.accessMask;
    }
    if (owner && !ownerRightsListed)
        rights |= readControl | writeDac;
    return rights;
}

// A user may create a folder under C:\ and so own it before the
// administrator runs Setup; an owner may rewrite any list it is given.
TEST_F(Staging, AFolderAUserMadeBeforeGivesThatUserNoWayToChangeIt) {
    ASSERT_TRUE(CreateDirectoryW(InstallFolder));
    ASSERT_TRUE(Engine().StageFiles(Model, InstallFolder, 1));
    auto dacl = GetNamedSecurityInfoW(InstallFolder);
    ASSERT_TRUE(dacl) << dacl.error;
    const std::vector<std::u16string> user{std::u16string(SidUsers),
                                           std::u16string(SidAuthenticatedUsers),
                                           u"S-1-5-21-1004336348-1177238915-682003330-1001"};
    EXPECT_EQ(RightsOf(dacl.value, user, true) & FileWriteRights, 0u);
    EXPECT_EQ(RightsOf(dacl.value, user, false) & FileWriteRights, 0u);
    EXPECT_EQ(RightsOf(dacl.value, {std::u16string(SidAdministrators)}, false) & FileAllAccess,
              FileAllAccess);
}

// Planted while the folder was open to users, with a list of their own.
TEST_F(Staging, AProgramFoundInTheFolderIsReplacedByANewCopy) {
    sim::PutFile(u"C:\\Varnoquill_Printer\\Varnoquill_Statuskeeper.exe", "planted");
    ASSERT_TRUE(SetNamedSecurityInfoW(
        u"C:\\Varnoquill_Printer\\Varnoquill_Statuskeeper.exe",
        FileDacl{true, {{AccessAllowedAceType, 0, FileAllAccess, std::u16string(SidUsers)}}}));
    ASSERT_TRUE(Engine().StageFiles(Model, InstallFolder, 1));
    EXPECT_EQ(sim::FileBytes(Engine().ServiceProgramPath()), "service amd64");
    auto security = sim::TakeSnapshot().files.security;
    EXPECT_EQ(security.count("C:\\Varnoquill_Printer\\Varnoquill_Statuskeeper.exe"), 0u);
    EXPECT_EQ(security.count("C:\\Varnoquill_Printer"), 1u);
}

TEST_F(Staging, AFolderThatCannotBeProtectedGetsNoProgram) {
    sim::FailOnce("SetNamedSecurityInfoW", ErrorAccessDenied);
    EXPECT_FALSE(Engine().StageFiles(Model, InstallFolder, 1));
    EXPECT_FALSE(PathFileExistsW(u"C:\\Varnoquill_Printer\\Varnoquill_Statuskeeper.exe"));
    EXPECT_TRUE(Engine().ServiceProgramPath().empty());
    EXPECT_EQ(TakeTraces(), Traces({0, 5}));
}

// A Japanese medium folder and model name on a machine whose ANSI code
// page (1252) holds neither.
TEST_F(Staging, NamesOutsideTheAnsiCodePageKeepTheirCharacters) {
    const std::u16string setup = u"C:\\\u30bb\u30c3\u30c8\u30a2\u30c3\u30d7";
    const std::u16string model = u"\u30f4\u30a1\u30eb\u30ce";
    const std::u16string folder = u"C:\\\u30d7\u30ea\u30f3\u30bf";
    sim::SetModuleFileName(setup + u"\\Setup.exe");
    m_catalogue = {SeedModel(model, setup)};
    ASSERT_TRUE(Engine().StageFiles(model, folder, 1));
    EXPECT_EQ(Engine().ServiceProgramPath(), folder + u"\\" + model + u"_Statuskeeper.exe");
    EXPECT_EQ(sim::FileBytes(Engine().ServiceProgramPath()), "service amd64");
}

TEST_F(Staging, PathsLongerThanTheBuffersAreRefusedWhole) {
    const std::u16string deep = u"C:\\" + std::u16string(240, u'd');
    EXPECT_FALSE(Engine().StageFiles(Model, deep, 1));
    EXPECT_FALSE(PathFileExistsW(deep));
    EXPECT_TRUE(Engine().ServiceProgramPath().empty());
    EXPECT_EQ(TakeTraces(), Traces({206}));

    const std::u16string longSource = u"C:\\" + std::u16string(251, u's') + u"\\a.dll";
    EXPECT_FALSE(Engine().CopyFileIntoFolder(longSource, u"C:\\Windows\\Temp"));
    EXPECT_EQ(TakeTraces(), Traces({206}));
}

TEST_F(Staging, ADriverFilePlacedBeforeHidesAFailedCopy) {
    PrinterFileSet files = X64Files();
    DeleteFileW(files.Help);
    sim::PutFile(X64Drivers + u"vq.hlp", "old help");
    EXPECT_TRUE(Engine().PlaceDriverFiles(files, X64Drivers));
    EXPECT_EQ(TakeTraces(), Traces({0, 0, 0, 2, 0, 0, 0}));
    EXPECT_EQ(sim::FileBytes(X64Drivers + u"vq.hlp"), "old help");
}

TEST_F(Staging, AFolderNamedLikeADriverFileIsNoPlacedFile) {
    CreateDirectoryW(X64Drivers + u"vq.gpd");
    EXPECT_FALSE(Engine().PlaceDriverFiles(X64Files(), X64Drivers));
    EXPECT_EQ(TakeTraces(), Traces({0, 0, 5}));
}

TEST_F(Staging, AMissingConfigStopsThePlacementAfterTheDriver) {
    PrinterFileSet files = X64Files();
    DeleteFileW(files.Config);
    sim::SimSnapshot before = sim::TakeSnapshot();
    EXPECT_FALSE(Engine().PlaceDriverFiles(files, u"C:\\Windows\\System32\\spool\\drivers\\x64"));
    EXPECT_EQ(TakeTraces(), Traces({0, 2}));
    before.files.files["C:\\Windows\\System32\\spool\\drivers\\x64\\vq_drv.dll"] =
        "amd64/vq_drv.dll";
    ExpectMachine(sim::TakeSnapshot(), before);
}

TEST_F(Staging, ADependentFileNamedLikeTheDataFileOverwritesItAndIsDeletedOnce) {
    PrinterFileSet files = X64Files();
    sim::PutFile(u"C:\\Setup\\amd64\\more\\vq.gpd", "second data");
    files.DependsFile = {u"C:\\Setup\\amd64\\more\\vq.gpd"};
    sim::SimSnapshot before = sim::TakeSnapshot();
    ASSERT_TRUE(Engine().PlaceDriverFiles(files, X64Drivers));
    EXPECT_EQ(sim::FileBytes(X64Drivers + u"vq.gpd"), "second data");
    sim::ClearFaults();
    EXPECT_TRUE(Engine().DeleteStagedDriverFiles(u"Windows x64", files));
    EXPECT_EQ(sim::CallCount("DeleteFileW"), 5u);
    ExpectMachine(sim::TakeSnapshot(), before);
}

TEST_F(Staging, AnUnknownDriverDirectoryDeletesNothing) {
    ASSERT_TRUE(Engine().PlaceDriverFiles(X64Files(), X64Drivers));
    sim::SimSnapshot placed = sim::TakeSnapshot();
    EXPECT_FALSE(Engine().DeleteStagedDriverFiles(u"Windows Bogus", X64Files()));
    ExpectMachine(sim::TakeSnapshot(), placed);
}

} // namespace
} // namespace engine::testing
