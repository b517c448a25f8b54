#include "platform/sim/SimFiles.h"

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <mutex>
#include <vector>

#include <stdlib.h>

#include "platform/Files.h"
#include "platform/sim/SimFaults.h"
#include "platform/sim/SimFileObject.h"
#include "platform/sim/SimSecurity.h"
#include "platform/sim/SimUnicode.h"
#include "platform/sim/SimUtf8Decoder.h"

namespace fs = std::filesystem;

namespace platform::sim {
namespace {

struct FilesState {
    std::mutex lock;
    fs::path root;
    DeviceOpener deviceOpener;
};

FilesState& State() {
    static FilesState state;
    return state;
}

fs::path MakeRoot() {
    std::string templ = (fs::temp_directory_path() / "vqsim-XXXXXX").string();
    fs::path root = mkdtemp(templ.data()) ? fs::path(templ) : fs::temp_directory_path() / "vqsim";
    std::error_code ec;
    fs::create_directories(root / "C", ec);
    return root;
}

const fs::path& RootLocked() {
    FilesState& s = State();
    if (s.root.empty())
        s.root = MakeRoot();
    return s.root;
}

char FoldAscii(char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

bool EqualsIgnoringCase(const std::string& a, const std::string& b) {
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (FoldAscii(a[i]) != FoldAscii(b[i]))
            return false;
    return true;
}

// The directory entry that matches name without regard to case, or name.
fs::path MatchEntry(const fs::path& dir, const std::string& name) {
    std::error_code ec;
    if (fs::exists(dir / name, ec))
        return dir / name;
    for (const auto& entry : fs::directory_iterator(dir, ec))
        if (EqualsIgnoringCase(entry.path().filename().string(), name))
            return entry.path();
    return dir / name;
}

bool IsDevicePath(std::u16string_view path) {
    bool prefixed = path.starts_with(u"\\\\?\\") || path.starts_with(u"\\\\.\\");
    bool drive = path.size() >= 6 && path[5] == u':';
    return prefixed && !drive;
}

// Windows' own normalisation of a path that is not given verbatim (\\?\):
// a folder name loses one trailing period, and the last name every trailing
// period and blank, so "C:\M\vq.dll " opens "vq.dll".
void TrimAsWindowsDoes(std::u16string& name, bool last) {
    if (last) {
        while (!name.empty() && (name.back() == u'.' || name.back() == u' '))
            name.pop_back();
    } else if (name.size() >= 2 && name.back() == u'.' && name[name.size() - 2] != u'.') {
        name.pop_back();
    }
}

std::vector<std::string> SplitComponents(std::u16string_view path, bool verbatim) {
    std::vector<std::string> parts;
    std::u16string current;
    auto flush = [&](bool last) {
        if (current.empty() || current == u".") {
        } else if (current == u"..") {
            if (!parts.empty())
                parts.pop_back();
        } else {
            if (!verbatim)
                TrimAsWindowsDoes(current, last);
            if (!current.empty())
                parts.push_back(ToUtf8(current));
        }
        current.clear();
    };
    for (char16_t c : path) {
        if (c == u'\\' || c == u'/')
            flush(false);
        else
            current.push_back(c);
    }
    flush(true);
    return parts;
}

fs::path HostPathLocked(std::u16string_view windowsPath) {
    const bool verbatim = windowsPath.starts_with(u"\\\\?\\");
    if (verbatim)
        windowsPath.remove_prefix(4);
    char16_t drive = u'C';
    if (windowsPath.size() >= 2 && windowsPath[1] == u':') {
        drive = windowsPath[0];
        windowsPath.remove_prefix(2);
    } else if (windowsPath.starts_with(u"\\\\")) {
        return {};
    }
    if (drive >= u'a' && drive <= u'z')
        drive = static_cast<char16_t>(drive - u'a' + u'A');
    if (drive < u'A' || drive > u'Z')
        return {};
    fs::path host = RootLocked() / std::string(1, static_cast<char>(drive));
    for (const std::string& part : SplitComponents(windowsPath, verbatim))
        host = MatchEntry(host, part);
    return host;
}

// A missing file in an existing folder is "file not found", a missing folder
// on the way "path not found", as Windows tells them apart.
WinError MissingError(const fs::path& host) {
    std::error_code ec;
    return fs::is_directory(host.parent_path(), ec) ? ErrorFileNotFound : ErrorPathNotFound;
}

class CHostFile final : public ISimFile {
  public:
    explicit CHostFile(std::FILE* file) : m_file(file) {}
    ~CHostFile() override { std::fclose(m_file); }

    Outcome<std::uint32_t> Read(void* buffer, std::uint32_t bytesToRead) override {
        std::size_t n = std::fread(buffer, 1, bytesToRead, m_file);
        if (n < bytesToRead && std::ferror(m_file))
            return {static_cast<std::uint32_t>(n), ErrorGenFailure};
        return static_cast<std::uint32_t>(n);
    }

    Outcome<std::uint32_t> Write(const void* buffer, std::uint32_t bytesToWrite) override {
        std::size_t n = std::fwrite(buffer, 1, bytesToWrite, m_file);
        if (n < bytesToWrite)
            return {static_cast<std::uint32_t>(n), ErrorAccessDenied};
        return static_cast<std::uint32_t>(n);
    }

    Outcome<std::int64_t> Size() override {
        long here = std::ftell(m_file);
        std::fseek(m_file, 0, SEEK_END);
        long size = std::ftell(m_file);
        std::fseek(m_file, here, SEEK_SET);
        return static_cast<std::int64_t>(size);
    }

  private:
    std::FILE* m_file;
};

// Windows' wildcards without regard to case: * any run, ? any one
// character; "*.*" matches every name, as it does on Windows.
bool MatchesPattern(std::u16string_view name, std::u16string_view pattern) {
    if (pattern == u"*.*")
        pattern = u"*";
    auto fold = [](char16_t c) {
        return (c >= u'A' && c <= u'Z') ? static_cast<char16_t>(c - u'A' + u'a') : c;
    };
    std::size_t n = 0, p = 0, starAt = std::u16string_view::npos, resumeAt = 0;
    while (n < name.size()) {
        if (p < pattern.size() && (pattern[p] == u'?' || fold(pattern[p]) == fold(name[n]))) {
            ++n;
            ++p;
        } else if (p < pattern.size() && pattern[p] == u'*') {
            starAt = p++;
            resumeAt = n;
        } else if (starAt != std::u16string_view::npos) {
            p = starAt + 1;
            n = ++resumeAt;
        } else {
            return false;
        }
    }
    while (p < pattern.size() && pattern[p] == u'*')
        ++p;
    return p == pattern.size();
}

std::uint32_t AttributesOf(const fs::path& host) {
    std::error_code ec;
    std::uint32_t attributes =
        fs::is_directory(host, ec) ? FileAttributeDirectory : FileAttributeNormal;
    if (fs::is_symlink(host, ec))
        attributes = (attributes & ~FileAttributeNormal) | FileAttributeReparsePoint;
    return attributes;
}

// A listing's entries, handed out one per call.
struct SimFind {
    std::vector<FindData> entries;
    std::size_t next = 0;
};

ISimFile* FileOf(const FileHandle& file) {
    return static_cast<ISimFile*>(file.Get());
}

Outcome<FileHandle> OpenHostFile(const fs::path& host, std::uint32_t desiredAccess,
                                 std::uint32_t creationDisposition) {
    std::error_code ec;
    if (host.empty())
        return Outcome<FileHandle>::Failure(ErrorInvalidName);
    if (fs::is_directory(host, ec))
        return Outcome<FileHandle>::Failure(ErrorAccessDenied);
    bool exists = fs::exists(host, ec);
    if (!exists && creationDisposition == OpenExisting)
        return Outcome<FileHandle>::Failure(MissingError(host));
    if (!fs::is_directory(host.parent_path(), ec))
        return Outcome<FileHandle>::Failure(ErrorPathNotFound);
    const char* mode = "rb";
    if (creationDisposition == CreateAlways)
        mode = (desiredAccess & GenericRead) ? "w+b" : "wb";
    else if (desiredAccess & GenericWrite)
        mode = "r+b";
    std::FILE* file = std::fopen(host.c_str(), mode);
    if (!file)
        return Outcome<FileHandle>::Failure(ErrorAccessDenied);
    return FileHandle(static_cast<ISimFile*>(new CHostFile(file)));
}

} // namespace

void SetDeviceOpener(DeviceOpener opener) {
    std::lock_guard guard(State().lock);
    State().deviceOpener = std::move(opener);
}

void ResetFiles() {
    std::lock_guard guard(State().lock);
    std::error_code ec;
    if (!State().root.empty())
        fs::remove_all(State().root, ec);
    State().root = MakeRoot();
}

const fs::path& FileRoot() {
    std::lock_guard guard(State().lock);
    return RootLocked();
}

fs::path HostPath(std::u16string_view windowsPath) {
    std::lock_guard guard(State().lock);
    return HostPathLocked(windowsPath);
}

void PutFile(std::u16string_view windowsPath, std::string_view bytes) {
    fs::path host = HostPath(windowsPath);
    fs::create_directories(host.parent_path());
    std::ofstream out(host, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

void PutReparsePoint(std::u16string_view windowsPath, std::u16string_view targetWindowsPath) {
    fs::path host = HostPath(windowsPath);
    fs::create_directories(host.parent_path());
    fs::create_directory_symlink(HostPath(targetWindowsPath), host);
}

std::string FileBytes(std::u16string_view windowsPath) {
    std::ifstream in(HostPath(windowsPath), std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

} // namespace platform::sim

namespace platform {

using sim::FileOf;

Status FileTraits::Close(RawHandle raw) {
    if (WinError e = sim::TakeFault("CloseHandle")) {
        delete static_cast<sim::ISimFile*>(raw);
        return Failure(e);
    }
    delete static_cast<sim::ISimFile*>(raw);
    return {};
}

Outcome<FileHandle> CreateFileW(std::u16string_view path, std::uint32_t desiredAccess,
                                std::uint32_t shareMode, std::uint32_t creationDisposition,
                                std::uint32_t flagsAndAttributes) {
    (void)flagsAndAttributes;
    if (WinError e = sim::TakeFault("CreateFileW"))
        return Outcome<FileHandle>::Failure(e);
    if (sim::IsDevicePath(path)) {
        sim::DeviceOpener opener;
        {
            std::lock_guard guard(sim::State().lock);
            opener = sim::State().deviceOpener;
        }
        if (!opener)
            return Outcome<FileHandle>::Failure(ErrorFileNotFound);
        auto device = opener(path, desiredAccess, shareMode);
        if (!device)
            return Outcome<FileHandle>::Failure(device.error);
        return FileHandle(static_cast<sim::ISimFile*>(device.value.release()));
    }
    return sim::OpenHostFile(sim::HostPath(path), desiredAccess, creationDisposition);
}

Outcome<std::uint32_t> ReadFile(const FileHandle& file, void* buffer, std::uint32_t bytesToRead) {
    if (!file)
        return {0, ErrorInvalidHandle};
    if (WinError e = sim::TakeFault("ReadFile"))
        return {0, e};
    return FileOf(file)->Read(buffer, bytesToRead);
}

Outcome<std::uint32_t> WriteFile(const FileHandle& file, const void* buffer,
                                 std::uint32_t bytesToWrite) {
    if (!file)
        return {0, ErrorInvalidHandle};
    if (WinError e = sim::TakeFault("WriteFile"))
        return {0, e};
    return FileOf(file)->Write(buffer, bytesToWrite);
}

Outcome<std::int64_t> GetFileSizeEx(const FileHandle& file) {
    if (!file)
        return {0, ErrorInvalidHandle};
    if (WinError e = sim::TakeFault("GetFileSizeEx"))
        return {0, e};
    return FileOf(file)->Size();
}

Status CopyFileW(std::u16string_view existingPath, std::u16string_view newPath, bool failIfExists) {
    if (WinError e = sim::TakeFault("CopyFileW"))
        return Failure(e);
    fs::path from = sim::HostPath(existingPath);
    fs::path to = sim::HostPath(newPath);
    std::error_code ec;
    if (!fs::is_regular_file(from, ec))
        return Failure(fs::is_directory(from, ec) ? ErrorAccessDenied : sim::MissingError(from));
    if (!fs::is_directory(to.parent_path(), ec))
        return Failure(ErrorPathNotFound);
    if (fs::exists(to, ec) && failIfExists)
        return Failure(ErrorFileExists);
    if (fs::is_directory(to, ec))
        return Failure(ErrorAccessDenied);
    fs::copy_file(from, to, fs::copy_options::overwrite_existing, ec);
    return ec ? Failure(ErrorAccessDenied) : Status{};
}

Status DeleteFileW(std::u16string_view path) {
    if (WinError e = sim::TakeFault("DeleteFileW"))
        return Failure(e);
    fs::path host = sim::HostPath(path);
    std::error_code ec;
    if (fs::is_directory(host, ec))
        return Failure(ErrorAccessDenied);
    if (!fs::exists(host, ec))
        return Failure(sim::MissingError(host));
    fs::remove(host, ec);
    if (ec)
        return Failure(ErrorAccessDenied);
    sim::ForgetFileSecurity(host);
    return {};
}

Status CreateDirectoryW(std::u16string_view path) {
    if (WinError e = sim::TakeFault("CreateDirectoryW"))
        return Failure(e);
    fs::path host = sim::HostPath(path);
    std::error_code ec;
    // Windows refuses a drive's root as access denied, not as existing.
    fs::path fromRoot = host.lexically_relative(sim::FileRoot());
    if (std::distance(fromRoot.begin(), fromRoot.end()) == 1)
        return Failure(fs::is_directory(host, ec) ? ErrorAccessDenied : ErrorPathNotFound);
    if (fs::exists(host, ec))
        return Failure(ErrorAlreadyExists);
    if (!fs::is_directory(host.parent_path(), ec))
        return Failure(ErrorPathNotFound);
    fs::create_directory(host, ec);
    return ec ? Failure(ErrorAccessDenied) : Status{};
}

Outcome<std::uint32_t> GetFileAttributesW(std::u16string_view path) {
    if (WinError e = sim::TakeFault("GetFileAttributesW"))
        return {0, e};
    fs::path host = sim::HostPath(path);
    std::error_code ec;
    if (fs::exists(host, ec))
        return sim::AttributesOf(host);
    return {0, sim::MissingError(host)};
}

bool PathFileExistsW(std::u16string_view path) {
    return GetFileAttributesW(path).Ok();
}

Status FindTraits::Close(RawHandle raw) {
    delete static_cast<sim::SimFind*>(raw);
    if (WinError e = sim::TakeFault("FindClose"))
        return Failure(e);
    return {};
}

Outcome<FindFirst> FindFirstFileW(std::u16string_view pattern) {
    if (WinError e = sim::TakeFault("FindFirstFileW"))
        return Outcome<FindFirst>::Failure(e);
    std::size_t cut = pattern.find_last_of(u"\\/");
    if (cut == std::u16string_view::npos)
        return Outcome<FindFirst>::Failure(ErrorPathNotFound);
    std::u16string_view namePattern = pattern.substr(cut + 1);
    fs::path folder = sim::HostPath(pattern.substr(0, cut + 1));
    std::error_code ec;
    if (folder.empty() || !fs::is_directory(folder, ec))
        return Outcome<FindFirst>::Failure(ErrorPathNotFound);

    std::vector<FindData> entries;
    fs::path fromRoot = folder.lexically_relative(sim::FileRoot());
    const bool driveRoot = std::distance(fromRoot.begin(), fromRoot.end()) == 1;
    if (!driveRoot)
        entries = {{FileAttributeDirectory, u"."}, {FileAttributeDirectory, u".."}};
    std::vector<FindData> names;
    for (const auto& entry : fs::directory_iterator(folder, ec))
        names.push_back({sim::AttributesOf(entry.path()),
                         sim::DecodeUtf8Text(entry.path().filename().string())});
    std::sort(names.begin(), names.end(),
              [](const FindData& a, const FindData& b) { return a.fileName < b.fileName; });
    entries.insert(entries.end(), names.begin(), names.end());
    std::erase_if(entries,
                  [&](const FindData& e) { return !sim::MatchesPattern(e.fileName, namePattern); });
    if (entries.empty())
        return Outcome<FindFirst>::Failure(ErrorFileNotFound);
    auto* find = new sim::SimFind{entries, 1};
    return Outcome<FindFirst>(FindFirst{FindHandle(find), entries.front()});
}

Outcome<FindData> FindNextFileW(const FindHandle& find) {
    if (!find)
        return Outcome<FindData>::Failure(ErrorInvalidHandle);
    if (WinError e = sim::TakeFault("FindNextFileW"))
        return Outcome<FindData>::Failure(e);
    auto* listing = static_cast<sim::SimFind*>(find.Get());
    if (listing->next >= listing->entries.size())
        return Outcome<FindData>::Failure(ErrorNoMoreFiles);
    return Outcome<FindData>(listing->entries[listing->next++]);
}

} // namespace platform
