#include "wizard/CInstallDlg.h"

#include "framework/CWaitCursor.h"
#include "framework/DataExchange.h"
#include "platform/Spooler.h"
#include "resources/ResourceIds.h"
#include "wizard/PrinterDetection.h"

using namespace platform;

namespace {

constexpr std::u16string_view UsbPortMark = u"USB0";

} // namespace

CInstallDlg::CInstallDlg(WindowHandle owner, ISetupDialog& setup)
    : CPageDialog(IddModelPage, owner, setup) {}

void CInstallDlg::DoDataExchange(CDataExchange& exchange) {
    ExchangeControl(exchange, IdcModelList, m_models);
    ExchangeControl(exchange, IdcPort, m_portBox);
}

bool CInstallDlg::OnInitDialog() {
    CPageDialog::OnInitDialog();
    AttachPrinterIcon(m_models, m_images, IlcColor16);
    FillPortList();
    const PrinterCatalogue& catalogue = m_setup.GetCatalogue();
    for (std::size_t i = 0; i < catalogue.size(); ++i)
        m_models.InsertItem(static_cast<int>(i), catalogue[i].name);
    // Captions and checks of the page's own controls: a failure leaves one
    // empty or unchecked, nothing more.
    SetDlgItemText(IdcStatic, m_setup.LoadText(TextSelectPort));
    SetDlgItemText(IdcVirtualPort, m_setup.LoadText(TextVirtualPort));
    SetDlgItemText(IdcDefaultPrinter, m_setup.LoadText(TextDefaultPrinter));
    SetDlgItemText(IdcStatusMonitor, m_setup.LoadText(TextStatusMonitor));
    SendMessageW(GetDlgItem(IdcVirtualPort), BmSetCheck, BstChecked, 0);
    SendMessageW(GetDlgItem(IdcStatusMonitor), BmSetCheck, BstChecked, 0);
    return true;
}

void CInstallDlg::FillPortList() {
    auto ports = EnumPortsW();
    if (ports) {
        for (const PortInfo2& port : ports.value) {
            if (port.portName.find(UsbPortMark) == std::u16string::npos)
                continue;
            m_ports.push_back(port.portName);
            m_portBox.AddString(port.portName);
        }
    }
    // The box is sorted: the last entry is the highest USB port. With no
    // USB port this is -1, which leaves the box without a selection.
    m_portBox.SetCurSel(static_cast<int>(m_ports.size()) - 1);
}

bool CInstallDlg::OnCommand(std::uint16_t id, std::uint16_t code) {
    auto checked = [this](std::int32_t box) {
        return SendMessageW(GetDlgItem(box), BmGetCheck, 0, 0).value == BstChecked ? 1 : 0;
    };
    switch (id) {
    case IdcVirtualPort:
        m_virtualPort = checked(id);
        return true;
    case IdcDefaultPrinter:
        m_defaultPrinter = checked(id);
        return true;
    case IdcStatusMonitor:
        m_statusMonitor = checked(id);
        return true;
    default:
        return CPageDialog::OnCommand(id, code);
    }
}

bool CInstallDlg::OnNotify(const NotifyHeader& header) {
    return header.code == LvnItemChanged;
}

void CInstallDlg::Detect(const std::u16string& modelName) {
    PrinterDetection detection = DetectPrinter(modelName);
    if (!detection.detected)
        return;
    m_printerDetected = true;
    m_detectedPort = detection.port;
}

// The Japanese table has no connect prompt; its row 24 says the same.
std::u16string CInstallDlg::ConnectPrompt() {
    std::u16string prompt = m_setup.LoadText(TextConnectPrinter);
    if (prompt.empty())
        prompt = m_setup.LoadText(TextConnectAndRetry);
    return prompt;
}

int CInstallDlg::CommitPage() {
    CWaitCursor wait;
    std::u16string model = SelectedModel(m_models);
    if (model.empty())
        return 0;
    // No USB port: an empty name, which the spooler refuses with its own error.
    std::u16string port = m_portBox.GetLBText(m_portBox.GetCurSel());
    // The service steps' results are not examined: their failure shows later, if at all.
    if (m_statusMonitor == 1) {
        m_setup.StageFiles(model, m_setup.m_installFolder, 1);
        m_setup.InstallStatusService(model);
    }
    int result = 0;
    if (m_virtualPort == 1) {
        Detect(model);
        while (!m_printerDetected) {
            if (MessageBox(ConnectPrompt(), BoxCaption, MbOkCancel) != IdOk)
                return 0;
            Detect(model);
        }
        result = m_setup.InstallPrinter(model, m_detectedPort);
    } else {
        result = m_setup.InstallPrinter(model, port);
    }
    bool installed = result != -2 && result != -1;
    if (result == -2)
        m_setup.SetResult(0, m_setup.LoadText(TextPrinterExisted).c_str());
    else if (result == -1)
        m_setup.SetResult(0, m_setup.LoadText(TextError).c_str());
    else
        m_setup.SetResult(1, m_setup.LoadText(TextCompleted).c_str());
    // The new queue, named after the model, becomes the default.
    if (m_defaultPrinter == 1 && installed)
        m_setup.SetDefaultPrinter(model);
    return 1;
}
