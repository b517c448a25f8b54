#include <gtest/gtest.h>

#include "platform/Files.h"
#include "platform/sim/SimFaults.h"
#include "platform/sim/SimFiles.h"

using namespace platform;

class SimFiles : public ::testing::Test {
  protected:
    void SetUp() override {
        sim::ResetFiles();
        sim::ClearFaults();
    }
};

TEST_F(SimFiles, PathsMapByDriveAndIgnoreCase) {
    sim::PutFile(u"C:\\Setup\\Config.XML", "abc");
    EXPECT_EQ(sim::FileBytes(u"c:\\setup\\config.xml"), "abc");
    EXPECT_EQ(sim::HostPath(u"C:\\Setup\\Config.XML"),
              sim::FileRoot() / "C" / "Setup" / "Config.XML");
    EXPECT_EQ(sim::HostPath(u"D:\\x"), sim::FileRoot() / "D" / "x");
}

TEST_F(SimFiles, MissingFileAndMissingFolderAreToldApart) {
    sim::PutFile(u"C:\\Setup\\a.xml", "");
    EXPECT_EQ(CreateFileW(u"C:\\Setup\\b.xml", GenericRead, FileShareRead, OpenExisting, 0).error,
              ErrorFileNotFound);
    EXPECT_EQ(CreateFileW(u"C:\\Nowhere\\b.xml", GenericRead, FileShareRead, OpenExisting, 0).error,
              ErrorPathNotFound);
    EXPECT_EQ(GetFileAttributesW(u"C:\\Setup").value, FileAttributeDirectory);
    EXPECT_FALSE(PathFileExistsW(u"C:\\Setup\\b.xml"));
}

TEST_F(SimFiles, ReadsShortAtTheEnd) {
    sim::PutFile(u"C:\\f.bin", "12345");
    auto file = CreateFileW(u"C:\\f.bin", GenericRead, FileShareRead, OpenExisting, 0);
    ASSERT_TRUE(file);
    EXPECT_EQ(GetFileSizeEx(file.value).value, 5);
    char buffer[8] = {};
    EXPECT_EQ(ReadFile(file.value, buffer, 3).value, 3u);
    auto rest = ReadFile(file.value, buffer, 8);
    EXPECT_TRUE(rest);
    EXPECT_EQ(rest.value, 2u);
    EXPECT_TRUE(file.value.Close());
}

TEST_F(SimFiles, CopyDeleteAndCreateFolderKeepWindowsCodes) {
    sim::PutFile(u"C:\\a.txt", "x");
    EXPECT_TRUE(CopyFileW(u"C:\\a.txt", u"C:\\b.txt", true));
    EXPECT_EQ(CopyFileW(u"C:\\a.txt", u"C:\\b.txt", true).error, ErrorFileExists);
    EXPECT_TRUE(CopyFileW(u"C:\\a.txt", u"C:\\b.txt", false));
    EXPECT_EQ(CopyFileW(u"C:\\missing.txt", u"C:\\c.txt", false).error, ErrorFileNotFound);
    EXPECT_EQ(CopyFileW(u"C:\\a.txt", u"C:\\no\\c.txt", false).error, ErrorPathNotFound);
    EXPECT_TRUE(DeleteFileW(u"C:\\b.txt"));
    EXPECT_EQ(DeleteFileW(u"C:\\b.txt").error, ErrorFileNotFound);
    EXPECT_TRUE(CreateDirectoryW(u"C:\\Varnoquill_Printer"));
    EXPECT_EQ(CreateDirectoryW(u"C:\\Varnoquill_Printer").error, ErrorAlreadyExists);
    EXPECT_EQ(CreateDirectoryW(u"C:\\x\\y").error, ErrorPathNotFound);
}

TEST_F(SimFiles, InjectedFaultsComeBackAsTheirCodes) {
    sim::PutFile(u"C:\\f.bin", "12345");
    sim::FailOnce("CreateFileW", ErrorSharingViolation);
    EXPECT_EQ(CreateFileW(u"C:\\f.bin", GenericRead, 0, OpenExisting, 0).error,
              ErrorSharingViolation);
    auto file = CreateFileW(u"C:\\f.bin", GenericRead, 0, OpenExisting, 0);
    ASSERT_TRUE(file);
    sim::FailOnce("ReadFile", ErrorGenFailure);
    char buffer[5];
    EXPECT_EQ(ReadFile(file.value, buffer, 5).error, ErrorGenFailure);
}

TEST_F(SimFiles, DevicePathsGoToTheDeviceArea) {
    EXPECT_EQ(
        CreateFileW(u"\\\\?\\USB#VID_0483&PID_5741#1#{x}", GenericRead, 0, OpenExisting, 0).error,
        ErrorFileNotFound);
}

// What Windows lists for a junction and the folder it leads to; the
// contract suite cannot make one on Wine, so the simulation's side is here.
TEST_F(SimFiles, AJunctionIsAReparsePointThatOpensItsTarget) {
    sim::PutFile(u"C:\\Target\\a.txt", "a");
    sim::PutReparsePoint(u"C:\\Folder\\Link", u"C:\\Target");
    EXPECT_EQ(GetFileAttributesW(u"C:\\Folder\\Link").value,
              FileAttributeDirectory | FileAttributeReparsePoint);
    EXPECT_EQ(GetFileAttributesW(u"C:\\Target").value, FileAttributeDirectory);
    EXPECT_EQ(sim::FileBytes(u"C:\\Folder\\link\\A.TXT"), "a");

    auto first = FindFirstFileW(u"C:\\Folder\\l*");
    ASSERT_TRUE(first) << first.error;
    EXPECT_EQ(first.value.data,
              (FindData{FileAttributeDirectory | FileAttributeReparsePoint, u"Link"}));
    EXPECT_EQ(FindNextFileW(first.value.handle).error, ErrorNoMoreFiles);
}

TEST_F(SimFiles, ADriveRootListsNoDotEntries) {
    sim::PutFile(u"D:\\a.txt", "a");
    auto first = FindFirstFileW(u"D:\\*");
    ASSERT_TRUE(first) << first.error;
    EXPECT_EQ(first.value.data, (FindData{FileAttributeNormal, u"a.txt"}));
    EXPECT_EQ(FindNextFileW(first.value.handle).error, ErrorNoMoreFiles);
}
