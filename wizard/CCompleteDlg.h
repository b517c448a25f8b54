// The completion page: the outcome, with the error code when there is one.
#pragma once

#include "wizard/CPageDialog.h"

class CCompleteDlg : public CPageDialog {
  public:
    CCompleteDlg(platform::WindowHandle owner, ISetupDialog& setup);

  protected:
    bool OnInitDialog() override;
};
