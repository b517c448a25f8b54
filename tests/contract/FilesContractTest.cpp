#include <cstring>
#include <set>
#include <string>
#include <utility>

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

    // The work folder keeps folders from earlier runs on Windows and Wine
    // (only known files are removed before each test), so one already there
    // is as good as a new one.
    static std::u16string MakeFolder(std::u16string_view name) {
        Status made = CreateDirectoryW(WorkPath(name));
        EXPECT_TRUE(made || made.error == ErrorAlreadyExists) << made.error;
        return WorkPath(name);
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

// A folder browser may hand Setup a drive root to create. Windows refuses
// it as access denied; Wine says it already exists.
TEST_F(FilesContract, CreateDirectoryWOfADriveRootIsAccessDenied) {
    const WinError expected =
        Env().Kind() == Machine::Wine ? ErrorAlreadyExists : ErrorAccessDenied;
    EXPECT_EQ(CreateDirectoryW(u"C:\\").error, expected) << MachineName(Env().Kind());
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
    MakeFolder(u"sub");
    Write(WorkPath(u"sub\\a.bin"), "x");
    EXPECT_TRUE(PathFileExistsW(WorkPath(u"sub.\\a.bin")));
}

// Entries of a listing, in whatever order the machine gives them.
struct Listing {
    std::set<std::pair<std::u16string, bool>> entries; // name, is a folder
    WinError end = ErrorSuccess;                       // what ended it
};

Listing ListAll(std::u16string_view pattern) {
    Listing listing;
    auto first = FindFirstFileW(pattern);
    if (!first) {
        listing.end = first.error;
        return listing;
    }
    auto add = [&](const FindData& data) {
        listing.entries.insert(
            {data.fileName, (data.fileAttributes & FileAttributeDirectory) != 0});
    };
    add(first.value.data);
    for (;;) {
        auto next = FindNextFileW(first.value.handle);
        if (!next) {
            listing.end = next.error;
            break;
        }
        add(next.value);
    }
    EXPECT_TRUE(first.value.handle.Close());
    return listing;
}

std::string Describe(const Listing& listing) {
    std::string text;
    for (const auto& [name, folder] : listing.entries)
        text += std::string(name.begin(), name.end()) + (folder ? "\\ " : " ");
    return text + "end " + std::to_string(listing.end);
}

TEST_F(FilesContract, AFolderListsItselfItsParentAndItsEntriesThenNoMoreFiles) {
    const std::u16string folder = MakeFolder(u"listing");
    Write(folder + u"\\a.bin", "x");
    Write(folder + u"\\Other_Statuskeeper.exe", "y");
    MakeFolder(u"listing\\sub");
    Listing listing = ListAll(folder + u"\\*");
    const std::set<std::pair<std::u16string, bool>> expected{{u".", true},
                                                             {u"..", true},
                                                             {u"a.bin", false},
                                                             {u"Other_Statuskeeper.exe", false},
                                                             {u"sub", true}};
    EXPECT_EQ(listing.entries, expected) << Describe(listing);
    EXPECT_EQ(listing.end, ErrorNoMoreFiles);
}

TEST_F(FilesContract, AnEmptyFolderListsOnlyItselfAndItsParent) {
    const std::u16string folder = MakeFolder(u"empty");
    Listing listing = ListAll(folder + u"\\*");
    const std::set<std::pair<std::u16string, bool>> expected{{u".", true}, {u"..", true}};
    EXPECT_EQ(listing.entries, expected) << Describe(listing);
    EXPECT_EQ(listing.end, ErrorNoMoreFiles);
    auto attributes = GetFileAttributesW(folder);
    ASSERT_TRUE(attributes) << attributes.error;
    EXPECT_EQ(attributes.value & FileAttributeReparsePoint, 0u) << "a plain folder";
}

struct PatternCase {
    const char* what;
    std::u16string pattern;
    std::set<std::pair<std::u16string, bool>> entries;
    WinError end;
};

TEST_F(FilesContract, PatternsMatchWithoutRegardToCaseAndMissOrFailAsWindowsSays) {
    const std::u16string folder = MakeFolder(u"patterns");
    Write(folder + u"\\a.bin", "x");
    Write(folder + u"\\b.txt", "y");
    const PatternCase cases[] = {
        {"wildcard and other case", u"A.*", {{u"a.bin", false}}, ErrorNoMoreFiles},
        {"one character", u"?.txt", {{u"b.txt", false}}, ErrorNoMoreFiles},
        {"nothing matching", u"*.none", {}, ErrorFileNotFound},
        {"missing folder", u"absent\\*", {}, ErrorPathNotFound},
    };
    for (const PatternCase& c : cases) {
        Listing listing = ListAll(folder + u"\\" + c.pattern);
        EXPECT_EQ(listing.entries, c.entries) << c.what << ": " << Describe(listing);
        EXPECT_EQ(listing.end, c.end) << c.what;
    }
}

} // namespace
} // namespace contract
