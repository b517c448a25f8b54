#include "platform/sim/SimSecurity.h"

#include <mutex>

#include "platform/sim/SimFaults.h"
#include "platform/sim/SimFiles.h"

namespace fs = std::filesystem;

namespace platform::sim {
namespace {

struct SecurityState {
    std::mutex lock;
    std::map<fs::path, FileDacl> lists;
};

SecurityState& State() {
    static SecurityState* state = new SecurityState;
    return *state;
}

// The object's host path, or the error Windows gives for a missing one.
WinError Existing(std::u16string_view path, fs::path* host) {
    *host = HostPath(path).lexically_normal();
    std::error_code ec;
    if (host->empty())
        return ErrorInvalidName;
    if (!host->has_filename())
        *host = host->parent_path();
    if (fs::exists(*host, ec))
        return ErrorSuccess;
    return fs::is_directory(host->parent_path(), ec) ? ErrorFileNotFound : ErrorPathNotFound;
}

// "S-1-" and dash-separated numbers, as the string form of a SID is written.
bool IsSidString(std::u16string_view sid) {
    if (!sid.starts_with(u"S-1-") || sid.ends_with(u'-'))
        return false;
    for (char16_t c : sid.substr(4))
        if (c != u'-' && (c < u'0' || c > u'9'))
            return false;
    return sid.find(u"--") == std::u16string_view::npos;
}

} // namespace

void ResetSecurity() {
    std::lock_guard guard(State().lock);
    State().lists.clear();
}

FileDacl InheritedFileDacl() {
    constexpr std::uint8_t inherited = InheritedAce | ObjectInheritAce | ContainerInheritAce;
    return FileDacl{
        false,
        {{AccessAllowedAceType, inherited, FileAllAccess, std::u16string(SidLocalSystem)},
         {AccessAllowedAceType, inherited, FileAllAccess, std::u16string(SidAdministrators)},
         {AccessAllowedAceType, inherited, FileGenericReadExecute, std::u16string(SidUsers)},
         {AccessAllowedAceType, inherited, FileModify, std::u16string(SidAuthenticatedUsers)}}};
}

void ForgetFileSecurity(const fs::path& host) {
    std::lock_guard guard(State().lock);
    State().lists.erase(host.lexically_normal());
}

std::map<fs::path, FileDacl> AllFileSecurity() {
    std::lock_guard guard(State().lock);
    return State().lists;
}

} // namespace platform::sim

namespace platform {

Status SetNamedSecurityInfoW(std::u16string_view path, const FileDacl& dacl) {
    if (WinError e = sim::TakeFault("SetNamedSecurityInfoW"))
        return Failure(e);
    for (const AccessControlEntry& entry : dacl.entries)
        if (!sim::IsSidString(entry.sid))
            return Failure(ErrorInvalidSid);
    fs::path host;
    if (WinError e = sim::Existing(path, &host))
        return Failure(e);
    FileDacl kept = dacl;
    // An unprotected list goes on inheriting from the parent.
    if (!dacl.isProtected)
        for (const AccessControlEntry& entry : sim::InheritedFileDacl().entries)
            kept.entries.push_back(entry);
    std::lock_guard guard(sim::State().lock);
    sim::State().lists[host] = std::move(kept);
    return {};
}

Outcome<FileDacl> GetNamedSecurityInfoW(std::u16string_view path) {
    if (WinError e = sim::TakeFault("GetNamedSecurityInfoW"))
        return Outcome<FileDacl>::Failure(e);
    fs::path host;
    if (WinError e = sim::Existing(path, &host))
        return Outcome<FileDacl>::Failure(e);
    std::lock_guard guard(sim::State().lock);
    auto it = sim::State().lists.find(host);
    return it == sim::State().lists.end() ? sim::InheritedFileDacl() : it->second;
}

} // namespace platform
