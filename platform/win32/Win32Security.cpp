#include "platform/Security.h"

#include <windows.h>

#include <aclapi.h>
#include <sddl.h>

#include <memory>

#include "platform/win32/Win32Error.h"
#include "platform/win32/Win32Strings.h"

namespace platform {
namespace {

using win32::LastError;
using win32::ToWide;

struct LocalFreeDeleter {
    void operator()(void* memory) const { ::LocalFree(memory); }
};
using LocalSid = std::unique_ptr<void, LocalFreeDeleter>;

// The ACE layouts of both kinds share this shape: header, mask, SID.
struct RawAce {
    ACE_HEADER header;
    ACCESS_MASK mask;
    DWORD sidStart;
};

} // namespace

Status SetNamedSecurityInfoW(std::u16string_view path, const FileDacl& dacl) {
    std::vector<LocalSid> sids;
    DWORD size = sizeof(ACL);
    for (const AccessControlEntry& entry : dacl.entries) {
        if (entry.aceType != AccessAllowedAceType && entry.aceType != AccessDeniedAceType)
            return Failure(ErrorInvalidParameter);
        PSID sid = nullptr;
        std::wstring text = ToWide(entry.sid);
        if (!::ConvertStringSidToSidW(text.c_str(), &sid))
            return Failure(LastError());
        sids.emplace_back(sid);
        size += sizeof(RawAce) - sizeof(DWORD) + ::GetLengthSid(sid);
    }
    std::vector<DWORD> storage((size + sizeof(DWORD) - 1) / sizeof(DWORD));
    auto* acl = reinterpret_cast<ACL*>(storage.data());
    if (!::InitializeAcl(acl, size, ACL_REVISION))
        return Failure(LastError());
    for (std::size_t i = 0; i < dacl.entries.size(); ++i) {
        const AccessControlEntry& entry = dacl.entries[i];
        BOOL added = entry.aceType == AccessAllowedAceType
                         ? ::AddAccessAllowedAceEx(acl, ACL_REVISION, entry.aceFlags,
                                                   entry.accessMask, sids[i].get())
                         : ::AddAccessDeniedAceEx(acl, ACL_REVISION, entry.aceFlags,
                                                  entry.accessMask, sids[i].get());
        if (!added)
            return Failure(LastError());
    }
    SECURITY_INFORMATION what =
        DACL_SECURITY_INFORMATION | (dacl.isProtected ? PROTECTED_DACL_SECURITY_INFORMATION
                                                      : UNPROTECTED_DACL_SECURITY_INFORMATION);
    std::wstring widePath = ToWide(path);
    // This call returns its error instead of setting the thread's last error.
    DWORD result = ::SetNamedSecurityInfoW(widePath.data(), SE_FILE_OBJECT, what, nullptr, nullptr,
                                           acl, nullptr);
    return Status{static_cast<WinError>(result)};
}

Outcome<FileDacl> GetNamedSecurityInfoW(std::u16string_view path) {
    std::wstring widePath = ToWide(path);
    PACL rawDacl = nullptr;
    PSECURITY_DESCRIPTOR descriptor = nullptr;
    DWORD result =
        ::GetNamedSecurityInfoW(widePath.c_str(), SE_FILE_OBJECT, DACL_SECURITY_INFORMATION,
                                nullptr, nullptr, &rawDacl, nullptr, &descriptor);
    if (result != ERROR_SUCCESS)
        return Outcome<FileDacl>::Failure(static_cast<WinError>(result));
    std::unique_ptr<void, LocalFreeDeleter> owned(descriptor);
    FileDacl dacl;
    SECURITY_DESCRIPTOR_CONTROL control = 0;
    DWORD revision = 0;
    if (!::GetSecurityDescriptorControl(descriptor, &control, &revision))
        return Outcome<FileDacl>::Failure(LastError());
    dacl.isProtected = (control & SE_DACL_PROTECTED) != 0;
    for (DWORD i = 0; rawDacl && i < rawDacl->AceCount; ++i) {
        void* raw = nullptr;
        if (!::GetAce(rawDacl, i, &raw))
            return Outcome<FileDacl>::Failure(LastError());
        const auto* ace = static_cast<const RawAce*>(raw);
        AccessControlEntry entry;
        entry.aceType = ace->header.AceType;
        entry.aceFlags = ace->header.AceFlags;
        if (entry.aceType == AccessAllowedAceType || entry.aceType == AccessDeniedAceType) {
            entry.accessMask = ace->mask;
            LPWSTR text = nullptr;
            PSID sid = const_cast<DWORD*>(&ace->sidStart);
            if (!::ConvertSidToStringSidW(sid, &text))
                return Outcome<FileDacl>::Failure(LastError());
            entry.sid = win32::FromWide(text);
            ::LocalFree(text);
        }
        dacl.entries.push_back(std::move(entry));
    }
    return dacl;
}

} // namespace platform
