// The operation page: install or uninstall.
#pragma once

#include "wizard/CPageDialog.h"

class COperationTypeDlg : public CPageDialog {
  public:
    COperationTypeDlg(platform::WindowHandle owner, ISetupDialog& setup);

    int CommitPage() override;
    void ApplyTexts() override;

  protected:
    bool OnInitDialog() override;
    void DoDataExchange(CDataExchange& exchange) override;

  private:
    int m_choice = 0; // the radio group from Install: 0 Install, 1 Uninstall
};
