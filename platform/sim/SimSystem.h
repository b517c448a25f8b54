// Seeding and inspection of the simulated machine's system area: the
// machine's facts (code page, locale, processor, own module) and what the
// program wrote to the debugger output channel and standard output.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace platform::sim {

void SetAnsiCodePage(std::uint32_t codePage);
void SetUserDefaultLcid(std::uint32_t lcid);
void SetNativeArchitecture(std::uint16_t processorArchitecture);
void SetModuleFileName(std::u16string path);

// One entry per OutputDebugStringA call, in call order.
std::vector<std::string> DebugOutput();
// Everything written to standard output, as one byte string.
std::string StandardOutput();
void ClearOutput();

// Back to a new machine's facts: code page 1252, locale 0x0409, x64,
// "C:\Setup\Setup.exe"; output cleared.
void ResetSystem();

} // namespace platform::sim
