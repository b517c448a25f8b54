// Everything Setup does to the machine: driver files, driver and print
// queue, their removal, and the status service's registration. The wizard's
// frame owns one engine for the whole run and forwards its engine slots to
// it; results are those the pages read from the slots.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "platform/Error.h"
#include "wizard/PrinterCatalogue.h"

class CInstallEngine {
  public:
    // The catalogue outlives the engine; the architecture is the machine's
    // native processor architecture.
    CInstallEngine(const PrinterCatalogue& catalogue, std::uint16_t processorArchitecture);

    // -2: a queue of the model's name exists; -1: not installed (the kept
    // error code says why, 0 for a model missing from the catalogue);
    // 0: driver registered and queue created.
    int InstallPrinter(std::u16string modelName, std::u16string portName);
    // -1: failure, 0: queue and driver removed.
    int RemovePrinter(std::u16string modelName);
    // The system error code kept by the last InstallPrinter or RemovePrinter.
    int GetErrorCode() const;
    // 1 when a queue of that name can be opened with full access, else 0.
    int PrinterExists(std::u16string_view printerName);
    // Copies the model's status service program into the installation
    // folder, which it protects; true when the program is there afterwards.
    // The third argument is not read.
    bool StageFiles(std::u16string modelName, std::u16string installFolder, int unused);
    // Registers (if new) and starts the model's status service; true when
    // the service is registered and the start was accepted.
    bool InstallStatusService(std::u16string modelName);
    // Stops and deletes the model's status service; true when it was deleted.
    bool RemoveStatusService(std::u16string modelName);
    // Asks the spooler to make the queue the default printer; true when it did.
    bool SetDefaultPrinter(std::u16string printerName);

    // Copies a file into a folder under its own name; true when the
    // destination exists afterwards.
    bool CopyFileIntoFolder(std::u16string sourcePath, std::u16string folder);
    // Copies a file set's files into the driver directory; false at the
    // first file missing after its copy.
    bool PlaceDriverFiles(const PrinterFileSet& files, std::u16string_view driverDirectory);
    // Deletes from the root of the environment's driver directory what
    // PlaceDriverFiles put there; false when the directory is unknown.
    bool DeleteStagedDriverFiles(std::u16string_view environment, const PrinterFileSet& files);

    // Where StageFiles put the service program; empty when it could not.
    const std::u16string& ServiceProgramPath() const { return m_serviceProgramPath; }

  private:
    platform::Status CopyIntoFolder(std::u16string_view sourcePath, std::u16string_view folder);
    platform::Status PlaceFiles(const PrinterFileSet& files, std::u16string_view driverDirectory);
    platform::Status ProtectInstallFolder(std::u16string_view folder);
    platform::Status CheckFoundFolderIsOurs(std::u16string_view folder);
    // Failure with the error code kept, as every failing install and
    // removal step ends.
    int Fail(platform::WinError error);

    const PrinterCatalogue& m_catalogue;
    std::uint16_t m_processorArchitecture;
    platform::WinError m_lastError = platform::ErrorSuccess;
    std::u16string m_serviceProgramPath;
};
