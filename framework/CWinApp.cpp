#include "framework/CWinApp.h"

#include "platform/UserInterface.h"

using namespace platform;

int CWinApp::Run() {
    // Before anything loads a DLL: only the system folder, never the
    // program's own, which others may have written to.
    if (Status search = SetDefaultDllDirectories(LoadLibrarySearchSystem32); !search)
        return static_cast<int>(search.error);
    // Without the common controls the dialogs fail to create and say so themselves.
    InitCommonControlsEx(IccAllClasses);
    InitInstance();
    return 0;
}
