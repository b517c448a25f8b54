// Drives the installation engine on a real (Wine) machine from a copy of
// the sample medium, this program standing where Setup stands, and checks
// each step with the real API. "install" stages, registers and installs;
// "remove" takes it all off again. Prints one line per check and exits
// with the number of failed checks.
#include <cstdio>
#include <string>
#include <string_view>
#include <vector>

#include "engine/InstallEngine.h"
#include "platform/Files.h"
#include "platform/Security.h"
#include "platform/Services.h"
#include "platform/Spooler.h"
#include "platform/System.h"

namespace {

using namespace platform;

constexpr char16_t Model[] = u"Varnoquill";
constexpr char16_t ServiceName[] = u"Varnoquill_StatusMonitor";
constexpr char16_t InstallFolder[] = u"C:\\Varnoquill_Printer";
constexpr char16_t Program[] = u"C:\\Varnoquill_Printer\\Varnoquill_Statuskeeper.exe";
constexpr char16_t Port[] = u"LPT1:";

// The model's own files, which removal deletes, and those it leaves.
const std::vector<std::u16string> OwnFiles{u"vq.gpd", u"vq_res.dll"};
const std::vector<std::u16string> KeptFiles{u"vq_drv.dll", u"vq_ui.dll", u"vq.hlp", u"UNIRES.DLL",
                                            u"STDNAMES.GPD"};

int g_failures = 0;

std::string Narrow(std::u16string_view text) {
    std::string out;
    for (char16_t c : text)
        out += c < 0x80 ? static_cast<char>(c) : '?';
    return out;
}

void Check(bool ok, const std::string& what) {
    std::printf("%s: %s\n", ok ? "ok" : "FAIL", what.c_str());
    std::fflush(stdout);
    if (!ok)
        ++g_failures;
}

std::u16string SetupFolder() {
    std::u16string self = GetModuleFileNameW().value;
    return self.substr(0, self.find_last_of(u'\\'));
}

// The medium's config.xml, built here as the catalogue loader would read it.
PrinterCatalogue Catalogue() {
    const std::u16string root = SetupFolder() + u"\\drivers\\";
    PrinterModel model;
    model.name = Model;
    for (auto [set, arch] :
         {std::pair{&PrinterModel::i386, u"i386\\"}, std::pair{&PrinterModel::amd64, u"amd64\\"},
          std::pair{&PrinterModel::ia64, u"ia64\\"}}) {
        PrinterFileSet& files = model.*set;
        const std::u16string folder = root + arch;
        files.Driver = folder + u"vq_drv.dll";
        files.Data = folder + u"vq.gpd";
        files.Config = folder + u"vq_ui.dll";
        files.Help = folder + u"vq.hlp";
        files.DependsFile = {folder + u"UNIRES.DLL", folder + u"STDNAMES.GPD",
                             folder + u"vq_res.dll"};
        files.Paper = {u"A4", u"Letter"};
    }
    return {model};
}

std::u16string VersionFolder() {
    return GetPrinterDriverDirectoryW(u"Windows x64").value + u"\\3\\";
}

std::u16string DriverRoot() {
    return GetPrinterDriverDirectoryW(u"Windows x64").value + u"\\";
}

std::uint32_t AwaitServiceState(const ScHandle& service, std::uint32_t wanted) {
    std::uint32_t state = 0;
    for (int poll = 0; poll < 150 && state != wanted; ++poll) {
        auto status = QueryServiceStatus(service);
        state = status ? status.value.currentState : 0;
        if (state != wanted)
            Sleep(200);
    }
    return state;
}

void Install(CInstallEngine& engine) {
    Check(engine.StageFiles(Model, InstallFolder, 1), "StageFiles puts the program in place");
    Check(engine.ServiceProgramPath() == Program, "the program's path is kept");
    // Wine accepts the folder's protected list but reads back one made from
    // the host's mode bits; Windows reads back what was set.
    auto dacl = GetNamedSecurityInfoW(InstallFolder);
    Check(dacl.Ok(), "the folder's security reads back, protected: " +
                         std::string(dacl.value.isProtected ? "yes" : "no (Wine)"));
    Check(engine.InstallStatusService(Model), "InstallStatusService registers and starts");

    auto manager = OpenSCManagerW(ScManagerAllAccess);
    auto service = OpenServiceW(manager.value, ServiceName, ServiceAllAccess);
    Check(service.Ok(), "the service is registered under the model's name");
    if (service) {
        auto config = QueryServiceConfigW(service.value);
        Check(config && config.value.binaryPathName == u"\"" + std::u16string(Program) + u"\"",
              "its program path is quoted: " + Narrow(config.value.binaryPathName));
        Check(config.value.serviceType == ServiceWin32OwnProcess, "it runs as its own process");
        Check(config.value.startType == ServiceAutoStart, "it starts automatically");
        Check(config.value.displayName == ServiceName, "its display name is its name");
        Check(AwaitServiceState(service.value, ServiceRunning) == ServiceRunning,
              "it reports RUNNING");
    }

    Check(engine.InstallPrinter(Model, Port) == 0,
          "InstallPrinter answers 0, code " + std::to_string(engine.GetErrorCode()));
    for (const std::u16string& name : OwnFiles)
        Check(PathFileExistsW(VersionFolder() + name), "version folder holds " + Narrow(name));
    for (const std::u16string& name : KeptFiles) {
        Check(PathFileExistsW(VersionFolder() + name), "version folder holds " + Narrow(name));
        Check(!PathFileExistsW(DriverRoot() + name), "no staged " + Narrow(name) + " in the root");
    }
    const PrinterDefaults all{u"", PrinterAllAccess};
    auto queue = OpenPrinterW(Model, &all);
    Check(queue.Ok(), "the queue opens with full access");
    if (queue) {
        auto info = GetPrinterW(queue.value);
        Check(info.value.portName == Port, "the queue is on " + Narrow(Port));
        Check(info.value.driverName == Model, "the queue uses the model's driver");
        Check(info.value.printProcessor == u"WinPrint",
              "print processor " + Narrow(info.value.printProcessor));
        Check(info.value.datatype == u"RAW", "data type " + Narrow(info.value.datatype));
        Check((info.value.attributes & 0x40) != 0, "the local attribute");
        Check(info.value.priority == 1, "priority 1");
    }
    Check(engine.PrinterExists(Model) == 1, "PrinterExists answers 1");
    Check(engine.SetDefaultPrinter(Model), "SetDefaultPrinter succeeds");
    Check(engine.InstallPrinter(Model, Port) == -2, "a second InstallPrinter answers -2");
    Check(engine.GetErrorCode() == 0, "and keeps no error code");
}

void Remove(CInstallEngine& engine) {
    Check(engine.RemovePrinter(Model) == 0,
          "RemovePrinter answers 0, code " + std::to_string(engine.GetErrorCode()));
    Check(engine.PrinterExists(Model) == 0, "the queue is gone");
    Check(DeletePrinterDriverW(u"Windows x64", Model).error != ErrorSuccess, "the driver is gone");
    for (const std::u16string& name : OwnFiles)
        Check(!PathFileExistsW(VersionFolder() + name), Narrow(name) + " is deleted");
    for (const std::u16string& name : KeptFiles)
        Check(PathFileExistsW(VersionFolder() + name), Narrow(name) + " stays");
    Check(engine.RemoveStatusService(Model), "RemoveStatusService deletes the service");
    auto manager = OpenSCManagerW(ScManagerAllAccess);
    std::uint32_t error = 0;
    for (int poll = 0; poll < 100; ++poll, Sleep(200)) {
        error = OpenServiceW(manager.value, ServiceName, ServiceQueryStatus).error;
        if (error == ErrorServiceDoesNotExist)
            break;
    }
    Check(error == ErrorServiceDoesNotExist, "the service is no longer registered");
    Check(PathFileExistsW(Program), "the program stays in the installation folder");
}

} // namespace

int main(int argc, char** argv) {
    std::string phase = argc > 1 ? argv[1] : "";
    PrinterCatalogue catalogue = Catalogue();
    CInstallEngine engine(catalogue, GetNativeSystemInfo().processorArchitecture);
    if (phase == "install")
        Install(engine);
    else if (phase == "remove")
        Remove(engine);
    else {
        std::printf("usage: vq_engine_wine_check install|remove\n");
        return 2;
    }
    return g_failures;
}
