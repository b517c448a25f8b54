// A simulated machine with an installation medium in C:\Setup (the program,
// each architecture's driver files and service program) and a catalogue of
// two models built from it, for the engine's tests.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine/InstallEngine.h"
#include "platform/sim/SimFaults.h"
#include "platform/sim/SimFiles.h"
#include "platform/sim/SimMachine.h"
#include "platform/sim/SimServices.h"
#include "platform/sim/SimSnapshot.h"
#include "platform/sim/SimSpooler.h"
#include "platform/sim/SimSystem.h"
#include "platform/sim/SimUnicode.h"

namespace engine::testing {

namespace sim = platform::sim;

inline constexpr char16_t Model[] = u"Varnoquill";
inline constexpr char16_t OtherModel[] = u"Varnoquill Duo";
inline constexpr char16_t Port[] = u"LPT1:";
inline constexpr char16_t InstallFolder[] = u"C:\\Varnoquill_Printer";
inline constexpr char16_t ServiceName[] = u"Varnoquill_StatusMonitor";
inline const std::u16string X64Drivers = u"C:\\Windows\\System32\\spool\\drivers\\x64\\";

// The medium's file names of one model, Driver first; the bytes of each
// file name the model, architecture and file, so copies can be told apart.
struct MediumFiles {
    std::u16string driver = u"vq_drv.dll";
    std::u16string data = u"vq.gpd";
    std::u16string config = u"vq_ui.dll";
    std::u16string help = u"vq.hlp";
    std::vector<std::u16string> depends{u"UNIRES.DLL", u"STDNAMES.GPD", u"vq_res.dll"};
};

inline std::string Utf8(std::u16string_view text) {
    return sim::ToUtf8(text);
}

inline std::string Bytes(std::u16string_view folder, std::u16string_view name) {
    return Utf8(folder) + "/" + Utf8(name);
}

// Files are placed on the medium and named in the file set.
inline PrinterFileSet SeedFileSet(std::u16string_view setupFolder, std::u16string_view arch,
                                  const MediumFiles& names = {}) {
    std::u16string folder = std::u16string(setupFolder) + u"\\" + std::u16string(arch) + u"\\";
    auto put = [&](const std::u16string& name) {
        sim::PutFile(folder + name, Bytes(arch, name));
        return folder + name;
    };
    PrinterFileSet set;
    set.Driver = put(names.driver);
    set.Data = put(names.data);
    set.Config = put(names.config);
    set.Help = put(names.help);
    for (const std::u16string& name : names.depends)
        set.DependsFile.push_back(put(name));
    set.Paper = {u"A4", u"Letter"};
    return set;
}

inline PrinterModel SeedModel(std::u16string_view name,
                              std::u16string_view setupFolder = u"C:\\Setup",
                              const MediumFiles& names = {}) {
    PrinterModel model;
    model.name = name;
    model.i386 = SeedFileSet(setupFolder, u"i386", names);
    model.amd64 = SeedFileSet(setupFolder, u"amd64", names);
    model.ia64 = SeedFileSet(setupFolder, u"ia64", names);
    for (std::u16string_view arch : {u"i386", u"amd64", u"ia64"})
        sim::PutFile(std::u16string(setupFolder) + u"\\" + std::u16string(arch) + u"\\" +
                         std::u16string(name) + u"_Statuskeeper.exe",
                     "service " + Utf8(arch));
    return model;
}

// The driver record InstallPrinter registers for the medium's model on x64.
inline platform::DriverInfo3 ExpectedDriver() {
    platform::DriverInfo3 driver;
    driver.version = 3;
    driver.name = Model;
    driver.environment = u"Windows x64";
    driver.driverPath = X64Drivers + u"vq_drv.dll";
    driver.dataFile = X64Drivers + u"vq.gpd";
    driver.configFile = X64Drivers + u"vq_ui.dll";
    driver.helpFile = X64Drivers + u"vq.hlp";
    driver.dependentFiles = {u"vq_drv.dll", u"vq.gpd",       u"vq_ui.dll", u"vq.hlp",
                             u"UNIRES.DLL", u"STDNAMES.GPD", u"vq_res.dll"};
    driver.defaultDataType = u"RAW";
    return driver;
}

// The queue record InstallPrinter creates on Port.
inline platform::PrinterInfo2 ExpectedQueue() {
    platform::PrinterInfo2 queue;
    queue.printerName = Model;
    queue.portName = Port;
    queue.driverName = Model;
    queue.printProcessor = u"WinPrint";
    queue.datatype = u"RAW";
    queue.attributes = 0x40;
    queue.priority = 1;
    return queue;
}

inline const std::string VersionFolder = "C:\\Windows\\System32\\spool\\drivers\\x64\\3\\";

// The machine after a clean InstallPrinter of the model on x64: the driver
// and the queue, the spooler's copies in its version folder, nothing staged.
inline sim::SimSnapshot Installed(sim::SimSnapshot machine) {
    machine.files.files[VersionFolder] = "";
    MediumFiles names;
    std::vector<std::u16string> all{names.driver, names.data, names.config, names.help};
    all.insert(all.end(), names.depends.begin(), names.depends.end());
    for (const std::u16string& name : all)
        machine.files.files[VersionFolder + Utf8(name)] = Bytes(u"amd64", name);
    machine.spooler.queues = {ExpectedQueue()};
    machine.spooler.drivers[u"windows x64"] = {ExpectedDriver()};
    return machine;
}

// The machine after RemovePrinter of an installed model: the driver, config
// and help files and the shared files stay in the version folder.
inline sim::SimSnapshot Removed(sim::SimSnapshot before) {
    sim::SimSnapshot machine = Installed(before);
    machine.spooler = before.spooler;
    machine.files.files.erase(VersionFolder + "vq.gpd");
    machine.files.files.erase(VersionFolder + "vq_res.dll");
    return machine;
}

class EngineTest : public ::testing::Test {
  protected:
    void SetUp() override {
        sim::ResetMachine();
        sim::PutFile(u"C:\\Setup\\Setup.exe", "setup");
        m_catalogue = {SeedModel(Model), SeedModel(OtherModel)};
    }
    void TearDown() override { sim::ClearFaults(); }

    CInstallEngine& Engine() { return m_engine; }
    const PrinterFileSet& X64Files() const { return m_catalogue[0].amd64; }

    // The traces of the debugger output channel since the last call.
    static std::vector<std::string> TakeTraces() {
        std::vector<std::string> traces = sim::DebugOutput();
        sim::ClearOutput();
        return traces;
    }

    PrinterCatalogue m_catalogue;
    CInstallEngine m_engine{m_catalogue, 9};
};

inline std::vector<std::string> Traces(std::initializer_list<int> codes) {
    std::vector<std::string> lines;
    for (int code : codes)
        lines.push_back("GetLastError: " + std::to_string(code) + "\r\n");
    return lines;
}

// Table rows are named by their `name` field.
struct RowName {
    template <class Row> std::string operator()(const ::testing::TestParamInfo<Row>& row) const {
        return row.param.name;
    }
};

// Rows print as their names; each test file's own namespace takes this in
// with a using-declaration, where GoogleTest looks for it.
template <class Row>
requires requires(const Row& row) {
    std::string(row.name);
}
void PrintTo(const Row& row, std::ostream* out) {
    *out << row.name;
}

// The whole machine compared; a failure lists the lines that differ.
inline void ExpectMachine(const sim::SimSnapshot& actual, const sim::SimSnapshot& expected) {
    EXPECT_TRUE(actual == expected) << "the machine differs from what was expected:\n"
                                    << sim::DescribeDifference(expected, actual);
}

} // namespace engine::testing
