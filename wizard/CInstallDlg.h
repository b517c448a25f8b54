// The model and port page: the model to install, the port for its queue and
// three options; its commit installs.
#pragma once

#include <string>
#include <vector>

#include "framework/CImageList.h"
#include "framework/Controls.h"
#include "wizard/CPageDialog.h"

class CInstallDlg : public CPageDialog {
  public:
    CInstallDlg(platform::WindowHandle owner, ISetupDialog& setup);

    int CommitPage() override;

  protected:
    bool OnInitDialog() override;
    bool OnCommand(std::uint16_t id, std::uint16_t code) override;
    bool OnNotify(const platform::NotifyHeader& header) override;
    void DoDataExchange(CDataExchange& exchange) override;

  private:
    void FillPortList();
    void Detect(const std::u16string& modelName);
    std::u16string ConnectPrompt();

    CImageList m_images;
    CListCtrl m_models;
    std::vector<std::u16string> m_ports;
    int m_virtualPort = 1;
    int m_statusMonitor = 1;
    int m_defaultPrinter = 0;
    std::u16string m_detectedPort;
    bool m_printerDetected = false;
    CComboBox m_portBox;
};
