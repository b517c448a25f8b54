// The removal page: the catalogue's models that have a print queue; its
// commit removes the chosen one.
#pragma once

#include "framework/CImageList.h"
#include "framework/Controls.h"
#include "wizard/CPageDialog.h"

class CUninstallDlg : public CPageDialog {
  public:
    CUninstallDlg(platform::WindowHandle owner, ISetupDialog& setup);

    int CommitPage() override;

  protected:
    bool OnInitDialog() override;
    void DoDataExchange(CDataExchange& exchange) override;

  private:
    CImageList m_images;
    CListCtrl m_models;
};
