#include "wizard/CUninstallDlg.h"

#include "framework/CWaitCursor.h"
#include "framework/DataExchange.h"
#include "resources/ResourceIds.h"

using namespace platform;

namespace {

constexpr char16_t BoxCaption[] = u"Setup";
constexpr std::size_t ModelNameChars = MaxModelNameLength + 1;

} // namespace

CUninstallDlg::CUninstallDlg(WindowHandle owner, ISetupDialog& setup)
    : CPageDialog(IddRemovalPage, owner, setup) {}

void CUninstallDlg::DoDataExchange(CDataExchange& exchange) {
    ExchangeControl(exchange, IdcModelList, m_models);
}

bool CUninstallDlg::OnInitDialog() {
    CPageDialog::OnInitDialog();
    // Without the image list the models are listed by name alone.
    if (!m_images.GetSafeHandle() && m_images.Create(48, 48, IlcColor32 | IlcMask, 0, 0)) {
        if (auto icon = LoadIconW(IdiPrinter))
            m_images.Add(icon.value);
        m_models.SetImageList(m_images.GetSafeHandle(), LvsilNormal);
    }
    int inserted = 0;
    for (const PrinterModel& model : m_setup.GetCatalogue())
        if (m_setup.PrinterExists(model.name) == 1)
            m_models.InsertItem(inserted++, model.name);
    return true;
}

int CUninstallDlg::CommitPage() {
    CWaitCursor wait;
    UpdateData(true); // binds the list, which init already did
    std::u16string model = m_models.GetItemText(m_models.GetSelectionMark(), ModelNameChars);
    if (model.empty()) {
        MessageBox(m_setup.LoadText(TextNoDriverSelected), BoxCaption, MbOk);
        return 0;
    }
    int result = m_setup.RemovePrinter(model);
    m_setup.RemoveStatusService(model); // removed whatever became of the queue
    if (result == -1)
        m_setup.SetResult(0, m_setup.LoadText(TextError).c_str());
    else
        m_setup.SetResult(1, m_setup.LoadText(TextCompleted).c_str());
    return 1;
}
