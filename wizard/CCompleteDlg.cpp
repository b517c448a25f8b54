#include "wizard/CCompleteDlg.h"

#include "resources/ResourceIds.h"

namespace {

std::u16string Decimal(int value) {
    std::string digits = std::to_string(value);
    return std::u16string(digits.begin(), digits.end());
}

} // namespace

CCompleteDlg::CCompleteDlg(platform::WindowHandle owner, ISetupDialog& setup)
    : CPageDialog(IddCompletePage, owner, setup) {}

bool CCompleteDlg::OnInitDialog() {
    CPageDialog::OnInitDialog();
    int flag = 0; // the message says it all
    char16_t message[ResultMessageChars] = {};
    m_setup.GetResult(flag, message);
    std::u16string text = message;
    if (int code = m_setup.GetErrorCode(); code != 0)
        text += u"\r\n" + m_setup.LoadText(TextErrorCode) + u":" + Decimal(code);
    SetDlgItemText(IdcResult, text); // the page's one control: nothing else to show it in
    return true;
}
