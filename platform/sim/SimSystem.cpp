#include "platform/sim/SimSystem.h"

#include <mutex>

#include "platform/System.h"
#include "platform/sim/SimFaults.h"

namespace platform::sim {
namespace {

struct SystemState {
    std::mutex lock;
    std::uint32_t ansiCodePage = 1252;
    std::uint32_t userLcid = 0x0409;
    std::uint16_t architecture = ProcessorArchitectureAmd64;
    std::u16string modulePath = u"C:\\Setup\\Setup.exe";
    std::vector<std::string> debugOutput;
    std::string standardOutput;
};

SystemState& State() {
    static SystemState state;
    return state;
}

} // namespace

void SetAnsiCodePage(std::uint32_t codePage) {
    std::lock_guard guard(State().lock);
    State().ansiCodePage = codePage;
}

void SetUserDefaultLcid(std::uint32_t lcid) {
    std::lock_guard guard(State().lock);
    State().userLcid = lcid;
}

void SetNativeArchitecture(std::uint16_t processorArchitecture) {
    std::lock_guard guard(State().lock);
    State().architecture = processorArchitecture;
}

void SetModuleFileName(std::u16string path) {
    std::lock_guard guard(State().lock);
    State().modulePath = std::move(path);
}

std::vector<std::string> DebugOutput() {
    std::lock_guard guard(State().lock);
    return State().debugOutput;
}

std::string StandardOutput() {
    std::lock_guard guard(State().lock);
    return State().standardOutput;
}

void ClearOutput() {
    std::lock_guard guard(State().lock);
    State().debugOutput.clear();
    State().standardOutput.clear();
}

void ResetSystem() {
    SystemState& s = State();
    std::lock_guard guard(s.lock);
    s.ansiCodePage = 1252;
    s.userLcid = 0x0409;
    s.architecture = ProcessorArchitectureAmd64;
    s.modulePath = u"C:\\Setup\\Setup.exe";
    s.debugOutput.clear();
    s.standardOutput.clear();
}

} // namespace platform::sim

namespace platform {

Outcome<std::u16string> GetModuleFileNameW() {
    if (WinError e = sim::TakeFault("GetModuleFileNameW"))
        return Outcome<std::u16string>::Failure(e);
    std::lock_guard guard(sim::State().lock);
    return sim::State().modulePath;
}

SystemInfo GetNativeSystemInfo() {
    std::lock_guard guard(sim::State().lock);
    return SystemInfo{sim::State().architecture};
}

std::uint32_t GetUserDefaultLCID() {
    std::lock_guard guard(sim::State().lock);
    return sim::State().userLcid;
}

std::uint32_t GetACP() {
    std::lock_guard guard(sim::State().lock);
    return sim::State().ansiCodePage;
}

void OutputDebugStringA(std::string_view text) {
    std::lock_guard guard(sim::State().lock);
    sim::State().debugOutput.emplace_back(text);
}

void WriteStandardOutput(std::string_view text) {
    std::lock_guard guard(sim::State().lock);
    sim::State().standardOutput.append(text);
}

} // namespace platform
