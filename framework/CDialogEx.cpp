#include "framework/CDialogEx.h"

#include "framework/DataExchange.h"
#include "resources/DialogTemplates.h"

using namespace platform;

CDialogEx::CDialogEx(std::uint16_t templateId, WindowHandle parent)
    : m_template(FindDialogTemplate(templateId)), m_parent(parent) {}

CDialogEx::CDialogEx(const DialogTemplate& dialogTemplate, WindowHandle parent)
    : m_template(&dialogTemplate), m_parent(parent) {}

CDialogEx::~CDialogEx() {
    if (m_window)
        DestroyWindow(); // a window outliving its object would call into freed memory
}

std::intptr_t CDialogEx::DoModal() {
    if (!m_template)
        return -1;
    auto result = DialogBoxIndirectParamW(*m_template, m_parent, &CDialogEx::Procedure,
                                          reinterpret_cast<std::intptr_t>(this));
    return result ? result.value : -1;
}

bool CDialogEx::Create(WindowHandle parent) {
    if (!m_template)
        return false;
    m_parent = parent;
    auto window = CreateDialogIndirectParamW(*m_template, parent, &CDialogEx::Procedure,
                                             reinterpret_cast<std::intptr_t>(this));
    return window.Ok();
}

bool CDialogEx::DestroyWindow() {
    if (!m_window)
        return false;
    WindowHandle window = m_window;
    bool destroyed = platform::DestroyWindow(window).Ok();
    // A modal dialog's window is destroyed by its loop; the object lets go now.
    if (destroyed)
        m_window = nullptr;
    return destroyed;
}

void CDialogEx::EndDialog(std::intptr_t result) {
    // Fails only for a window that is already gone: then there is nothing to end.
    platform::EndDialog(m_window, result);
}

WindowHandle CDialogEx::GetDlgItem(std::int32_t id) const {
    auto control = platform::GetDlgItem(m_window, id);
    return control ? control.value : nullptr;
}

bool CDialogEx::SetDlgItemText(std::int32_t id, std::u16string_view text) {
    WindowHandle control = GetDlgItem(id);
    return control && SetWindowTextW(control, text).Ok();
}

bool CDialogEx::UpdateData(bool saveAndValidate) {
    CDataExchange exchange(*this, saveAndValidate);
    DoDataExchange(exchange);
    return !exchange.Failed();
}

std::intptr_t CDialogEx::MessageBox(std::u16string_view text, std::u16string_view caption,
                                    std::uint32_t type) {
    auto answer = MessageBoxW(m_window, text, caption, type);
    return answer ? answer.value : 0;
}

bool CDialogEx::OnInitDialog() {
    UpdateData(false);
    return true;
}

bool CDialogEx::OnCommand(std::uint16_t id, std::uint16_t) {
    if (id == IdOk) {
        OnOK();
        return true;
    }
    if (id == IdCancel) {
        OnCancel();
        return true;
    }
    return false;
}

bool CDialogEx::OnNotify(const NotifyHeader&) {
    return false;
}

bool CDialogEx::OnPaint() {
    return false;
}

IconHandle CDialogEx::OnQueryDragIcon() {
    return nullptr;
}

bool CDialogEx::OnClose() {
    return false;
}

void CDialogEx::OnOK() {
    if (UpdateData(true))
        EndDialog(IdOk);
}

void CDialogEx::OnCancel() {
    EndDialog(IdCancel);
}

void CDialogEx::DoDataExchange(CDataExchange&) {}

std::intptr_t CDialogEx::Procedure(WindowHandle window, std::uint32_t message,
                                   std::uintptr_t wParam, std::intptr_t lParam) {
    if (message == WmInitDialog) { // the creator passed `this`
        SetWindowLongPtrW(window, WindowLong::DialogUser, lParam);
        reinterpret_cast<CDialogEx*>(lParam)->m_window = window;
    }
    auto user = GetWindowLongPtrW(window, WindowLong::DialogUser);
    auto* self = user ? reinterpret_cast<CDialogEx*>(user.value) : nullptr;
    if (!self) // WM_SETFONT comes before WM_INITDIALOG
        return 0;
    std::intptr_t answer = self->OnMessage(message, wParam, lParam);
    if (message == WmDestroy) {
        // Messages after this one find no object.
        SetWindowLongPtrW(window, WindowLong::DialogUser, 0);
        self->m_window = nullptr;
    }
    return answer;
}

std::intptr_t CDialogEx::OnMessage(std::uint32_t message, std::uintptr_t wParam,
                                   std::intptr_t lParam) {
    switch (message) {
    case WmInitDialog:
        return OnInitDialog() ? 1 : 0;
    case WmCommand:
        return OnCommand(static_cast<std::uint16_t>(wParam & 0xFFFF),
                         static_cast<std::uint16_t>((wParam >> 16) & 0xFFFF))
                   ? 1
                   : 0;
    case WmNotify:
        return OnNotify(*reinterpret_cast<const NotifyHeader*>(lParam)) ? 1 : 0;
    case WmPaint:
        return OnPaint() ? 1 : 0;
    case WmQueryDragIcon:
        return reinterpret_cast<std::intptr_t>(OnQueryDragIcon());
    case WmClose:
        return OnClose() ? 1 : 0;
    default:
        return 0;
    }
}
