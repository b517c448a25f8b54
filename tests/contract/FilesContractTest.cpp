#include <cstring>
#include <string>

#include "platform/Files.h"
#include "tests/contract/ContractTest.h"

namespace contract {
namespace {

using namespace platform;

class FilesContract : public ContractTest {
  protected:
    static void Write(std::u16string_view path, std::string_view bytes) {
        auto file = CreateFileW(path, GenericWrite, 0, CreateAlways, FileAttributeNormal);
        ASSERT_TRUE(file) << file.error;
        auto written =
            WriteFile(file.value, bytes.data(), static_cast<std::uint32_t>(bytes.size()));
        ASSERT_TRUE(written) << written.error;
        EXPECT_EQ(written.value, bytes.size());
    }

    static std::string ReadAll(std::u16string_view path) {
        auto file = CreateFileW(path, GenericRead, FileShareRead, OpenExisting, 0);
        if (!file)
            return "<error " + std::to_string(file.error) + ">";
        char buffer[256] = {};
        auto read = ReadFile(file.value, buffer, sizeof buffer);
        return std::string(buffer, read.value);
    }
};

struct OpenCase {
    const char* what;
    std::u16string name;
    WinError error;
};

TEST_F(FilesContract, OpeningWhatIsNotThereTellsFileFromFolder) {
    const OpenCase cases[] = {
        {"missing file", u"absent.bin", ErrorFileNotFound},
        {"missing folder", u"absent\\absent.bin", ErrorPathNotFound},
    };
    for (const OpenCase& c : cases) {
        auto file = CreateFileW(WorkPath(c.name), GenericRead, FileShareRead, OpenExisting, 0);
        EXPECT_EQ(file.error, c.error) << c.what;
        EXPECT_FALSE(file.value.IsValid()) << c.what << ": a failed open holds no handle";
    }
}

TEST_F(FilesContract, ReadsShortAtTheEndThenNothing) {
    Write(WorkPath(u"a.bin"), "0123456789");
    auto file = CreateFileW(WorkPath(u"a.bin"), GenericRead, FileShareRead, OpenExisting, 0);
    ASSERT_TRUE(file) << file.error;
    char buffer[64] = {};
    auto first = ReadFile(file.value, buffer, sizeof buffer);
    ASSERT_TRUE(first) << first.error;
    EXPECT_EQ(first.value, 10u);
    EXPECT_EQ(std::string(buffer, first.value), "0123456789");
    // A synchronous read at the end of a file succeeds with no bytes.
    auto second = ReadFile(file.value, buffer, sizeof buffer);
    EXPECT_TRUE(second) << second.error;
    EXPECT_EQ(second.value, 0u);
}

TEST_F(FilesContract, GetFileSizeExCountsBytes) {
    Write(WorkPath(u"a.bin"), std::string(1000, 'x'));
    auto file = CreateFileW(WorkPath(u"a.bin"), GenericRead, FileShareRead, OpenExisting, 0);
    ASSERT_TRUE(file);
    auto size = GetFileSizeEx(file.value);
    ASSERT_TRUE(size) << size.error;
    EXPECT_EQ(size.value, 1000);
}

TEST_F(FilesContract, CreateAlwaysTruncatesAnExistingFile) {
    Write(WorkPath(u"a.bin"), "long contents");
    Write(WorkPath(u"a.bin"), "short");
    EXPECT_EQ(ReadAll(WorkPath(u"a.bin")), "short");
}

TEST_F(FilesContract, CloseReportsSuccessOnceAndInvalidAfter) {
    Write(WorkPath(u"a.bin"), "x");
    auto file = CreateFileW(WorkPath(u"a.bin"), GenericRead, FileShareRead, OpenExisting, 0);
    ASSERT_TRUE(file);
    EXPECT_TRUE(file.value.Close());
    EXPECT_EQ(file.value.Close().error, ErrorInvalidHandle);
}

TEST_F(FilesContract, CopyFileWKeepsOrReplacesAnExistingTarget) {
    Write(WorkPath(u"a.bin"), "source");
    Write(WorkPath(u"b.bin"), "target");
    EXPECT_EQ(CopyFileW(WorkPath(u"a.bin"), WorkPath(u"b.bin"), true).error, ErrorFileExists);
    EXPECT_EQ(ReadAll(WorkPath(u"b.bin")), "target");
    EXPECT_TRUE(CopyFileW(WorkPath(u"a.bin"), WorkPath(u"b.bin"), false));
    EXPECT_EQ(ReadAll(WorkPath(u"b.bin")), "source");
    EXPECT_TRUE(CopyFileW(WorkPath(u"a.bin"), WorkPath(u"c.bin"), true));
    EXPECT_EQ(ReadAll(WorkPath(u"c.bin")), "source");
}

TEST_F(FilesContract, CopyFileWOfAMissingSourceIsFileNotFound) {
    EXPECT_EQ(CopyFileW(WorkPath(u"absent.bin"), WorkPath(u"b.bin"), false).error,
              ErrorFileNotFound);
    EXPECT_FALSE(PathFileExistsW(WorkPath(u"b.bin")));
}

TEST_F(FilesContract, DeleteFileWRemovesOnceThenFileNotFound) {
    Write(WorkPath(u"a.bin"), "x");
    EXPECT_TRUE(DeleteFileW(WorkPath(u"a.bin")));
    EXPECT_EQ(DeleteFileW(WorkPath(u"a.bin")).error, ErrorFileNotFound);
    EXPECT_EQ(GetFileAttributesW(WorkPath(u"a.bin")).error, ErrorFileNotFound);
}

TEST_F(FilesContract, GetFileAttributesWTellsFolderFromFile) {
    Write(WorkPath(u"a.bin"), "x");
    auto folder = GetFileAttributesW(Env().WorkFolder());
    ASSERT_TRUE(folder) << folder.error;
    EXPECT_TRUE(folder.value & FileAttributeDirectory);
    auto file = GetFileAttributesW(WorkPath(u"a.bin"));
    ASSERT_TRUE(file) << file.error;
    EXPECT_FALSE(file.value & FileAttributeDirectory);
    EXPECT_EQ(GetFileAttributesW(WorkPath(u"absent\\a.bin")).error, ErrorPathNotFound);
}

TEST_F(FilesContract, PathFileExistsWSeesFilesAndFolders) {
    Write(WorkPath(u"a.bin"), "x");
    EXPECT_TRUE(PathFileExistsW(WorkPath(u"a.bin")));
    EXPECT_TRUE(PathFileExistsW(Env().WorkFolder()));
    EXPECT_FALSE(PathFileExistsW(WorkPath(u"absent.bin")));
}

TEST_F(FilesContract, CreateDirectoryWOfAnExistingFolderIsAlreadyExists) {
    EXPECT_EQ(CreateDirectoryW(Env().WorkFolder()).error, ErrorAlreadyExists);
    EXPECT_EQ(CreateDirectoryW(WorkPath(u"absent\\deeper")).error, ErrorPathNotFound);
}

TEST_F(FilesContract, NamesMatchWithoutRegardToCase) {
    Write(WorkPath(u"a.bin"), "x");
    EXPECT_TRUE(PathFileExistsW(WorkPath(u"A.BIN")));
    EXPECT_EQ(ReadAll(WorkPath(u"A.Bin")), "x");
}

// A medium's catalogue may name "vq.dll " or "vq.dll.": Windows resolves
// both to vq.dll, and a folder name loses one trailing period.
TEST_F(FilesContract, TrailingBlanksAndPeriodsOfTheLastNameAreDropped) {
    Write(WorkPath(u"a.bin"), "x");
    for (std::u16string name : {u"a.bin.", u"a.bin ", u"a.bin. .", u".\\a.bin..."})
        EXPECT_TRUE(PathFileExistsW(WorkPath(name))) << std::string(name.begin(), name.end());
    EXPECT_EQ(ReadAll(WorkPath(u"a.bin. ")), "x");
    EXPECT_FALSE(PathFileExistsW(WorkPath(u"a.bi")));
}

TEST_F(FilesContract, AFolderNameLosesOneTrailingPeriod) {
    ASSERT_TRUE(CreateDirectoryW(WorkPath(u"sub")));
    Write(WorkPath(u"sub\\a.bin"), "x");
    EXPECT_TRUE(PathFileExistsW(WorkPath(u"sub.\\a.bin")));
}

} // namespace
} // namespace contract
