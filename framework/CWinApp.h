// The application: the program's start (no DLL from the program's folder,
// the common controls), then its own initialisation, in which a program of
// this framework runs its main window modally; the program ends after it.
#pragma once

#include "platform/Error.h"

class CDialogEx;

class CWinApp {
  public:
    virtual ~CWinApp() = default;

    // The program's exit code: 0, or the error of a start that failed.
    int Run();

  protected:
    // False: no message loop follows. The framework has modal main windows
    // only, so the program ends after this either way.
    virtual bool InitInstance() = 0;

    CDialogEx* m_pMainWnd = nullptr;
};
