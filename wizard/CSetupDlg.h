// The wizard frame: the run's data, one page on show in the page area, the
// navigation with Back, Next and Cancel, and the slots the pages reach.
#pragma once

#include <cstdint>
#include <memory>

#include "framework/CDialogEx.h"
#include "platform/System.h"
#include "platform/UserInterface.h"
#include "wizard/IInstallEngine.h"
#include "wizard/IPageDialog.h"
#include "wizard/ISetupDialog.h"

enum WizardPage : std::int32_t {
    PageOperation = 0,
    PageModel = 1,
    PageFolder = 2,
    PageRemoval = 3,
    PageComplete = 4,
};

class CSetupDlg : public CDialogEx, public ISetupDialog {
  public:
    explicit CSetupDlg(EngineFactory makeEngine);
    ~CSetupDlg() override;

    void ShowPage(WizardPage index);
    void OnNext();
    void OnBack();
    void ComputePageArea();
    // The first model of the catalogue with exactly this name, or nullptr.
    const PrinterModel* FindPrinterModel(std::u16string_view modelName) const;

    void SetOperationType(int operationType) override;
    int GetOperationType() override;
    void SetResult(int flag, const char16_t* message) override;
    void GetResult(int& flag, char16_t (&message)[ResultMessageChars]) override;
    std::u16string LoadText(TextId id) override;
    void GetText(TextId id, std::u16string& text) override;
    const PrinterCatalogue& GetCatalogue() override;
    int InstallPrinter(std::u16string modelName, std::u16string portName) override;
    int RemovePrinter(std::u16string printerName) override;
    int GetErrorCode() override;
    int PrinterExists(std::u16string printerName) override;
    int StageFiles(std::u16string modelName, std::u16string installFolder, int unused) override;
    int InstallStatusService(std::u16string modelName) override;
    int RemoveStatusService(std::u16string modelName) override;
    int SetDefaultPrinter(std::u16string printerName) override;

    WizardPage PageIndex() const { return m_pageIndex; }
    const platform::Rect& PageArea() const { return m_pageArea; }
    UiLanguage Language() const { return m_language; }
    platform::SystemInfo SystemInfo() const { return m_systemInfo; }

  protected:
    // InitFrame.
    bool OnInitDialog() override;
    bool OnCommand(std::uint16_t id, std::uint16_t code) override;
    bool OnPaint() override;
    platform::IconHandle OnQueryDragIcon() override;
    void OnOK() override;
    // Constructs the page object of the index; overridable for tests.
    virtual IPageDialog* NewPage(WizardPage index);

  private:
    // The frame's client rectangle and the Cancel button's, in screen coordinates.
    bool Measure(platform::Rect& client, platform::Rect& cancel) const;

    IPageDialog* m_currentPage = nullptr;
    platform::SystemInfo m_systemInfo;
    std::int32_t m_operationType = 0;
    char16_t m_resultMessage[ResultMessageChars] = {};
    std::int32_t m_resultFlag = 0;
    PrinterCatalogue m_catalogue;
    platform::Rect m_pageArea;
    WizardPage m_pageIndex = PageOperation;
    UiLanguage m_language = UiLanguage::None;
    platform::IconHandle m_icon = nullptr;
    EngineFactory m_makeEngine;
    std::unique_ptr<IInstallEngine> m_engine; // made at initialisation
};
