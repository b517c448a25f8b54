// The contract suite's machine on Windows and under Wine: a work folder under
// the Windows folder's temp, emptied before each test, and facts every
// Windows installation holds.
#include "tests/contract/ContractEnv.h"

#include <string_view>

#include "platform/Files.h"
#include "platform/Registry.h"
#include "platform/System.h"

namespace contract {
namespace {

using namespace platform;

constexpr std::u16string_view WorkFolderPath = u"C:\\windows\\temp\\vq_contract";

// The files a test may leave behind; removing them empties the folder.
constexpr std::u16string_view KnownFiles[] = {u"a.bin", u"b.bin", u"c.bin"};

class CContractEnvWin32 final : public IContractEnv {
  public:
    void Prepare() override {
        CreateDirectoryW(WorkFolderPath);
        for (std::u16string_view name : KnownFiles)
            DeleteFileW(std::u16string(WorkFolderPath) + u"\\" + std::u16string(name));
    }

    Machine Kind() const override {
        // Wine keeps its own settings under this key; Windows has none.
        return RegOpenKeyExA("Software\\Wine", KeyRead) ? Machine::Wine : Machine::Windows;
    }

    std::u16string WorkFolder() const override { return std::u16string(WorkFolderPath); }

    std::uint16_t NativeArchitecture() const override { return ProcessorArchitectureAmd64; }
};

} // namespace

IContractEnv& Env() {
    static CContractEnvWin32 env;
    return env;
}

} // namespace contract
