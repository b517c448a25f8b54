#include <atomic>

#include "platform/System.h"
#include "tests/contract/ContractTest.h"

namespace contract {
namespace {

using namespace platform;

class SystemContract : public ContractTest {};

TEST_F(SystemContract, GetModuleFileNameWNamesAProgramByFullPath) {
    auto path = GetModuleFileNameW();
    ASSERT_TRUE(path) << path.error;
    ASSERT_GE(path.value.size(), 7u);
    EXPECT_EQ(path.value.substr(1, 2), u":\\");
    std::u16string extension = path.value.substr(path.value.size() - 4);
    for (char16_t& c : extension)
        c = c >= u'A' && c <= u'Z' ? static_cast<char16_t>(c - u'A' + u'a') : c;
    EXPECT_EQ(extension, u".exe");
}

TEST_F(SystemContract, GetNativeSystemInfoNamesTheMachinesProcessor) {
    EXPECT_EQ(GetNativeSystemInfo().processorArchitecture, Env().NativeArchitecture());
}

TEST_F(SystemContract, TheLocaleAndCodePageAreSet) {
    EXPECT_NE(GetACP(), 0u);
    EXPECT_NE(GetACP(), CpUtf8) << "a machine's ANSI code page is a legacy one";
    EXPECT_NE(GetUserDefaultLCID(), 0u);
}

TEST_F(SystemContract, SleepReturns) {
    Sleep(0);
    Sleep(1);
    SUCCEED();
}

TEST_F(SystemContract, OutputChannelsTakeAnyText) {
    OutputDebugStringA("contract: debugger output\n");
    OutputDebugStringA("");
    WriteStandardOutput("");
    SUCCEED();
}

struct ThreadProbe {
    std::atomic<int> seen{0};
};

std::uint32_t RecordParameter(void* parameter) {
    auto* probe = static_cast<ThreadProbe*>(parameter);
    probe->seen.store(42);
    probe->seen.notify_all();
    return 7;
}

TEST_F(SystemContract, CreateThreadRunsItsRoutineWithItsParameter) {
    // Static: the routine may still be returning when the test ends.
    static ThreadProbe probe;
    probe.seen.store(0);
    auto thread = CreateThread(RecordParameter, &probe);
    ASSERT_TRUE(thread) << thread.error;
    EXPECT_TRUE(thread.value.IsValid());
    // The creator sleeping is what lets a new thread run on every machine.
    while (probe.seen.load() == 0)
        Sleep(1);
    EXPECT_EQ(probe.seen.load(), 42);
    EXPECT_TRUE(thread.value.Close());
}

} // namespace
} // namespace contract
