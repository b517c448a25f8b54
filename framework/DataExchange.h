// Data exchange between a dialog's members and its controls, in both
// directions: a radio group as the index of its checked button, a check box
// as 0 or 1, a text, and a control wrapper bound to its window.
#pragma once

#include <cstdint>
#include <string>

#include "platform/UserInterface.h"

class CDialogEx;
class CControl;

class CDataExchange {
  public:
    CDataExchange(CDialogEx& dialog, bool saveAndValidate)
        : m_dialog(dialog), m_saveAndValidate(saveAndValidate) {}

    bool Saving() const { return m_saveAndValidate; }
    bool Failed() const { return m_failed; }
    // The dialog's control; a missing one fails the exchange.
    platform::WindowHandle Control(std::int32_t id);
    // A call into a control that failed fails the exchange.
    void Expect(bool succeeded) { m_failed = m_failed || !succeeded; }

  private:
    CDialogEx& m_dialog;
    bool m_saveAndValidate;
    bool m_failed = false;
};

// The group starts at firstId and runs until the next control that starts
// a group; value is the index of the checked button, -1 for none.
void ExchangeRadio(CDataExchange& exchange, std::int32_t firstId, int& value);
void ExchangeCheck(CDataExchange& exchange, std::int32_t id, int& value);
void ExchangeText(CDataExchange& exchange, std::int32_t id, std::u16string& value);
void ExchangeControl(CDataExchange& exchange, std::int32_t id, CControl& control);
