// Thin wrappers of a dialog's controls: a control is its window, bound by
// data exchange or Attach; each call is one message to it.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "platform/UserInterface.h"

class CControl {
  public:
    void Attach(platform::WindowHandle window) { m_window = window; }
    platform::WindowHandle GetSafeHwnd() const { return m_window; }

    // The message's result; 0 when the window is gone.
    std::intptr_t Send(std::uint32_t message, std::uintptr_t wParam = 0,
                       std::intptr_t lParam = 0) const {
        auto answer = platform::SendMessageW(m_window, message, wParam, lParam);
        return answer ? answer.value : 0;
    }
    bool SetWindowText(std::u16string_view text) {
        return platform::SetWindowTextW(m_window, text).Ok();
    }
    std::u16string GetWindowText() const {
        auto text = platform::GetWindowTextW(m_window);
        return text ? text.value : std::u16string();
    }
    bool EnableWindow(bool enable) { return platform::EnableWindow(m_window, enable).Ok(); }
    bool IsWindowEnabled() const { return platform::IsWindowEnabled(m_window); }

  protected:
    platform::WindowHandle m_window = nullptr;
};

// Push button, check box and radio button alike: their kind is their style.
class CButton : public CControl {
  public:
    bool GetCheck() const { return Send(platform::BmGetCheck) == platform::BstChecked; }
    void SetCheck(bool on) {
        Send(platform::BmSetCheck, on ? platform::BstChecked : platform::BstUnchecked);
    }
};

class CStatic : public CControl {};

class CEdit : public CControl {};

class CComboBox : public CControl {
  public:
    // The new entry's index (its place in order for a sorted box), or CbErr.
    int AddString(std::u16string_view text) {
        std::u16string terminated(text);
        return static_cast<int>(
            Send(platform::CbAddString, 0, reinterpret_cast<std::intptr_t>(terminated.c_str())));
    }
    int GetCount() const { return static_cast<int>(Send(platform::CbGetCount)); }
    int GetCurSel() const { return static_cast<int>(Send(platform::CbGetCurSel)); }
    // -1 clears the selection; the result is then CbErr.
    int SetCurSel(int index) {
        return static_cast<int>(Send(platform::CbSetCurSel, static_cast<std::uintptr_t>(index)));
    }
    // The entry's text; empty for an index out of range.
    std::u16string GetLBText(int index) const;
};

class CListCtrl : public CControl {
  public:
    int InsertItem(int index, std::u16string_view text) {
        auto at = platform::ListView_InsertItem(m_window, index, text);
        return at ? at.value : -1;
    }
    // The text as a buffer of bufferChars characters receives it.
    std::u16string GetItemText(int index, std::size_t bufferChars) const {
        auto text = platform::ListView_GetItemText(m_window, index, bufferChars);
        return text ? text.value : std::u16string();
    }
    int GetItemCount() const {
        auto count = platform::ListView_GetItemCount(m_window);
        return count ? count.value : 0;
    }
    int GetSelectionMark() const {
        auto mark = platform::ListView_GetSelectionMark(m_window);
        return mark ? mark.value : -1;
    }
    bool SetItemState(int index, std::uint32_t state, std::uint32_t mask) {
        return platform::ListView_SetItemState(m_window, index, state, mask).Ok();
    }
    std::uint32_t GetItemState(int index, std::uint32_t mask) const {
        auto state = platform::ListView_GetItemState(m_window, index, mask);
        return state ? state.value : 0;
    }
    bool SetImageList(platform::RawHandle imageList, int kind) {
        return platform::ListView_SetImageList(m_window, imageList, kind).Ok();
    }
};
