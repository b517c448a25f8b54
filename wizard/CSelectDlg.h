// The folder page: the installation folder for the status service program,
// chosen with the shell's folder browser.
#pragma once

#include "framework/Controls.h"
#include "wizard/CPageDialog.h"

class CSelectDlg : public CPageDialog {
  public:
    CSelectDlg(platform::WindowHandle owner, ISetupDialog& setup);

    int CommitPage() override;

  protected:
    bool OnInitDialog() override;
    bool OnCommand(std::uint16_t id, std::uint16_t code) override;
    void DoDataExchange(CDataExchange& exchange) override;

  private:
    void BrowseFolder();

    CEdit m_folder;
};
