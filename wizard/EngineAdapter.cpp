#include "wizard/EngineAdapter.h"

#include "engine/InstallEngine.h"

namespace {

// The engine's own results pass through; the pages read none of the
// booleans but StageFiles' and the service calls' are kept as 1 or 0.
class CEngineAdapter final : public IInstallEngine {
  public:
    CEngineAdapter(const PrinterCatalogue& catalogue, std::uint16_t processorArchitecture)
        : m_engine(catalogue, processorArchitecture) {}

    int InstallPrinter(std::u16string modelName, std::u16string portName) override {
        return m_engine.InstallPrinter(std::move(modelName), std::move(portName));
    }
    int RemovePrinter(std::u16string printerName) override {
        return m_engine.RemovePrinter(std::move(printerName));
    }
    int GetErrorCode() override { return m_engine.GetErrorCode(); }
    int PrinterExists(std::u16string printerName) override {
        return m_engine.PrinterExists(printerName);
    }
    int StageFiles(std::u16string modelName, std::u16string installFolder, int unused) override {
        return m_engine.StageFiles(std::move(modelName), std::move(installFolder), unused) ? 1 : 0;
    }
    int InstallStatusService(std::u16string modelName) override {
        return m_engine.InstallStatusService(std::move(modelName)) ? 1 : 0;
    }
    int RemoveStatusService(std::u16string modelName) override {
        return m_engine.RemoveStatusService(std::move(modelName)) ? 1 : 0;
    }
    int SetDefaultPrinter(std::u16string printerName) override {
        return m_engine.SetDefaultPrinter(std::move(printerName)) ? 1 : 0;
    }

  private:
    CInstallEngine m_engine;
};

} // namespace

std::unique_ptr<IInstallEngine> MakeInstallEngine(const PrinterCatalogue& catalogue,
                                                  std::uint16_t processorArchitecture) {
    return std::make_unique<CEngineAdapter>(catalogue, processorArchitecture);
}
