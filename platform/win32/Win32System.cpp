#include "platform/System.h"

#include <cstdio>
#include <string>

#include <windows.h>

#include "platform/win32/Win32Error.h"
#include "platform/win32/Win32Strings.h"

namespace platform {
namespace {

struct ThreadStart {
    ThreadStartRoutine start;
    void* parameter;
};

// The seam's routine has the C calling convention; the thread's entry needs
// the platform's.
DWORD WINAPI ThreadTrampoline(LPVOID raw) {
    ThreadStart start = *static_cast<ThreadStart*>(raw);
    delete static_cast<ThreadStart*>(raw);
    return start.start(start.parameter);
}

} // namespace

Outcome<std::u16string> GetModuleFileNameW() {
    std::wstring buffer(MAX_PATH, L'\0');
    for (;;) {
        DWORD length =
            ::GetModuleFileNameW(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
        if (length == 0)
            return Outcome<std::u16string>::Failure(win32::LastError());
        if (length < buffer.size())
            return Outcome<std::u16string>(
                win32::FromWide(std::wstring_view(buffer.data(), length)));
        buffer.resize(buffer.size() * 2);
    }
}

SystemInfo GetNativeSystemInfo() {
    SYSTEM_INFO raw{};
    ::GetNativeSystemInfo(&raw);
    return SystemInfo{raw.wProcessorArchitecture};
}

std::uint32_t GetUserDefaultLCID() {
    return ::GetUserDefaultLCID();
}

std::uint32_t GetACP() {
    return ::GetACP();
}

void OutputDebugStringA(std::string_view text) {
    std::string terminated(text);
    ::OutputDebugStringA(terminated.c_str());
}

void WriteStandardOutput(std::string_view text) {
    std::fwrite(text.data(), 1, text.size(), stdout);
    std::fflush(stdout);
}

void Sleep(std::uint32_t milliseconds) {
    ::Sleep(milliseconds);
}

Status ThreadTraits::Close(RawHandle raw) {
    return win32::StatusOf(::CloseHandle(raw));
}

Outcome<ThreadHandle> CreateThread(ThreadStartRoutine start, void* parameter) {
    auto* record = new ThreadStart{start, parameter};
    HANDLE thread = ::CreateThread(nullptr, 0, ThreadTrampoline, record, 0, nullptr);
    if (!thread) {
        WinError error = win32::LastError();
        delete record;
        return Outcome<ThreadHandle>::Failure(error);
    }
    return Outcome<ThreadHandle>(ThreadHandle(thread));
}

} // namespace platform
