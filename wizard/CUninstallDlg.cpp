#include "wizard/CUninstallDlg.h"

#include "framework/CWaitCursor.h"
#include "framework/DataExchange.h"
#include "resources/ResourceIds.h"

using namespace platform;

CUninstallDlg::CUninstallDlg(WindowHandle owner, ISetupDialog& setup)
    : CPageDialog(IddRemovalPage, owner, setup) {}

void CUninstallDlg::DoDataExchange(CDataExchange& exchange) {
    ExchangeControl(exchange, IdcModelList, m_models);
}

bool CUninstallDlg::OnInitDialog() {
    CPageDialog::OnInitDialog();
    AttachPrinterIcon(m_models, m_images, IlcColor32);
    int inserted = 0;
    for (const PrinterModel& model : m_setup.GetCatalogue())
        if (m_setup.PrinterExists(model.name) == 1)
            m_models.InsertItem(inserted++, model.name);
    return true;
}

int CUninstallDlg::CommitPage() {
    CWaitCursor wait;
    UpdateData(true); // binds the list, which init already did
    std::u16string model = SelectedModel(m_models);
    if (model.empty())
        return 0;
    int result = m_setup.RemovePrinter(model);
    m_setup.RemoveStatusService(model); // removed whatever became of the queue
    if (result == -1)
        m_setup.SetResult(0, m_setup.LoadText(TextError).c_str());
    else
        m_setup.SetResult(1, m_setup.LoadText(TextCompleted).c_str());
    return 1;
}
