// Files, paths and device files (kernel32, shlwapi). Paths are Windows paths
// in UTF-16.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "platform/Error.h"
#include "platform/Handle.h"

namespace platform {

constexpr std::uint32_t GenericRead = 0x80000000;
constexpr std::uint32_t GenericWrite = 0x40000000;
constexpr std::uint32_t FileShareRead = 0x1;
constexpr std::uint32_t FileShareWrite = 0x2;
constexpr std::uint32_t CreateAlways = 2;
constexpr std::uint32_t OpenExisting = 3;
constexpr std::uint32_t FileAttributeDirectory = 0x10;
constexpr std::uint32_t FileAttributeNormal = 0x80;
// A junction, mount point or symbolic link: opening it reaches somewhere else.
constexpr std::uint32_t FileAttributeReparsePoint = 0x400;
constexpr std::uint32_t FileFlagNoBuffering = 0x20000000;

struct FileTraits {
    static Status Close(RawHandle raw); // CloseHandle
};
using FileHandle = ScopedHandle<FileTraits>;

Outcome<FileHandle> CreateFileW(std::u16string_view path, std::uint32_t desiredAccess,
                                std::uint32_t shareMode, std::uint32_t creationDisposition,
                                std::uint32_t flagsAndAttributes);
// Synchronous; the value is the number of bytes read (fewer than asked at
// the end of a file or on a short device report).
Outcome<std::uint32_t> ReadFile(const FileHandle& file, void* buffer, std::uint32_t bytesToRead);
Outcome<std::uint32_t> WriteFile(const FileHandle& file, const void* buffer,
                                 std::uint32_t bytesToWrite);
Outcome<std::int64_t> GetFileSizeEx(const FileHandle& file);

Status CopyFileW(std::u16string_view existingPath, std::u16string_view newPath, bool failIfExists);
Status DeleteFileW(std::u16string_view path);
Status CreateDirectoryW(std::u16string_view path);
// The attribute bits; fails with the system's error when the path is absent.
Outcome<std::uint32_t> GetFileAttributesW(std::u16string_view path);
bool PathFileExistsW(std::u16string_view path);

// One entry of a folder listing (WIN32_FIND_DATAW, the parts the system reads).
struct FindData {
    std::uint32_t fileAttributes = 0;
    std::u16string fileName;

    friend bool operator==(const FindData&, const FindData&) = default;
};

struct FindTraits {
    static Status Close(RawHandle raw); // FindClose
};
using FindHandle = ScopedHandle<FindTraits>;

// The listing's handle and its first entry.
struct FindFirst {
    FindHandle handle;
    FindData data;
};

// The pattern is a folder, a backslash and a name with * and ? wildcards. A
// folder's own listing holds "." and ".." (a drive root's does not); nothing
// matching is ErrorFileNotFound, a missing folder ErrorPathNotFound.
Outcome<FindFirst> FindFirstFileW(std::u16string_view pattern);
// The next entry; ErrorNoMoreFiles after the last.
Outcome<FindData> FindNextFileW(const FindHandle& find);

} // namespace platform
