// A dialog from one of the program's templates, modal or as a modeless
// child. One static procedure hands every message to the object that rides
// on the window from WM_INITDIALOG on.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "platform/UserInterface.h"

class CDataExchange;

class CDialogEx {
  public:
    // The template of the given id from the program's resources.
    explicit CDialogEx(std::uint16_t templateId, platform::WindowHandle parent = nullptr);
    CDialogEx(const platform::DialogTemplate& dialogTemplate, platform::WindowHandle parent);
    virtual ~CDialogEx();
    CDialogEx(const CDialogEx&) = delete;
    CDialogEx& operator=(const CDialogEx&) = delete;

    // Runs the dialog modally: its EndDialog result, or -1 when it could
    // not be created.
    std::intptr_t DoModal();
    // Creates the dialog modeless, as a child of parent when its template says so.
    bool Create(platform::WindowHandle parent);
    bool DestroyWindow();
    void EndDialog(std::intptr_t result);

    platform::WindowHandle GetSafeHwnd() const { return m_window; }
    platform::WindowHandle GetParentWindow() const { return m_parent; }
    // The control, or nullptr when the dialog has no control of that id.
    platform::WindowHandle GetDlgItem(std::int32_t id) const;
    bool SetDlgItemText(std::int32_t id, std::u16string_view text);
    // Data exchange between the members and the controls: true when every
    // bound control was there.
    bool UpdateData(bool saveAndValidate = true);
    // The answer, or 0 when no box could be shown.
    std::intptr_t MessageBox(std::u16string_view text, std::u16string_view caption,
                             std::uint32_t type);

    static std::intptr_t Procedure(platform::WindowHandle window, std::uint32_t message,
                                   std::uintptr_t wParam, std::intptr_t lParam);

  protected:
    // Runs data exchange into the controls; true lets the dialog manager
    // set the focus.
    virtual bool OnInitDialog();
    // True when handled. IDOK and IDCANCEL go to OnOK and OnCancel.
    virtual bool OnCommand(std::uint16_t id, std::uint16_t code);
    // True when handled; the notification's result is then 0.
    virtual bool OnNotify(const platform::NotifyHeader& header);
    // True when the dialog painted itself; else the dialog manager paints.
    virtual bool OnPaint();
    // The icon shown while the minimised window is dragged, or nullptr.
    virtual platform::IconHandle OnQueryDragIcon();
    // True when handled; else the dialog manager turns it into IDCANCEL.
    virtual bool OnClose();
    // Data exchange from the controls, then the end with IDOK.
    virtual void OnOK();
    virtual void OnCancel();
    virtual void DoDataExchange(CDataExchange& exchange);

  private:
    std::intptr_t OnMessage(std::uint32_t message, std::uintptr_t wParam, std::intptr_t lParam);

    const platform::DialogTemplate* m_template;
    platform::WindowHandle m_parent;
    platform::WindowHandle m_window = nullptr;
};
