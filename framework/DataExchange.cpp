#include "framework/DataExchange.h"

#include <vector>

#include "framework/CDialogEx.h"
#include "framework/Controls.h"

using namespace platform;

WindowHandle CDataExchange::Control(std::int32_t id) {
    WindowHandle control = m_dialog.GetDlgItem(id);
    if (!control)
        m_failed = true;
    return control;
}

namespace {

std::uint32_t StyleOf(WindowHandle window) {
    auto style = GetWindowLongPtrW(window, WindowLong::Style);
    return style ? static_cast<std::uint32_t>(style.value) : 0;
}

std::vector<WindowHandle> RadioGroup(WindowHandle first) {
    std::vector<WindowHandle> group{first};
    for (auto next = GetWindow(first, GwHwndNext); next && next.value;
         next = GetWindow(next.value, GwHwndNext)) {
        std::uint32_t style = StyleOf(next.value);
        if (style & WsGroup)
            break;
        if ((style & BsKindMask) == BsAutoRadioButton)
            group.push_back(next.value);
    }
    return group;
}

} // namespace

void ExchangeRadio(CDataExchange& exchange, std::int32_t firstId, int& value) {
    WindowHandle first = exchange.Control(firstId);
    if (!first)
        return;
    std::vector<WindowHandle> group = RadioGroup(first);
    if (exchange.Saving()) {
        value = -1;
        for (std::size_t i = 0; i < group.size(); ++i) {
            auto check = SendMessageW(group[i], BmGetCheck, 0, 0);
            exchange.Expect(check.Ok());
            if (check && check.value == BstChecked)
                value = static_cast<int>(i);
        }
        return;
    }
    for (std::size_t i = 0; i < group.size(); ++i)
        exchange.Expect(SendMessageW(group[i], BmSetCheck,
                                     static_cast<int>(i) == value ? BstChecked : BstUnchecked, 0)
                            .Ok());
}

void ExchangeCheck(CDataExchange& exchange, std::int32_t id, int& value) {
    WindowHandle box = exchange.Control(id);
    if (!box)
        return;
    if (exchange.Saving()) {
        auto check = SendMessageW(box, BmGetCheck, 0, 0);
        exchange.Expect(check.Ok());
        value = check && check.value == BstChecked ? 1 : 0;
    } else {
        exchange.Expect(SendMessageW(box, BmSetCheck, value ? BstChecked : BstUnchecked, 0).Ok());
    }
}

void ExchangeText(CDataExchange& exchange, std::int32_t id, std::u16string& value) {
    WindowHandle control = exchange.Control(id);
    if (!control)
        return;
    if (exchange.Saving()) {
        auto text = GetWindowTextW(control);
        exchange.Expect(text.Ok());
        value = text ? text.value : std::u16string();
    } else {
        exchange.Expect(SetWindowTextW(control, value).Ok());
    }
}

void ExchangeControl(CDataExchange& exchange, std::int32_t id, CControl& control) {
    if (control.GetSafeHwnd())
        return;
    if (WindowHandle window = exchange.Control(id))
        control.Attach(window);
}
