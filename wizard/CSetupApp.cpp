#include "wizard/CSetupApp.h"

#include "wizard/CSetupDlg.h"

bool CSetupApp::InitInstance() {
    CSetupDlg frame(m_makeEngine);
    m_pMainWnd = &frame;
    frame.DoModal(); // the wizard's outcome is on its completion page, not in this result
    m_pMainWnd = nullptr;
    return false;
}
