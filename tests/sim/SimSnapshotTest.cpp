// The machine as a value: two snapshots of the same machine are equal, any
// change in one area makes them differ there, and the printout names what
// each area holds.
#include <gtest/gtest.h>

#include "platform/Security.h"
#include "platform/Services.h"
#include "platform/Spooler.h"
#include "platform/sim/SimFiles.h"
#include "platform/sim/SimMachine.h"
#include "platform/sim/SimRegistry.h"
#include "platform/sim/SimServices.h"
#include "platform/sim/SimSnapshot.h"
#include "platform/sim/SimSpooler.h"

using namespace platform;

namespace {

class SimSnapshotTest : public ::testing::Test {
  protected:
    void SetUp() override { sim::ResetMachine(); }
};

TEST_F(SimSnapshotTest, TheSameMachineIsEqualAndEachChangeShowsInItsArea) {
    EXPECT_EQ(sim::TakeSnapshot(), sim::TakeSnapshot());
    const struct {
        const char* what;
        void (*change)();
        bool files, spooler, services, registry;
    } changes[] = {
        {"file", [] { sim::PutFile(u"C:\\a.txt", "a"); }, true, false, false, false},
        {"file bytes", [] { sim::PutFile(u"C:\\Windows\\System32\\spoolsv.exe", "x"); }, true,
         false, false, false},
        {"security",
         [] {
             SetNamedSecurityInfoW(u"C:\\Windows\\Temp", FileDacl{true, {}});
         },
         true, false, false, false},
        {"port",
         [] {
             sim::AddPort({u"P:", u"Local Port", u"", 0});
         },
         false, true, false, false},
        {"service",
         [] {
             sim::AddService({u"S", u"S", ServiceAllAccess, 0x10, 3, 1, u"C:\\s.exe"});
         },
         false, false, true, false},
        {"registry", [] { sim::SetRegistryString("Software\\Vq", "v", "1"); }, false, false, false,
         true},
    };
    for (const auto& c : changes) {
        sim::ResetMachine();
        sim::SimSnapshot before = sim::TakeSnapshot();
        c.change();
        sim::SimSnapshot after = sim::TakeSnapshot();
        EXPECT_EQ(before.files != after.files, c.files) << c.what;
        EXPECT_EQ(before.spooler != after.spooler, c.spooler) << c.what;
        EXPECT_EQ(before.services != after.services, c.services) << c.what;
        EXPECT_EQ(before.registry != after.registry, c.registry) << c.what;
    }
}

TEST_F(SimSnapshotTest, ThePrintoutNamesWhatEachAreaHolds) {
    sim::PutFile(u"C:\\Setup\\config.xml", "<Printers/>");
    sim::SetRegistryString("Software\\Vq", "Name", "value");
    std::string text = ::testing::PrintToString(sim::TakeSnapshot());
    for (const char* line :
         {"\n  file C:\\Setup\\\n", "\n  file C:\\Setup\\config.xml \"<Printers/>\"",
          "\n  port \"LPT1:\" monitor \"Local Port\"", "\n  default printer \"\"",
          "\n  service \"Spooler\" display \"Print Spooler\"", "\n  key software\\vq",
          "\n    name = \"value\""})
        EXPECT_NE(text.find(line), std::string::npos) << line << " not in\n" << text;
}

TEST_F(SimSnapshotTest, TheDifferenceListsOnlyTheLinesThatDiffer) {
    sim::PutFile(u"C:\\a.txt", "a");
    sim::SimSnapshot expected = sim::TakeSnapshot();
    EXPECT_EQ(sim::DescribeDifference(expected, expected), "");
    sim::PutFile(u"C:\\a.txt", "b");
    sim::SetRegistryString("Software\\Vq", "v", "1");
    EXPECT_EQ(sim::DescribeDifference(expected, sim::TakeSnapshot()),
              "-   file C:\\a.txt \"a\"\n"
              "+   file C:\\a.txt \"b\"\n"
              "+   key software\n"
              "+   key software\\vq\n"
              "+     v = \"1\"\n");
}

} // namespace
