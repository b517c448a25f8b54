// The application: runs the wizard frame modally and ends with it.
#pragma once

#include "framework/CWinApp.h"
#include "wizard/IInstallEngine.h"

class CSetupApp : public CWinApp {
  public:
    explicit CSetupApp(EngineFactory makeEngine) : m_makeEngine(std::move(makeEngine)) {}

  protected:
    bool InitInstance() override;

  private:
    EngineFactory m_makeEngine;
};
