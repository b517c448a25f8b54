#include "platform/sim/SimFaults.h"

#include <map>
#include <mutex>
#include <vector>

namespace platform::sim {
namespace {

struct PendingFault {
    WinError error;
    std::uint32_t skip;
};

struct FaultTable {
    std::mutex lock;
    std::map<std::string, std::vector<PendingFault>, std::less<>> once;
    std::map<std::string, WinError, std::less<>> always;
    std::map<std::string, std::uint32_t, std::less<>> calls;
};

FaultTable& Table() {
    static FaultTable table;
    return table;
}

} // namespace

void FailOnce(std::string_view operation, WinError error, std::uint32_t skip) {
    FaultTable& t = Table();
    std::lock_guard guard(t.lock);
    t.once[std::string(operation)].push_back({error, skip});
}

void FailAlways(std::string_view operation, WinError error) {
    FaultTable& t = Table();
    std::lock_guard guard(t.lock);
    t.always[std::string(operation)] = error;
}

void ClearFaults() {
    FaultTable& t = Table();
    std::lock_guard guard(t.lock);
    t.once.clear();
    t.always.clear();
    t.calls.clear();
}

WinError TakeFault(std::string_view operation) {
    FaultTable& t = Table();
    std::lock_guard guard(t.lock);
    ++t.calls[std::string(operation)];
    if (auto it = t.always.find(operation); it != t.always.end())
        return it->second;
    auto it = t.once.find(operation);
    if (it == t.once.end() || it->second.empty())
        return ErrorSuccess;
    PendingFault& next = it->second.front();
    if (next.skip > 0) {
        --next.skip;
        return ErrorSuccess;
    }
    WinError error = next.error;
    it->second.erase(it->second.begin());
    return error;
}

std::uint32_t CallCount(std::string_view operation) {
    FaultTable& t = Table();
    std::lock_guard guard(t.lock);
    auto it = t.calls.find(operation);
    return it == t.calls.end() ? 0 : it->second;
}

} // namespace platform::sim
