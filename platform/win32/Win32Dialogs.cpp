// Dialogs from the seam's templates: each template becomes a DLGTEMPLATEEX
// in memory, and one procedure of the platform's calling convention hands
// the messages to the seam's procedure kept on the window.
// The seam's header first: the SDK's macros of the same names must not reach it.
#include "platform/UserInterface.h"

#include <cstring>
#include <vector>

#include <windows.h>

#include <commctrl.h>

#include "platform/win32/Win32Error.h"

namespace platform {
namespace {

// The template as the dialog manager reads it: 16-bit units, every item
// starting on a 32-bit boundary.
class CTemplateWriter {
  public:
    void Word(std::uint16_t value) { m_units.push_back(value); }
    void DoubleWord(std::uint32_t value) {
        Word(static_cast<std::uint16_t>(value & 0xFFFF));
        Word(static_cast<std::uint16_t>(value >> 16));
    }
    void Text(std::u16string_view text) {
        for (char16_t c : text)
            Word(static_cast<std::uint16_t>(c));
        Word(0);
    }
    void Align() {
        if (m_units.size() % 2)
            Word(0);
    }
    std::uint16_t* Data() { return m_units.data(); }
    std::size_t Size() const { return m_units.size(); }

  private:
    std::vector<std::uint16_t> m_units;
};

// Kept in 32-bit units so the buffer itself starts aligned.
std::vector<std::uint32_t> BuildTemplate(const DialogTemplate& dialog) {
    CTemplateWriter writer;
    writer.Word(1);       // dlgVer
    writer.Word(0xFFFF);  // signature: the extended template
    writer.DoubleWord(0); // helpID
    writer.DoubleWord(dialog.exStyle);
    writer.DoubleWord(dialog.style);
    writer.Word(static_cast<std::uint16_t>(dialog.controls.size()));
    writer.Word(static_cast<std::uint16_t>(dialog.x));
    writer.Word(static_cast<std::uint16_t>(dialog.y));
    writer.Word(static_cast<std::uint16_t>(dialog.cx));
    writer.Word(static_cast<std::uint16_t>(dialog.cy));
    writer.Word(0); // no menu
    writer.Word(0); // the dialog class
    writer.Text(dialog.caption);
    if (dialog.style & DsSetFont) {
        writer.Word(dialog.pointSize);
        writer.Word(FW_NORMAL);
        writer.Word(0); // not italic, default character set
        writer.Text(dialog.fontName);
    }
    for (const DialogControl& control : dialog.controls) {
        writer.Align();
        writer.DoubleWord(0); // helpID
        writer.DoubleWord(control.exStyle);
        writer.DoubleWord(control.style);
        writer.Word(static_cast<std::uint16_t>(control.x));
        writer.Word(static_cast<std::uint16_t>(control.y));
        writer.Word(static_cast<std::uint16_t>(control.cx));
        writer.Word(static_cast<std::uint16_t>(control.cy));
        writer.DoubleWord(static_cast<std::uint32_t>(control.id));
        writer.Text(control.className);
        writer.Text(control.text);
        writer.Word(0); // no creation data
    }
    writer.Align();
    std::vector<std::uint32_t> aligned(writer.Size() / 2);
    std::memcpy(aligned.data(), writer.Data(), writer.Size() * sizeof(std::uint16_t));
    return aligned;
}

struct DialogStart {
    DialogProcedure procedure;
    std::intptr_t initParam;
};

// The seam's procedure rides on the window's user data from WM_INITDIALOG
// on; the dialog's own DWLP_USER stays free for the dialog's object.
INT_PTR CALLBACK PlatformProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_INITDIALOG) {
        auto* start = reinterpret_cast<DialogStart*>(lParam);
        ::SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(start->procedure));
        lParam = start->initParam;
    }
    auto procedure = reinterpret_cast<DialogProcedure>(::GetWindowLongPtrW(window, GWLP_USERDATA));
    if (!procedure)
        return FALSE;
    return procedure(window, message, wParam, lParam);
}

} // namespace

Outcome<WindowHandle> CreateDialogIndirectParamW(const DialogTemplate& dialog, WindowHandle parent,
                                                 DialogProcedure procedure,
                                                 std::intptr_t initParam) {
    std::vector<std::uint32_t> memory = BuildTemplate(dialog);
    DialogStart start{procedure, initParam};
    HWND window = ::CreateDialogIndirectParamW(
        ::GetModuleHandleW(nullptr), reinterpret_cast<LPCDLGTEMPLATEW>(memory.data()),
        static_cast<HWND>(parent), PlatformProcedure, reinterpret_cast<LPARAM>(&start));
    if (!window)
        return Outcome<WindowHandle>::Failure(win32::LastError());
    return static_cast<WindowHandle>(window);
}

Outcome<std::intptr_t> DialogBoxIndirectParamW(const DialogTemplate& dialog, WindowHandle owner,
                                               DialogProcedure procedure, std::intptr_t initParam) {
    std::vector<std::uint32_t> memory = BuildTemplate(dialog);
    DialogStart start{procedure, initParam};
    INT_PTR result = ::DialogBoxIndirectParamW(
        ::GetModuleHandleW(nullptr), reinterpret_cast<LPCDLGTEMPLATEW>(memory.data()),
        static_cast<HWND>(owner), PlatformProcedure, reinterpret_cast<LPARAM>(&start));
    if (result == -1)
        return Outcome<std::intptr_t>(-1, win32::LastError());
    return static_cast<std::intptr_t>(result);
}

Status EndDialog(WindowHandle dialog, std::intptr_t result) {
    return win32::StatusOf(::EndDialog(static_cast<HWND>(dialog), result));
}

Status SetDefaultDllDirectories(std::uint32_t directoryFlags) {
    return win32::StatusOf(::SetDefaultDllDirectories(directoryFlags));
}

Status InitCommonControlsEx(std::uint32_t classes) {
    INITCOMMONCONTROLSEX init{sizeof(init), classes};
    return win32::StatusOf(::InitCommonControlsEx(&init));
}

} // namespace platform
