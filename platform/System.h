// The rest of kernel32 the system uses: its own module, the machine, the
// locale, code-page conversion, system messages, the debugger output channel,
// standard output, sleep and threads.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "platform/Error.h"
#include "platform/Handle.h"

namespace platform {

// The full path of the running program's own file.
Outcome<std::u16string> GetModuleFileNameW();

constexpr std::uint16_t ProcessorArchitectureIntel = 0;
constexpr std::uint16_t ProcessorArchitectureIa64 = 6;
constexpr std::uint16_t ProcessorArchitectureAmd64 = 9;

struct SystemInfo {
    std::uint16_t processorArchitecture = ProcessorArchitectureIntel;
};
SystemInfo GetNativeSystemInfo();

std::uint32_t GetUserDefaultLCID();
std::uint32_t GetACP();

constexpr std::uint32_t CpAcp = 0;
constexpr std::uint32_t CpUtf8 = 65001;

// No flags. Measures, then converts, as the callers on Windows do; a code
// page the platform cannot convert from fails (the text is then empty).
Outcome<std::u16string> MultiByteToWideChar(std::uint32_t codePage, std::string_view bytes);

// The system's message text for an error code: from the system table,
// inserts ignored, default language, into a buffer of bufferChars characters
// (ErrorInsufficientBuffer when it does not fit).
Outcome<std::u16string> FormatMessageW(WinError messageId, std::uint32_t bufferChars);

void OutputDebugStringA(std::string_view text);
// Writes 8-bit text to the process's standard output, as printf would.
void WriteStandardOutput(std::string_view text);

void Sleep(std::uint32_t milliseconds);

using ThreadStartRoutine = std::uint32_t (*)(void* parameter);

struct ThreadTraits {
    static Status Close(RawHandle raw); // CloseHandle
};
using ThreadHandle = ScopedHandle<ThreadTraits>;

// Default security and stack size, running at once.
Outcome<ThreadHandle> CreateThread(ThreadStartRoutine start, void* parameter);

} // namespace platform
