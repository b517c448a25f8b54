#include "wizard/CSelectDlg.h"

#include <algorithm>

#include "framework/CWaitCursor.h"
#include "framework/DataExchange.h"
#include "resources/ResourceIds.h"

using namespace platform;

namespace {

constexpr char16_t DefaultFolder[] = u"C:\\Varnoquill_Printer";
constexpr char16_t BrowseTitle[] = u"请选择";
constexpr std::uint32_t BrowseFlags =
    BifReturnOnlyFsDirs | BifReturnFsAncestors | BifNewDialogStyle;
constexpr std::size_t EditReadChars = 1024;

} // namespace

CSelectDlg::CSelectDlg(WindowHandle owner, ISetupDialog& setup)
    : CPageDialog(IddFolderPage, owner, setup) {}

void CSelectDlg::DoDataExchange(CDataExchange& exchange) {
    ExchangeControl(exchange, IdcFolder, m_folder);
}

bool CSelectDlg::OnInitDialog() {
    CPageDialog::OnInitDialog();
    // Captions and texts of the page's own controls: a failure leaves one
    // empty, nothing more. The folder is always the default at first,
    // whatever was chosen on an earlier visit.
    m_folder.SetWindowText(DefaultFolder);
    SetDlgItemText(IdcStatic, m_setup.LoadText(TextFolderIntro));
    SetDlgItemText(IdcBrowse, m_setup.LoadText(TextBrowse));
    SetDlgItemText(IdcFolderGroup, m_setup.LoadText(TextBrowseFolder));
    return true;
}

bool CSelectDlg::OnCommand(std::uint16_t id, std::uint16_t code) {
    if (id == IdcBrowse) {
        BrowseFolder();
        return true;
    }
    return CPageDialog::OnCommand(id, code);
}

void CSelectDlg::BrowseFolder() {
    auto allocator = SHGetMalloc();
    if (!allocator)
        return;
    BrowseInfo info;
    info.owner = GetSafeHwnd();
    info.title = BrowseTitle;
    info.flags = BrowseFlags;
    auto item = SHBrowseForFolderW(info);
    if (!item || !item.value)
        return; // cancelled, or the browser could not start: the folder stays
    auto path = SHGetPathFromIDListW(item.value);
    // A folder the edit field would not take leaves the one there.
    if (path)
        m_folder.SetWindowText(path.value);
    IMalloc_Free(allocator.value, item.value);
}

int CSelectDlg::CommitPage() {
    CWaitCursor wait;
    std::u16string folder = m_folder.GetWindowText().substr(0, EditReadChars - 1);
    // The browser gives at most 259 characters; the buffer keeps its terminator either way.
    std::size_t length = std::min(folder.size(), InstallFolderChars - 1);
    std::fill(std::begin(m_setup.m_installFolder), std::end(m_setup.m_installFolder), u'\0');
    std::copy_n(folder.begin(), length, m_setup.m_installFolder);
    return 1;
}
