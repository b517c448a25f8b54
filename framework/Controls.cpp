#include "framework/Controls.h"

using namespace platform;

std::u16string CComboBox::GetLBText(int index) const {
    std::intptr_t length = Send(CbGetLbTextLen, static_cast<std::uintptr_t>(index));
    if (length == CbErr || length < 0)
        return {};
    std::u16string text(static_cast<std::size_t>(length) + 1, u'\0');
    std::intptr_t copied = Send(CbGetLbText, static_cast<std::uintptr_t>(index),
                                reinterpret_cast<std::intptr_t>(text.data()));
    if (copied == CbErr || copied < 0)
        return {};
    text.resize(static_cast<std::size_t>(copied));
    return text;
}
