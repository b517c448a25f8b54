// Security of files and folders (advapi32): the access control list that
// decides who may change a folder, read and written as whole lists.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "platform/Error.h"

namespace platform {

constexpr std::uint8_t AccessAllowedAceType = 0;
constexpr std::uint8_t AccessDeniedAceType = 1;

constexpr std::uint8_t ObjectInheritAce = 0x1;
constexpr std::uint8_t ContainerInheritAce = 0x2;
constexpr std::uint8_t InheritedAce = 0x10;

constexpr std::uint32_t FileAllAccess = 0x1F01FF;
// FILE_GENERIC_READ | FILE_GENERIC_EXECUTE.
constexpr std::uint32_t FileGenericReadExecute = 0x1200A9;
// FILE_GENERIC_READ | FILE_GENERIC_WRITE | FILE_GENERIC_EXECUTE | DELETE.
constexpr std::uint32_t FileModify = 0x1301BF;
// The rights, specific and generic, that let a trustee change a file or a
// folder's contents or its security.
constexpr std::uint32_t FileWriteRights = 0x500D0156;

// Well-known trustees as string SIDs.
constexpr std::u16string_view SidLocalSystem = u"S-1-5-18";
constexpr std::u16string_view SidAdministrators = u"S-1-5-32-544";
constexpr std::u16string_view SidUsers = u"S-1-5-32-545";
constexpr std::u16string_view SidAuthenticatedUsers = u"S-1-5-11";
// Stands for the object's owner: an entry for it replaces the owner's
// implicit right to read and rewrite the list.
constexpr std::u16string_view SidOwnerRights = u"S-1-3-4";

// One entry of a discretionary access control list; the trustee as a
// string SID ("S-1-5-18").
struct AccessControlEntry {
    std::uint8_t aceType = AccessAllowedAceType;
    std::uint8_t aceFlags = 0;
    std::uint32_t accessMask = 0;
    std::u16string sid;

    friend bool operator==(const AccessControlEntry&, const AccessControlEntry&) = default;
};

// A file's DACL; a protected list inherits nothing from the parent folder.
struct FileDacl {
    bool isProtected = false;
    std::vector<AccessControlEntry> entries;

    friend bool operator==(const FileDacl&, const FileDacl&) = default;
};

// SE_FILE_OBJECT, DACL_SECURITY_INFORMATION, and
// PROTECTED_DACL_SECURITY_INFORMATION or UNPROTECTED_... as the list says.
// Only access-allowed and access-denied entries.
Status SetNamedSecurityInfoW(std::u16string_view path, const FileDacl& dacl);
Outcome<FileDacl> GetNamedSecurityInfoW(std::u16string_view path);

} // namespace platform
