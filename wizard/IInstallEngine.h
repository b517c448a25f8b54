// The installation engine as the frame calls it: the frame's engine slots
// hand their calls on unchanged.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "wizard/PrinterCatalogue.h"

class IInstallEngine {
  public:
    virtual ~IInstallEngine() = default;

    virtual int InstallPrinter(std::u16string modelName, std::u16string portName) = 0;
    virtual int RemovePrinter(std::u16string printerName) = 0;
    virtual int GetErrorCode() = 0;
    virtual int PrinterExists(std::u16string printerName) = 0;
    virtual int StageFiles(std::u16string modelName, std::u16string installFolder, int unused) = 0;
    virtual int InstallStatusService(std::u16string modelName) = 0;
    virtual int RemoveStatusService(std::u16string modelName) = 0;
    virtual int SetDefaultPrinter(std::u16string printerName) = 0;
};

// Makes the run's engine once the frame has loaded the catalogue (which
// outlives the engine) and knows the machine's native processor architecture.
using EngineFactory = std::function<std::unique_ptr<IInstallEngine>(
    const PrinterCatalogue& catalogue, std::uint16_t processorArchitecture)>;
