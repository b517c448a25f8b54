#include "platform/Files.h"

#include <windows.h>

#include <shlwapi.h>

#include "platform/win32/Win32Error.h"
#include "platform/win32/Win32Strings.h"

namespace platform {
namespace {

using win32::LastError;
using win32::ToWide;

HANDLE Raw(const FileHandle& file) {
    return file.Get();
}

FindData FromWin32(const WIN32_FIND_DATAW& data) {
    return FindData{data.dwFileAttributes, win32::FromWide(data.cFileName)};
}

} // namespace

Status FileTraits::Close(RawHandle raw) {
    return win32::StatusOf(::CloseHandle(raw));
}

Outcome<FileHandle> CreateFileW(std::u16string_view path, std::uint32_t desiredAccess,
                                std::uint32_t shareMode, std::uint32_t creationDisposition,
                                std::uint32_t flagsAndAttributes) {
    std::wstring widePath = ToWide(path);
    return win32::HandleOutcome<FileHandle>(::CreateFileW(widePath.c_str(), desiredAccess,
                                                          shareMode, nullptr, creationDisposition,
                                                          flagsAndAttributes, nullptr));
}

Outcome<std::uint32_t> ReadFile(const FileHandle& file, void* buffer, std::uint32_t bytesToRead) {
    DWORD read = 0;
    if (!::ReadFile(Raw(file), buffer, bytesToRead, &read, nullptr))
        return Outcome<std::uint32_t>(read, LastError());
    return Outcome<std::uint32_t>(read);
}

Outcome<std::uint32_t> WriteFile(const FileHandle& file, const void* buffer,
                                 std::uint32_t bytesToWrite) {
    DWORD written = 0;
    if (!::WriteFile(Raw(file), buffer, bytesToWrite, &written, nullptr))
        return Outcome<std::uint32_t>(written, LastError());
    return Outcome<std::uint32_t>(written);
}

Outcome<std::int64_t> GetFileSizeEx(const FileHandle& file) {
    LARGE_INTEGER size{};
    if (!::GetFileSizeEx(Raw(file), &size))
        return Outcome<std::int64_t>::Failure(LastError());
    return Outcome<std::int64_t>(size.QuadPart);
}

Status CopyFileW(std::u16string_view existingPath, std::u16string_view newPath, bool failIfExists) {
    std::wstring from = ToWide(existingPath);
    std::wstring to = ToWide(newPath);
    return win32::StatusOf(::CopyFileW(from.c_str(), to.c_str(), failIfExists ? TRUE : FALSE));
}

Status DeleteFileW(std::u16string_view path) {
    std::wstring widePath = ToWide(path);
    return win32::StatusOf(::DeleteFileW(widePath.c_str()));
}

Status CreateDirectoryW(std::u16string_view path) {
    std::wstring widePath = ToWide(path);
    return win32::StatusOf(::CreateDirectoryW(widePath.c_str(), nullptr));
}

Outcome<std::uint32_t> GetFileAttributesW(std::u16string_view path) {
    std::wstring widePath = ToWide(path);
    DWORD attributes = ::GetFileAttributesW(widePath.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES)
        return Outcome<std::uint32_t>::Failure(LastError());
    return Outcome<std::uint32_t>(attributes);
}

bool PathFileExistsW(std::u16string_view path) {
    std::wstring widePath = ToWide(path);
    return ::PathFileExistsW(widePath.c_str()) != FALSE;
}

Status FindTraits::Close(RawHandle raw) {
    return win32::StatusOf(::FindClose(raw));
}

Outcome<FindFirst> FindFirstFileW(std::u16string_view pattern) {
    std::wstring widePattern = ToWide(pattern);
    WIN32_FIND_DATAW data{};
    RawHandle raw = win32::Normalise(::FindFirstFileW(widePattern.c_str(), &data));
    if (!raw)
        return Outcome<FindFirst>::Failure(LastError());
    return Outcome<FindFirst>(FindFirst{FindHandle(raw), FromWin32(data)});
}

Outcome<FindData> FindNextFileW(const FindHandle& find) {
    WIN32_FIND_DATAW data{};
    if (!::FindNextFileW(find.Get(), &data))
        return Outcome<FindData>::Failure(LastError());
    return Outcome<FindData>(FromWin32(data));
}

} // namespace platform
