// The wizard on the simulated desktop and machine: a medium with
// config.xml beside C:\Setup\Setup.exe, an engine that records the frame's
// calls, and Setup started on its own simulated thread so that a test can
// click through it and look between the clicks.
#pragma once

#include <gtest/gtest.h>

#include <optional>
#include <set>
#include <string>
#include <vector>

#include "platform/Files.h"
#include "platform/sim/SimDesktop.h"
#include "platform/sim/SimFiles.h"
#include "platform/sim/SimMachine.h"
#include "platform/sim/SimSystem.h"
#include "platform/sim/SimThreads.h"
#include "resources/ResourceIds.h"
#include "wizard/CSetupApp.h"
#include "wizard/IInstallEngine.h"
#include "wizard/TextTables.h"

namespace wizardtest {

namespace sim = platform::sim;

constexpr std::uint32_t LocaleJapanese = 0x0411;
constexpr std::uint32_t LocaleEnglish = 0x0409;
constexpr std::uint32_t LocaleChinese = 0x0804;

inline std::string Narrow(std::u16string_view text) {
    std::string out;
    for (char16_t c : text)
        out += c < 0x80 ? static_cast<char>(c) : '?';
    return out;
}

// Records every engine call in order and answers as the test set it up.
class CRecordingEngine : public IInstallEngine {
  public:
    std::uint16_t architecture = 0xFFFF;
    std::size_t catalogueSize = 0;
    std::vector<std::string> calls;
    int installResult = 0;
    int removeResult = 0;
    int errorCode = 0;
    std::set<std::u16string> queues;

    int InstallPrinter(std::u16string model, std::u16string port) override {
        calls.push_back("InstallPrinter(" + Narrow(model) + "," + Narrow(port) + ")");
        return installResult;
    }
    int RemovePrinter(std::u16string name) override {
        calls.push_back("RemovePrinter(" + Narrow(name) + ")");
        return removeResult;
    }
    int GetErrorCode() override { return errorCode; }
    int PrinterExists(std::u16string name) override {
        calls.push_back("PrinterExists(" + Narrow(name) + ")");
        return queues.count(name) ? 1 : 0;
    }
    int StageFiles(std::u16string model, std::u16string folder, int flag) override {
        calls.push_back("StageFiles(" + Narrow(model) + "," + Narrow(folder) + "," +
                        std::to_string(flag) + ")");
        return 1;
    }
    int InstallStatusService(std::u16string model) override {
        calls.push_back("InstallStatusService(" + Narrow(model) + ")");
        return 1;
    }
    int RemoveStatusService(std::u16string model) override {
        calls.push_back("RemoveStatusService(" + Narrow(model) + ")");
        return 1;
    }
    int SetDefaultPrinter(std::u16string name) override {
        calls.push_back("SetDefaultPrinter(" + Narrow(name) + ")");
        return 1;
    }
};

// The frame owns its engine; this one hands the calls to the test's.
class CForwardingEngine : public IInstallEngine {
  public:
    explicit CForwardingEngine(IInstallEngine& to) : m_to(to) {}
    int InstallPrinter(std::u16string model, std::u16string port) override {
        return m_to.InstallPrinter(model, port);
    }
    int RemovePrinter(std::u16string name) override { return m_to.RemovePrinter(name); }
    int GetErrorCode() override { return m_to.GetErrorCode(); }
    int PrinterExists(std::u16string name) override { return m_to.PrinterExists(name); }
    int StageFiles(std::u16string model, std::u16string folder, int flag) override {
        return m_to.StageFiles(model, folder, flag);
    }
    int InstallStatusService(std::u16string model) override {
        return m_to.InstallStatusService(model);
    }
    int RemoveStatusService(std::u16string model) override {
        return m_to.RemoveStatusService(model);
    }
    int SetDefaultPrinter(std::u16string name) override { return m_to.SetDefaultPrinter(name); }

  private:
    IInstallEngine& m_to;
};

class WizardTest : public ::testing::Test {
  protected:
    void SetUp() override {
        sim::ResetMachine();
        Medium({"VQ-10000000", "VQ-20000000", "VQ-30000000"});
    }
    void TearDown() override { sim::ResetMachine(); }

    // config.xml with these models, each with its driver file on the medium.
    static void Medium(const std::vector<std::string>& models) {
        std::string xml = "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n<Printers>\n";
        for (const std::string& model : models)
            xml += "  <Printer name=\"" + model +
                   "\"><amd64><Driver>amd64\\drv.dll</Driver></amd64></Printer>\n";
        xml += "</Printers>\n";
        sim::PutFile(u"C:\\Setup\\config.xml", xml);
        sim::PutFile(u"C:\\Setup\\amd64\\drv.dll", "driver");
    }

    // Setup from start to end on its own thread; returns once it waits for
    // the person or has ended.
    void Start(std::uint32_t locale = LocaleEnglish) {
        sim::SetUserDefaultLcid(locale);
        sim::SpawnThread([this] {
            CSetupApp app([this](const PrinterCatalogue& catalogue, std::uint16_t architecture) {
                engine.architecture = architecture;
                engine.catalogueSize = catalogue.size();
                return std::unique_ptr<IInstallEngine>(new CForwardingEngine(engine));
            });
            exitCode = app.Run();
        });
        sim::Settle();
    }
    bool Ended() const { return exitCode.has_value(); }

    static std::u16string Title() {
        auto active = sim::ActiveDialog();
        return active ? sim::Snapshot(*active).text : u"<no window>";
    }
    static std::u16string Caption(std::int32_t id) {
        auto control = sim::FindControl(id);
        return control ? control->text : u"<no control>";
    }
    static bool Enabled(std::int32_t id) {
        auto control = sim::FindControl(id);
        return control && control->enabled;
    }
    // The template of the page on show; 0 for none.
    static std::uint16_t PageTemplate() {
        auto page = sim::ShownChildDialog();
        return page ? page->templateId : 0;
    }
    static bool Checked(std::int32_t id) {
        auto control = sim::FindControl(id);
        return control && control->check == platform::BstChecked;
    }

    // From the operation page to the model page with the default folder.
    void ToModelPage() {
        sim::Click(IdcNext);
        sim::Click(IdcNext);
        ASSERT_EQ(PageTemplate(), IddModelPage);
    }

    CRecordingEngine engine;
    std::optional<int> exitCode;
};

} // namespace wizardtest
