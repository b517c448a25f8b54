#include <string>

#include "platform/Files.h"
#include "platform/Security.h"
#include "tests/contract/ContractTest.h"

namespace contract {
namespace {

using namespace platform;

// The suite runs without the simulation's printers.
std::string Describe(const FileDacl& dacl) {
    std::string text = dacl.isProtected ? "protected {" : "inheriting {";
    for (const AccessControlEntry& entry : dacl.entries) {
        text += " type " + std::to_string(entry.aceType) + " flags " +
                std::to_string(entry.aceFlags) + " mask " + std::to_string(entry.accessMask) + " ";
        for (char16_t c : entry.sid)
            text += static_cast<char>(c);
        text += ";";
    }
    return text + " }";
}

constexpr std::uint8_t Inherit = ObjectInheritAce | ContainerInheritAce;

class SecurityContract : public ContractTest {
  protected:
    void SetUp() override {
        ContractTest::SetUp();
        CreateDirectoryW(Folder()); // left from an earlier run, or new
    }
    static std::u16string Folder() { return WorkPath(u"secured"); }
};

// Wine accepts the list but keeps none: it reads back a list made from the
// host file's owner and mode bits (SYSTEM, the user, Everyone), unprotected.
TEST_F(SecurityContract, AProtectedListReadsBackAsSetExceptOnWine) {
    const FileDacl dacl{true,
                        {{AccessAllowedAceType, Inherit, FileAllAccess, u"S-1-5-18"},
                         {AccessAllowedAceType, Inherit, FileAllAccess, u"S-1-5-32-544"},
                         {AccessAllowedAceType, Inherit, FileGenericReadExecute, u"S-1-5-32-545"}}};
    ASSERT_TRUE(SetNamedSecurityInfoW(Folder(), dacl));
    auto read = GetNamedSecurityInfoW(Folder());
    ASSERT_TRUE(read) << read.error;
    if (Env().Kind() == Machine::Wine)
        EXPECT_FALSE(read.value.isProtected) << Describe(read.value);
    else
        EXPECT_TRUE(read.value == dacl) << Describe(read.value);
}

TEST_F(SecurityContract, AMissingObjectHasNoSecurity) {
    EXPECT_EQ(GetNamedSecurityInfoW(WorkPath(u"absent")).error, ErrorFileNotFound);
    EXPECT_EQ(SetNamedSecurityInfoW(WorkPath(u"absent"), FileDacl{true, {}}).error,
              ErrorFileNotFound);
}

TEST_F(SecurityContract, AnUnknownTrusteeIsRefused) {
    const FileDacl dacl{true, {{AccessAllowedAceType, 0, FileAllAccess, u"not a SID"}}};
    EXPECT_EQ(SetNamedSecurityInfoW(Folder(), dacl).error, ErrorInvalidSid);
}

} // namespace
} // namespace contract
