// The model's driver registered with the spooler and its print queue created
// on a port, the existence test for a queue, and the default printer.
#include "engine/ArchitectureTable.h"
#include "engine/EnginePaths.h"
#include "engine/InstallEngine.h"
#include "platform/Spooler.h"

using namespace platform;

namespace {

// The local port monitor's object: whoever may open it may administer the
// print server.
constexpr std::u16string_view LocalPortMonitor = u",XcvMonitor Local Port";
constexpr std::uint32_t ServerAccessAdminister = 0x1;

// The spooler's fixed buffers, terminator included.
constexpr std::size_t PortNameBuffer = 100;
constexpr std::size_t DependentFilesBuffer = 1024;

// Driver, Data, Config and Help, then the DependsFile entries: file names
// only. An entry the catalogue lacks is left out: an empty name would end
// the list there and drop every name after it.
std::vector<std::u16string> DependentFiles(const PrinterFileSet& files) {
    std::vector<std::u16string> names;
    for (const std::u16string* entry : {&files.Driver, &files.Data, &files.Config, &files.Help})
        if (!entry->empty())
            names.emplace_back(FileNamePart(*entry));
    for (const std::u16string& depends : files.DependsFile)
        if (!depends.empty())
            names.emplace_back(FileNamePart(depends));
    return names;
}

// A file of the driver directory, or none for an entry the catalogue lacks.
std::u16string InDirectory(std::u16string_view root, std::u16string_view entry) {
    return entry.empty() ? std::u16string()
                         : std::u16string(root) + std::u16string(FileNamePart(entry));
}

// Each name and its terminator, and the list's own terminator.
bool FitsDependentFilesBuffer(const std::vector<std::u16string>& names) {
    std::size_t units = 1;
    for (const std::u16string& name : names)
        units += name.size() + 1;
    return units <= DependentFilesBuffer;
}

// Every file the driver registration names, in the driver directory.
bool DriverPathsFit(const std::vector<std::u16string>& names, std::u16string_view directory) {
    std::u16string root = WithBackslash(directory);
    for (const std::u16string& name : names)
        if (!FitsPathBuffer(root + name))
            return false;
    return true;
}

DriverInfo3 DriverRecord(std::u16string_view modelName, std::u16string_view environment,
                         std::u16string_view directory, const PrinterFileSet& files) {
    std::u16string root = WithBackslash(directory);
    DriverInfo3 driver;
    driver.version = 3;
    driver.name = modelName;
    driver.environment = environment;
    driver.driverPath = InDirectory(root, files.Driver);
    driver.dataFile = InDirectory(root, files.Data);
    driver.configFile = InDirectory(root, files.Config);
    driver.helpFile = InDirectory(root, files.Help);
    driver.dependentFiles = DependentFiles(files);
    driver.defaultDataType = u"RAW";
    return driver;
}

PrinterInfo2 QueueRecord(std::u16string_view modelName, std::u16string_view portName) {
    PrinterInfo2 queue;
    queue.printerName = modelName;
    queue.portName = portName;
    queue.driverName = modelName;
    queue.printProcessor = u"WinPrint";
    queue.datatype = u"RAW";
    queue.attributes = 0x40; // PRINTER_ATTRIBUTE_LOCAL
    queue.priority = 1;
    return queue;
}

} // namespace

int CInstallEngine::PrinterExists(std::u16string_view printerName) {
    const PrinterDefaults all{u"", PrinterAllAccess};
    Outcome<PrinterHandle> queue = OpenPrinterW(printerName, &all);
    // The handle closes here; whether closing worked does not change the answer.
    return queue ? 1 : 0;
}

bool CInstallEngine::SetDefaultPrinter(std::u16string printerName) {
    return SetDefaultPrinterByOrdinal(printerName).Ok();
}

int CInstallEngine::InstallPrinter(std::u16string modelName, std::u16string portName) {
    m_lastError = ErrorSuccess;
    if (PrinterExists(modelName))
        return -2;
    const PrinterModel* model = FindPrinterModel(m_catalogue, modelName);
    if (!model)
        return -1;
    const ArchitectureEntry& architecture = ArchitectureFor(m_processorArchitecture);
    const PrinterFileSet& files = model->*architecture.fileSet;

    // Inputs the spooler's buffers cannot hold are refused before anything changes.
    if (portName.size() >= PortNameBuffer)
        return Fail(ErrorInvalidParameter);
    std::vector<std::u16string> names = DependentFiles(files);
    if (!FitsDependentFilesBuffer(names))
        return Fail(ErrorInsufficientBuffer);

    Outcome<std::u16string> directory = GetPrinterDriverDirectoryW(architecture.environment);
    if (!directory)
        return Fail(directory.error);
    if (!DriverPathsFit(names, directory.value))
        return Fail(ErrorFilenameExcedRange);
    // Copies made before a failed one stay in the driver directory.
    if (Status placed = PlaceFiles(files, directory.value); !placed)
        return Fail(placed.error);

    auto cleanUp = [&](WinError error) {
        m_lastError = error;
        // Its result tells only whether the directory was known; nothing follows from it.
        (void)DeleteStagedDriverFiles(architecture.environment, files);
        return -1;
    };

    const PrinterDefaults administer{u"", ServerAccessAdminister};
    if (Outcome<PrinterHandle> monitor = OpenPrinterW(LocalPortMonitor, &administer); !monitor)
        return cleanUp(monitor.error);
    // The monitor's handle was only a test of the right and is closed at once.

    Outcome<std::u16string> again = GetPrinterDriverDirectoryW(architecture.environment);
    if (!again)
        return cleanUp(again.error);
    if (!DriverPathsFit(names, again.value))
        return cleanUp(ErrorFilenameExcedRange);
    if (Status added = AddPrinterDriverW(
            DriverRecord(modelName, architecture.environment, again.value, files));
        !added)
        return cleanUp(added.error);
    Outcome<PrinterHandle> queue = AddPrinterW(QueueRecord(modelName, portName));
    if (!queue)
        return cleanUp(queue.error);
    // The new queue's handle is not needed; a failed close leaves the queue as it is.
    queue.value.Reset();
    (void)DeleteStagedDriverFiles(architecture.environment, files);
    return 0;
}
