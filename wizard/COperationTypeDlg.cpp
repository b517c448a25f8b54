#include "wizard/COperationTypeDlg.h"

#include "framework/DataExchange.h"
#include "resources/ResourceIds.h"

COperationTypeDlg::COperationTypeDlg(platform::WindowHandle owner, ISetupDialog& setup)
    : CPageDialog(IddOperationPage, owner, setup) {}

bool COperationTypeDlg::OnInitDialog() {
    // A page shown again after Back shows the stored choice.
    m_choice = m_setup.GetOperationType();
    return CPageDialog::OnInitDialog();
}

void COperationTypeDlg::DoDataExchange(CDataExchange& exchange) {
    ExchangeRadio(exchange, IdcInstall, m_choice);
}

int COperationTypeDlg::CommitPage() {
    // The group is the page's own: the exchange finds it or the page has no window.
    UpdateData(true);
    m_setup.SetOperationType(m_choice != 0 ? 1 : 0);
    return 1;
}

void COperationTypeDlg::ApplyTexts() {
    SetDlgItemText(IdcInstall, m_setup.LoadText(TextInstall));
    SetDlgItemText(IdcUninstall, m_setup.LoadText(TextUninstall));
}
