// The application: runs the wizard frame modally and ends with it.
#pragma once

#include "framework/CWinApp.h"
#include "wizard/IInstallEngine.h"

class CSetupApp : public CWinApp {
  public:
    explicit CSetupApp(IInstallEngine& engine) : m_engine(engine) {}

  protected:
    bool InitInstance() override;

  private:
    IInstallEngine& m_engine;
};
