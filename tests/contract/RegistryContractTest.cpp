#include "platform/Registry.h"
#include "tests/contract/ContractTest.h"

namespace contract {
namespace {

using namespace platform;

class RegistryContract : public ContractTest {};

TEST_F(RegistryContract, OpeningAMissingKeyIsFileNotFound) {
    auto key = RegOpenKeyExA("SOFTWARE\\VqContract\\Absent", KeyRead);
    EXPECT_EQ(key.error, ErrorFileNotFound);
    EXPECT_FALSE(key.value.IsValid());
}

TEST_F(RegistryContract, KeyNamesMatchWithoutRegardToCase) {
    RegistryFact fact = KnownRegistryString();
    std::string shouted = fact.key;
    for (char& c : shouted)
        c = static_cast<char>(c >= 'a' && c <= 'z' ? c - 'a' + 'A' : c);
    EXPECT_TRUE(RegOpenKeyExA(shouted, KeyRead));
}

TEST_F(RegistryContract, QueryingAStringYieldsItWithoutTheTerminator) {
    RegistryFact fact = KnownRegistryString();
    auto key = RegOpenKeyExA(fact.key, KeyRead);
    ASSERT_TRUE(key) << key.error;
    auto value = RegQueryValueExA(key.value, fact.value, 200);
    ASSERT_TRUE(value) << value.error;
    EXPECT_EQ(value.value, fact.data);
}

TEST_F(RegistryContract, QueryingAMissingValueIsFileNotFound) {
    RegistryFact fact = KnownRegistryString();
    auto key = RegOpenKeyExA(fact.key, KeyRead);
    ASSERT_TRUE(key) << key.error;
    EXPECT_EQ(RegQueryValueExA(key.value, "VqContractAbsent", 200).error, ErrorFileNotFound);
}

struct BufferCase {
    const char* what;
    std::uint32_t size;
    WinError error;
};

// The stored string includes its terminator, so the buffer needs room for it.
TEST_F(RegistryContract, ABufferTooSmallForTextAndTerminatorIsMoreData) {
    RegistryFact fact = KnownRegistryString();
    auto key = RegOpenKeyExA(fact.key, KeyRead);
    ASSERT_TRUE(key) << key.error;
    auto length = static_cast<std::uint32_t>(fact.data.size());
    const BufferCase cases[] = {
        {"one byte", 1, ErrorMoreData},
        {"the text without its terminator", length, ErrorMoreData},
        {"the text and its terminator", length + 1, ErrorSuccess},
    };
    for (const BufferCase& c : cases) {
        auto value = RegQueryValueExA(key.value, fact.value, c.size);
        EXPECT_EQ(value.error, c.error) << c.what;
        if (value) {
            EXPECT_EQ(value.value, fact.data) << c.what;
        }
    }
}

} // namespace
} // namespace contract
