// A wizard-like dialog for the robot's own tests and for the checks of the
// Wine desktop: it carries Setup's resources (icons, manifest, version) and
// is built as Setup is, a modal frame with Back, Next and Cancel hosting a
// child page dialog with the kinds of controls Setup's pages have. A test
// tool, so raw Win32.
//
//   FixtureDialog.exe            shows the dialog; the exit code is the
//                                dialog's result (1 finished, 2 cancelled)
//   FixtureDialog.exe --lcid     prints GetUserDefaultLCID as 0x%04x and ends
//
// Next with no list item at the selection mark shows an error box; else it
// asks OK/Cancel, and on OK replaces the page with a summary page whose
// static 1003 holds what the controls held, enables Back and changes the
// title to "Robot Fixture: done". Back shows the choices afresh; Next on the
// summary ends the dialog.
#include <windows.h>

#include <commctrl.h>
#include <shlobj.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

namespace {

enum : WORD {
    IdcBack = 1000,
    IdcInstall = 1001,
    IdcUninstall = 1002,
    IdcStatus = 1003,
    IdcModels = 1004,
    IdcJapanese = 1005,
    IdcChinese = 1006,
    IdcPorts = 1011,
    IdcFolder = 1015,
    IdcBrowse = 1016,
    IdcVirtualPort = 1018,
    IdcDefaultPrinter = 1019,
    IdcStatusMonitor = 1020,
};

// A dialog template built in memory, as Setup builds its own.
class TemplateBuilder {
  public:
    TemplateBuilder(const wchar_t* title, DWORD style, DWORD extendedStyle, short cx, short cy) {
        DLGTEMPLATE header{};
        header.style = DS_SETFONT | style;
        header.dwExtendedStyle = extendedStyle;
        header.cx = cx;
        header.cy = cy;
        Append(&header, sizeof header);
        m_countOffset = offsetof(DLGTEMPLATE, cdit);
        Word(0); // no menu
        Word(0); // the standard dialog class
        Text(title);
        Word(9);
        Text(L"MS Shell Dlg");
    }

    void Add(const wchar_t* className, const wchar_t* text, WORD id, DWORD style, short x, short y,
             short cx, short cy) {
        Align();
        DLGITEMTEMPLATE item{};
        item.style = style | WS_CHILD | WS_VISIBLE;
        item.x = x;
        item.y = y;
        item.cx = cx;
        item.cy = cy;
        item.id = id;
        Append(&item, sizeof item);
        Text(className);
        Text(text);
        Word(0); // no creation data
        ++*reinterpret_cast<WORD*>(m_bytes.data() + m_countOffset);
    }

    const DLGTEMPLATE* Get() { return reinterpret_cast<const DLGTEMPLATE*>(m_bytes.data()); }

  private:
    void Append(const void* data, size_t size) {
        size_t at = m_bytes.size();
        m_bytes.resize(at + size);
        std::memcpy(m_bytes.data() + at, data, size);
    }
    void Word(WORD value) { Append(&value, sizeof value); }
    void Text(const wchar_t* text) {
        do {
            Word(static_cast<WORD>(*text));
        } while (*text++ != L'\0');
    }
    void Align() {
        while (m_bytes.size() % 4 != 0) {
            m_bytes.push_back(0);
        }
    }

    std::vector<BYTE> m_bytes;
    size_t m_countOffset = 0;
};

bool g_confirmed = false;
HWND g_page = nullptr;
// The two pages' templates: the choices, and the summary shown after them.
const DLGTEMPLATE* g_choicePage = nullptr;
const DLGTEMPLATE* g_summaryPage = nullptr;

INT_PTR CALLBACK PageProcedure(HWND page, UINT message, WPARAM wParam, LPARAM choices);

// Replaces the page on show with a new one, as Setup's frame does.
bool ShowPage(HWND frame, const DLGTEMPLATE* page) {
    if (g_page != nullptr) {
        DestroyWindow(g_page);
    }
    g_page = CreateDialogIndirectParamW(GetModuleHandleW(nullptr), page, frame, PageProcedure,
                                        page == g_choicePage);
    if (g_page == nullptr) {
        return false;
    }
    ShowWindow(g_page, SW_SHOW);
    return true;
}

std::wstring ItemText(HWND dialog, int id) {
    wchar_t buffer[512] = {};
    GetDlgItemTextW(dialog, id, buffer, 512);
    return buffer;
}

void InitPage(HWND dialog) {
    HINSTANCE instance = GetModuleHandleW(nullptr);
    HWND list = GetDlgItem(dialog, IdcModels);
    HIMAGELIST images = ImageList_Create(48, 48, ILC_COLOR32 | ILC_MASK, 1, 0);
    HICON printer =
        static_cast<HICON>(LoadImageW(instance, MAKEINTRESOURCEW(134), IMAGE_ICON, 48, 48, 0));
    ImageList_AddIcon(images, printer);
    ListView_SetImageList(list, images, LVSIL_NORMAL);
    const wchar_t* models[] = {L"Varnoquill", L"Quillmark-200", L"Long model name of the family"};
    for (int i = 0; i < 3; ++i) {
        LVITEMW item{};
        item.mask = LVIF_TEXT | LVIF_IMAGE;
        item.iItem = i;
        item.pszText = const_cast<wchar_t*>(models[i]);
        SendMessageW(list, LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item));
    }

    // Added out of order: the sorted box puts them in order.
    for (const wchar_t* port : {L"USB002", L"LPT1:", L"USB001"}) {
        SendDlgItemMessageW(dialog, IdcPorts, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(port));
    }
    SendDlgItemMessageW(dialog, IdcPorts, CB_SETCURSEL, 2, 0);
    CheckRadioButton(dialog, IdcInstall, IdcUninstall, IdcInstall);
    CheckDlgButton(dialog, IdcVirtualPort, BST_CHECKED);
    CheckDlgButton(dialog, IdcStatusMonitor, BST_CHECKED);
    SetDlgItemTextW(dialog, IdcFolder, L"C:\\Varnoquill_Printer");
}

// What the controls hold, in one line the robot can compare.
std::wstring Summary(HWND dialog) {
    HWND list = GetDlgItem(dialog, IdcModels);
    int mark = static_cast<int>(SendMessageW(list, LVM_GETSELECTIONMARK, 0, 0));
    wchar_t model[512] = {};
    if (mark >= 0) {
        LVITEMW item{};
        item.iSubItem = 0;
        item.pszText = model;
        item.cchTextMax = 512;
        SendMessageW(list, LVM_GETITEMTEXTW, mark, reinterpret_cast<LPARAM>(&item));
    }
    int selected = static_cast<int>(SendMessageW(list, LVM_GETSELECTEDCOUNT, 0, 0));
    std::wstring port;
    int portIndex = static_cast<int>(SendDlgItemMessageW(dialog, IdcPorts, CB_GETCURSEL, 0, 0));
    if (portIndex >= 0) {
        wchar_t buffer[64] = {};
        SendDlgItemMessageW(dialog, IdcPorts, CB_GETLBTEXT, portIndex,
                            reinterpret_cast<LPARAM>(buffer));
        port = buffer;
    }
    auto checked = [&](int id) {
        return IsDlgButtonChecked(dialog, id) == BST_CHECKED ? L"1" : L"0";
    };
    return L"model=" + std::wstring(model) + L";selected=" + std::to_wstring(selected) + L";port=" +
           port + L";virtual=" + checked(IdcVirtualPort) + L";default=" +
           checked(IdcDefaultPrinter) + L";monitor=" + checked(IdcStatusMonitor) + L";operation=" +
           (IsDlgButtonChecked(dialog, IdcUninstall) ? L"1" : L"0") + L";folder=" +
           ItemText(dialog, IdcFolder);
}

void OnNext(HWND dialog) {
    if (g_confirmed) {
        EndDialog(dialog, IDOK);
        return;
    }
    HWND list = GetDlgItem(g_page, IdcModels);
    int mark = static_cast<int>(SendMessageW(list, LVM_GETSELECTIONMARK, 0, 0));
    if (mark < 0 || SendMessageW(list, LVM_GETSELECTEDCOUNT, 0, 0) == 0) {
        MessageBoxW(dialog, L"No driver is selected yet!", L"Error", MB_OK);
        return;
    }
    if (MessageBoxW(dialog, L"Install the selected printer?", L"Confirm", MB_OKCANCEL) != IDOK) {
        SetDlgItemTextW(g_page, IdcStatus, L"cancelled");
        return;
    }
    std::wstring summary = Summary(g_page);
    if (!ShowPage(dialog, g_summaryPage)) {
        EndDialog(dialog, 3);
        return;
    }
    SetDlgItemTextW(g_page, IdcStatus, summary.c_str());
    EnableWindow(GetDlgItem(dialog, IdcBack), TRUE);
    SetWindowTextW(dialog, L"Robot Fixture: done");
    g_confirmed = true;
}

void OnBrowse(HWND dialog) {
    wchar_t path[MAX_PATH] = {};
    BROWSEINFOW info{};
    info.hwndOwner = dialog;
    info.pszDisplayName = path;
    info.lpszTitle = L"请选择";
    info.ulFlags = BIF_RETURNONLYFSDIRS | BIF_RETURNFSANCESTORS | BIF_NEWDIALOGSTYLE;
    PIDLIST_ABSOLUTE chosen = SHBrowseForFolderW(&info);
    if (chosen == nullptr) {
        return;
    }
    if (SHGetPathFromIDListW(chosen, path)) {
        SetDlgItemTextW(dialog, IdcFolder, path);
    }
    CoTaskMemFree(chosen);
}

INT_PTR CALLBACK PageProcedure(HWND page, UINT message, WPARAM wParam, LPARAM choices) {
    switch (message) {
    case WM_INITDIALOG:
        if (choices) {
            InitPage(page);
        }
        return TRUE;
    case WM_COMMAND:
        if (LOWORD(wParam) == IdcBrowse) {
            OnBrowse(page);
            return TRUE;
        }
        return FALSE;
    default:
        return FALSE;
    }
}

INT_PTR CALLBACK FrameProcedure(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
    switch (message) {
    case WM_INITDIALOG: {
        HINSTANCE instance = GetModuleHandleW(nullptr);
        HICON big =
            static_cast<HICON>(LoadImageW(instance, MAKEINTRESOURCEW(128), IMAGE_ICON, 32, 32, 0));
        HICON small =
            static_cast<HICON>(LoadImageW(instance, MAKEINTRESOURCEW(128), IMAGE_ICON, 16, 16, 0));
        SendMessageW(dialog, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(big));
        SendMessageW(dialog, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(small));
        EnableWindow(GetDlgItem(dialog, IdcBack), FALSE);
        if (!ShowPage(dialog, g_choicePage)) {
            EndDialog(dialog, 3);
        }
        return TRUE;
    }
    case WM_COMMAND:
        switch (LOWORD(wParam)) {
        case IDOK:
            OnNext(dialog);
            return TRUE;
        case IDCANCEL:
            EndDialog(dialog, IDCANCEL);
            return TRUE;
        case IdcBack:
            // The choices start afresh, as Setup's pages do.
            g_confirmed = false;
            if (!ShowPage(dialog, g_choicePage)) {
                EndDialog(dialog, 3);
                return TRUE;
            }
            SetDlgItemTextW(g_page, IdcStatus, L"back");
            SetWindowTextW(dialog, L"Robot Fixture");
            EnableWindow(GetDlgItem(dialog, IdcBack), FALSE);
            return TRUE;
        default:
            return FALSE;
        }
    default:
        return FALSE;
    }
}

} // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, LPWSTR commandLine, int) {
    if (wcsstr(commandLine, L"--lcid") != nullptr) {
        // A GUI program has no console of its own; Wine hands it the
        // caller's standard output.
        std::printf("0x%04lx\n", static_cast<unsigned long>(GetUserDefaultLCID()));
        std::fflush(stdout);
        return 0;
    }
    INITCOMMONCONTROLSEX controls{};
    controls.dwSize = sizeof controls;
    controls.dwICC = ICC_WIN95_CLASSES | ICC_STANDARD_CLASSES;
    InitCommonControlsEx(&controls);
    // The shell folder browser's new style needs COM on this thread.
    HRESULT com = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);

    TemplateBuilder frame(L"Robot Fixture",
                          DS_MODALFRAME | DS_CENTER | WS_POPUP | WS_CAPTION | WS_SYSMENU,
                          WS_EX_APPWINDOW, 344, 230);
    const DWORD tab = WS_TABSTOP;
    frame.Add(L"Button", L"< Back", IdcBack, BS_PUSHBUTTON | tab, 154, 206, 50, 17);
    frame.Add(L"Button", L"Next >", IDOK, BS_DEFPUSHBUTTON | tab, 204, 206, 50, 17);
    frame.Add(L"Button", L"Cancel", IDCANCEL, BS_PUSHBUTTON | tab, 263, 206, 50, 17);
    // The page: a child dialog, part of the frame's keyboard navigation.
    TemplateBuilder dialog(L"", DS_CONTROL | WS_CHILD, WS_EX_CONTROLPARENT, 344, 200);
    dialog.Add(L"Static", L"アクションの選択", IdcJapanese, SS_LEFT, 10, 6, 150, 12);
    dialog.Add(L"Static", L"选择操作", IdcChinese, SS_LEFT, 170, 6, 150, 12);
    dialog.Add(WC_LISTVIEWW, L"", IdcModels,
               LVS_ICON | LVS_ALIGNLEFT | LVS_NOLABELWRAP | LVS_SHOWSELALWAYS | WS_BORDER | tab, 10,
               20, 324, 70);
    dialog.Add(L"Static", L"Port:", static_cast<WORD>(-1), SS_LEFT, 10, 98, 30, 10);
    dialog.Add(L"ComboBox", L"", IdcPorts, CBS_DROPDOWN | CBS_SORT | WS_VSCROLL | tab, 42, 96, 80,
               60);
    dialog.Add(L"Button", L"Use virtual printer port", IdcVirtualPort, BS_AUTOCHECKBOX | tab, 140,
               96, 110, 12);
    dialog.Add(L"Button", L"Set as default printer", IdcDefaultPrinter, BS_AUTOCHECKBOX | tab, 140,
               110, 110, 12);
    dialog.Add(L"Button", L"Enable status monitor", IdcStatusMonitor, BS_AUTOCHECKBOX | tab, 140,
               124, 110, 12);
    dialog.Add(L"Button", L"Install", IdcInstall, BS_AUTORADIOBUTTON | WS_GROUP | tab, 260, 96, 70,
               12);
    dialog.Add(L"Button", L"Uninstall", IdcUninstall, BS_AUTORADIOBUTTON, 260, 110, 70, 12);
    dialog.Add(L"Edit", L"", IdcFolder, ES_READONLY | WS_BORDER | WS_GROUP | tab, 10, 142, 200, 14);
    dialog.Add(L"Button", L"Browse", IdcBrowse, BS_PUSHBUTTON | tab, 214, 141, 60, 16);
    dialog.Add(L"Static", L"ready", IdcStatus, SS_LEFT, 10, 162, 324, 30);
    // The summary page reuses ids of the choices, as Setup's pages do.
    TemplateBuilder summary(L"", DS_CONTROL | WS_CHILD, WS_EX_CONTROLPARENT, 344, 200);
    summary.Add(L"Button", L"Summary", IdcStatusMonitor, BS_GROUPBOX, 10, 10, 324, 60);
    summary.Add(L"Static", L"", IdcStatus, SS_LEFT, 20, 24, 304, 40);
    g_choicePage = dialog.Get();
    g_summaryPage = summary.Get();

    INT_PTR result = DialogBoxIndirectParamW(instance, frame.Get(), nullptr, FrameProcedure, 0);
    if (SUCCEEDED(com)) {
        CoUninitialize();
    }
    return static_cast<int>(result);
}
