#include "wizard/CSetupDlg.h"

#include <algorithm>

#include "framework/Drawing.h"
#include "resources/ResourceIds.h"
#include "wizard/CCompleteDlg.h"
#include "wizard/CInstallDlg.h"
#include "wizard/COperationTypeDlg.h"
#include "wizard/CSelectDlg.h"
#include "wizard/CUninstallDlg.h"
#include "wizard/CatalogueLoader.h"

using namespace platform;

CSetupDlg::CSetupDlg(EngineFactory makeEngine)
    : CDialogEx(IddSetupFrame, nullptr), m_makeEngine(std::move(makeEngine)) {
    auto icon = LoadIconW(IdiProgram);
    // Without its icon the frame shows the system's default one.
    m_icon = icon ? icon.value : nullptr;
}

CSetupDlg::~CSetupDlg() {
    if (m_currentPage)
        m_currentPage->DestroyPage();
    m_currentPage = nullptr;
    m_catalogue.clear();
}

bool CSetupDlg::OnInitDialog() {
    CDialogEx::OnInitDialog();
    SendMessageW(GetSafeHwnd(), WmSetIcon, IconBig, reinterpret_cast<std::intptr_t>(m_icon));
    SendMessageW(GetSafeHwnd(), WmSetIcon, IconSmall, reinterpret_cast<std::intptr_t>(m_icon));
    m_language = ChooseUiLanguage(GetUserDefaultLCID());
    if (!LoadCatalogue(m_catalogue)) {
        MessageBox(LoadText(TextBadConfiguration), LoadText(TextError), MbOk);
        EndDialog(IdCancel);
        return true;
    }
    ComputePageArea();
    SetDlgItemText(IdcCancel, LoadText(TextCancel));
    SetDlgItemText(IdcBack, LoadText(TextPrevStep));
    ShowPage(PageOperation);
    m_systemInfo = GetNativeSystemInfo();
    m_engine = m_makeEngine(m_catalogue, m_systemInfo.processorArchitecture);
    // ShowPage gave Next the focus; the dialog manager is not to move it.
    return false;
}

void CSetupDlg::ComputePageArea() {
    Rect client, cancel;
    if (!Measure(client, cancel))
        return;
    std::int32_t r = client.right - cancel.right;
    std::int32_t g = client.bottom - cancel.bottom;
    m_pageArea = {r, g + 1, (cancel.right - client.left) - 1, (cancel.top - client.top) - g - 1};
}

bool CSetupDlg::Measure(Rect& client, Rect& cancel) const {
    auto clientRect = GetClientRect(GetSafeHwnd());
    auto origin = ClientToScreen(GetSafeHwnd(), {0, 0});
    auto cancelRect = GetWindowRect(GetDlgItem(IdcCancel));
    if (!clientRect || !origin || !cancelRect)
        return false;
    client = {origin.value.x, origin.value.y, origin.value.x + clientRect.value.Width(),
              origin.value.y + clientRect.value.Height()};
    cancel = cancelRect.value;
    return true;
}

namespace {

struct PageSetup {
    bool backEnabled;
    TextId nextCaption;
    TextId title;
};

PageSetup SetupOf(WizardPage index) {
    switch (index) {
    case PageOperation:
        return {false, TextNextStep, TextSelectOperation};
    case PageComplete:
        return {false, TextComplete, TextComplete};
    default:
        return {true, TextNextStep, TextSelectDriver};
    }
}

} // namespace

IPageDialog* CSetupDlg::NewPage(WizardPage index) {
    WindowHandle frame = GetSafeHwnd();
    switch (index) {
    case PageOperation:
        return new COperationTypeDlg(frame, *this);
    case PageModel:
        return new CInstallDlg(frame, *this);
    case PageFolder:
        return new CSelectDlg(frame, *this);
    case PageRemoval:
        return new CUninstallDlg(frame, *this);
    case PageComplete:
        return new CCompleteDlg(frame, *this);
    }
    return nullptr;
}

void CSetupDlg::ShowPage(WizardPage index) {
    m_pageIndex = index;
    if (m_currentPage) {
        m_currentPage->DestroyPage();
        m_currentPage = nullptr;
    }
    if (index < PageOperation || index > PageComplete)
        return;
    PageSetup setup = SetupOf(index);
    // The frame's own buttons and title: these calls fail only for a window
    // that is gone, and then there is no one to show anything to.
    WindowHandle back = GetDlgItem(IdcBack);
    WindowHandle next = GetDlgItem(IdcNext);
    EnableWindow(back, setup.backEnabled);
    EnableWindow(next, true);
    SetWindowTextW(next, LoadText(setup.nextCaption));
    SetWindowTextW(GetSafeHwnd(), LoadText(setup.title));

    IPageDialog* page = NewPage(index);
    if (!page)
        return;
    // Pages are windows of their own: a dialog object behind the interface.
    auto* dialog = dynamic_cast<CDialogEx*>(page);
    if (!dialog || !page->CreatePage(GetSafeHwnd(), Rect{})) {
        delete dialog;
        return;
    }
    page->ApplyTexts();
    MoveWindow(dialog->GetSafeHwnd(), m_pageArea.left, m_pageArea.top, m_pageArea.Width(),
               m_pageArea.Height(), true);
    ShowWindow(dialog->GetSafeHwnd(), SwShow);
    // After the page's own initialisation, which takes the focus for its first control.
    if (index == PageOperation)
        SetFocus(next);
    m_currentPage = page;
}

void CSetupDlg::OnNext() {
    if (m_pageIndex == PageComplete) {
        CDialogEx::OnOK();
        return;
    }
    if (m_currentPage && !m_currentPage->CommitPage())
        return;
    switch (m_pageIndex) {
    case PageOperation:
        ShowPage(m_operationType == 0 ? PageFolder : PageRemoval);
        break;
    case PageFolder:
        ShowPage(PageModel);
        break;
    case PageModel:
    case PageRemoval:
        ShowPage(PageComplete);
        break;
    case PageComplete:
        break;
    }
}

void CSetupDlg::OnBack() {
    switch (m_pageIndex) {
    case PageModel:
        ShowPage(PageFolder);
        break;
    case PageFolder:
    case PageRemoval:
        ShowPage(PageOperation);
        break;
    default:
        break;
    }
}

bool CSetupDlg::OnCommand(std::uint16_t id, std::uint16_t code) {
    if (id == IdcBack) {
        OnBack();
        return true;
    }
    return CDialogEx::OnCommand(id, code);
}

void CSetupDlg::OnOK() {
    OnNext();
}

bool CSetupDlg::OnPaint() {
    CPaintDC dc(GetSafeHwnd());
    if (IsIconic(GetSafeHwnd())) {
        auto client = GetClientRect(GetSafeHwnd());
        std::int32_t x = (client.value.Width() - GetSystemMetrics(SmCxIcon) + 1) / 2;
        std::int32_t y = (client.value.Height() - GetSystemMetrics(SmCyIcon) + 1) / 2;
        dc.DrawIcon(x, y, m_icon);
        return true;
    }
    Rect client, cancel;
    if (!Measure(client, cancel))
        return true;
    std::int32_t r = client.right - cancel.right;
    std::int32_t g = client.bottom - cancel.bottom;
    std::int32_t y = (cancel.top - client.top) - g;
    std::int32_t end = cancel.right - client.left;
    {
        CSelectedPen grey(dc, 1, Rgb(160, 160, 160));
        dc.MoveTo(r, y);
        dc.LineTo(end - 1, y);
    }
    {
        CSelectedPen white(dc, 1, Rgb(255, 255, 255));
        dc.MoveTo(r + 1, y + 1);
        dc.LineTo(end, y + 1);
    }
    return true;
}

IconHandle CSetupDlg::OnQueryDragIcon() {
    return m_icon;
}

const PrinterModel* CSetupDlg::FindPrinterModel(std::u16string_view modelName) const {
    return ::FindPrinterModel(m_catalogue, modelName);
}

void CSetupDlg::SetOperationType(int operationType) {
    m_operationType = operationType;
}

int CSetupDlg::GetOperationType() {
    return m_operationType;
}

void CSetupDlg::SetResult(int flag, const char16_t* message) {
    m_resultFlag = flag;
    std::fill(std::begin(m_resultMessage), std::end(m_resultMessage), u'\0');
    for (std::size_t i = 0; message && message[i] && i + 1 < ResultMessageChars; ++i)
        m_resultMessage[i] = message[i];
}

void CSetupDlg::GetResult(int& flag, char16_t (&message)[ResultMessageChars]) {
    flag = m_resultFlag;
    std::copy(std::begin(m_resultMessage), std::end(m_resultMessage), message);
}

std::u16string CSetupDlg::LoadText(TextId id) {
    return ::LoadText(m_language, id);
}

void CSetupDlg::GetText(TextId id, std::u16string& text) {
    ::GetText(m_language, id, text);
}

const PrinterCatalogue& CSetupDlg::GetCatalogue() {
    return m_catalogue;
}

// Without an engine (none made) every engine slot reports failure or nothing.
int CSetupDlg::InstallPrinter(std::u16string modelName, std::u16string portName) {
    return m_engine ? m_engine->InstallPrinter(std::move(modelName), std::move(portName)) : -1;
}

int CSetupDlg::RemovePrinter(std::u16string printerName) {
    return m_engine ? m_engine->RemovePrinter(std::move(printerName)) : -1;
}

int CSetupDlg::GetErrorCode() {
    return m_engine ? m_engine->GetErrorCode() : 0;
}

int CSetupDlg::PrinterExists(std::u16string printerName) {
    return m_engine ? m_engine->PrinterExists(std::move(printerName)) : 0;
}

int CSetupDlg::StageFiles(std::u16string modelName, std::u16string installFolder, int unused) {
    return m_engine ? m_engine->StageFiles(std::move(modelName), std::move(installFolder), unused)
                    : 0;
}

int CSetupDlg::InstallStatusService(std::u16string modelName) {
    return m_engine ? m_engine->InstallStatusService(std::move(modelName)) : 0;
}

int CSetupDlg::RemoveStatusService(std::u16string modelName) {
    return m_engine ? m_engine->RemoveStatusService(std::move(modelName)) : 0;
}

int CSetupDlg::SetDefaultPrinter(std::u16string printerName) {
    return m_engine ? m_engine->SetDefaultPrinter(std::move(printerName)) : 0;
}
