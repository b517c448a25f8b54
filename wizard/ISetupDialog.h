// What the frame offers every page: the run's data, the texts, the
// catalogue and the installation engine.
#pragma once

#include <cstddef>
#include <string>

#include "wizard/PrinterCatalogue.h"
#include "wizard/TextTables.h"

constexpr std::size_t InstallFolderChars = 260; // with the terminator
constexpr std::size_t ResultMessageChars = 200; // with the terminator

class ISetupDialog {
  public:
    // 0 = install, 1 = uninstall.
    virtual void SetOperationType(int operationType) = 0;
    virtual int GetOperationType() = 0;
    // The flag (1 = success) and a copy of the message, at most 199 characters.
    virtual void SetResult(int flag, const char16_t* message) = 0;
    virtual void GetResult(int& flag, char16_t (&message)[ResultMessageChars]) = 0;
    // The text in the UI language; empty when there is none.
    virtual std::u16string LoadText(TextId id) = 0;
    // Assigns the text; leaves the string as it was when there is none.
    virtual void GetText(TextId id, std::u16string& text) = 0;
    virtual const PrinterCatalogue& GetCatalogue() = 0;
    // -2: the printer already exists; -1: failure; any other value: success.
    virtual int InstallPrinter(std::u16string modelName, std::u16string portName) = 0;
    // -1: failure; any other value: success.
    virtual int RemovePrinter(std::u16string printerName) = 0;
    // The system error code kept by the last InstallPrinter or RemovePrinter.
    virtual int GetErrorCode() = 0;
    // 1 when a print queue of that name can be opened, else 0.
    virtual int PrinterExists(std::u16string printerName) = 0;
    virtual int StageFiles(std::u16string modelName, std::u16string installFolder, int unused) = 0;
    virtual int InstallStatusService(std::u16string modelName) = 0;
    virtual int RemoveStatusService(std::u16string modelName) = 0;
    virtual int SetDefaultPrinter(std::u16string printerName) = 0;

    // Written by the folder page on commit, read by the model page.
    char16_t m_installFolder[InstallFolderChars] = {};

  protected:
    ~ISetupDialog() = default;
};
