// The simulated desktop's window calls: dialogs from templates, the
// windows' data, geometry, and the messages the standard controls answer.
#include <algorithm>

#include "platform/UserInterface.h"
#include "platform/sim/SimDesktopState.h"
#include "platform/sim/SimFaults.h"
#include "platform/sim/SimText.h"
#include "platform/sim/SimThreads.h"

namespace platform {
namespace {

using namespace platform::sim;

// A modal loop or box with no action left on the driver: nobody will ever answer.
constexpr WinError ErrorNobodyAnswers = 1223; // ERROR_CANCELLED

Status InvalidWindow() {
    return Failure(ErrorInvalidWindowHandle);
}

bool LessIgnoringCase(std::u16string_view a, std::u16string_view b) {
    return std::lexicographical_compare(
        a.begin(), a.end(), b.begin(), b.end(),
        [](char16_t x, char16_t y) { return FoldCase(x) < FoldCase(y); });
}

WindowHandle CreateFromTemplate(const DialogTemplate& dialog, WindowHandle parent,
                                DialogProcedure procedure, std::intptr_t initParam, bool modal) {
    WindowHandle handle = NewHandle();
    WindowRecord record;
    record.data.handle = handle;
    record.data.className = std::u16string(ClassDialog);
    record.data.templateId = dialog.id;
    record.data.text = std::u16string(dialog.caption);
    record.data.style = dialog.style;
    record.data.exStyle = dialog.exStyle | ((dialog.style & DsModalFrame) ? WsExDlgModalFrame : 0);
    record.data.enabled = !(dialog.style & WsDisabled);
    record.pointSize = dialog.pointSize;
    Rect client = PlaceInPixels(dialog.pointSize, dialog.x, dialog.y, dialog.cx, dialog.cy);
    Insets insets = NonClient(record.data.style, record.data.exStyle);
    std::int32_t width = client.Width() + insets.left + insets.right;
    std::int32_t height = client.Height() + insets.top + insets.bottom;
    record.data.rect = {client.left, client.top, client.left + width, client.top + height};
    record.parent = parent;
    record.procedure = procedure;
    record.modal = modal;
    record.dirty = true;
    Desktop().windows.emplace(handle, std::move(record));
    if (parent && (dialog.style & WsChild))
        FindWindow(parent)->children.push_back(handle);

    WindowHandle firstTabStop = nullptr;
    for (const DialogControl& control : dialog.controls) {
        WindowHandle controlHandle = NewHandle();
        WindowRecord child;
        child.data.handle = controlHandle;
        child.data.className = std::u16string(control.className);
        child.data.id = control.id;
        child.data.text = std::u16string(control.text);
        child.data.style = control.style;
        child.data.exStyle = control.exStyle;
        child.data.visible = control.style & WsVisible;
        child.data.enabled = !(control.style & WsDisabled);
        child.data.rect =
            PlaceInPixels(dialog.pointSize, control.x, control.y, control.cx, control.cy);
        child.parent = handle;
        Desktop().windows.emplace(controlHandle, std::move(child));
        FindWindow(handle)->children.push_back(controlHandle);
        if (!firstTabStop && (control.style & WsTabStop) && !(control.style & WsDisabled))
            firstTabStop = controlHandle;
    }

    CallProcedure(handle, WmSetFont, 0, 0);
    std::intptr_t setFocus = CallProcedure(
        handle, WmInitDialog, reinterpret_cast<std::uintptr_t>(firstTabStop), initParam);
    WindowRecord* created = FindWindow(handle);
    if (!created)
        return nullptr;
    if (setFocus && firstTabStop && FindWindow(firstTabStop))
        Desktop().focus = firstTabStop;
    if (dialog.style & WsVisible)
        created->data.visible = true;
    return handle;
}

// Sorted combo boxes keep their list in order without regard to case.
std::intptr_t ComboBoxMessage(WindowRecord& box, std::uint32_t message, std::uintptr_t wParam,
                              std::intptr_t lParam) {
    std::vector<std::u16string>& items = box.data.items;
    auto count = static_cast<std::intptr_t>(items.size());
    auto inRange = [&](std::uintptr_t index) { return index < items.size(); };
    switch (message) {
    case CbAddString: {
        std::u16string text(reinterpret_cast<const char16_t*>(lParam));
        auto at = items.end();
        if (box.data.style & CbsSort)
            at = std::upper_bound(items.begin(), items.end(), text, LessIgnoringCase);
        at = items.insert(at, std::move(text));
        std::intptr_t index = at - items.begin();
        if (box.data.selection >= index)
            ++box.data.selection;
        return index;
    }
    case CbGetCount:
        return count;
    case CbGetCurSel:
        return box.data.selection;
    case CbGetLbTextLen:
        return inRange(wParam) ? static_cast<std::intptr_t>(items[wParam].size()) : CbErr;
    case CbGetLbText: {
        if (!inRange(wParam))
            return CbErr;
        auto* buffer = reinterpret_cast<char16_t*>(lParam);
        std::copy(items[wParam].begin(), items[wParam].end(), buffer);
        buffer[items[wParam].size()] = u'\0';
        return static_cast<std::intptr_t>(items[wParam].size());
    }
    case CbResetContent:
        items.clear();
        box.data.selection = -1;
        box.data.text.clear();
        return 0;
    case CbSetCurSel:
        if (!inRange(wParam)) {
            box.data.selection = -1;
            box.data.text.clear();
            return CbErr;
        }
        box.data.selection = static_cast<std::int32_t>(wParam);
        box.data.text = items[wParam];
        return box.data.selection;
    default:
        return 0;
    }
}

} // namespace

Status SetDefaultDllDirectories(std::uint32_t directoryFlags) {
    if (WinError fault = TakeFault("SetDefaultDllDirectories"))
        return Failure(fault);
    if (directoryFlags == 0)
        return Failure(ErrorInvalidParameter);
    return {};
}

Status InitCommonControlsEx(std::uint32_t) {
    if (WinError fault = TakeFault("InitCommonControlsEx"))
        return Failure(fault);
    return {};
}

Outcome<WindowHandle> CreateDialogIndirectParamW(const DialogTemplate& dialog, WindowHandle parent,
                                                 DialogProcedure procedure,
                                                 std::intptr_t initParam) {
    if (WinError fault = TakeFault("CreateDialogIndirectParamW"))
        return Outcome<WindowHandle>::Failure(fault);
    if (parent && !FindWindow(parent))
        return Outcome<WindowHandle>::Failure(ErrorInvalidWindowHandle);
    WindowHandle handle = CreateFromTemplate(dialog, parent, procedure, initParam, false);
    if (!handle)
        return Outcome<WindowHandle>::Failure(ErrorInvalidWindowHandle);
    return handle;
}

Outcome<std::intptr_t> DialogBoxIndirectParamW(const DialogTemplate& dialog, WindowHandle owner,
                                               DialogProcedure procedure, std::intptr_t initParam) {
    if (WinError fault = TakeFault("DialogBoxIndirectParamW"))
        return Outcome<std::intptr_t>(-1, fault);
    if (owner && !FindWindow(owner))
        return Outcome<std::intptr_t>(-1, ErrorInvalidWindowHandle);
    bool ownerWasEnabled = false;
    if (WindowRecord* ownerRecord = FindWindow(owner)) {
        ownerWasEnabled = ownerRecord->data.enabled;
        ownerRecord->data.enabled = false;
    }
    Desktop().modalStack.push_back(nullptr);
    WindowHandle handle = CreateFromTemplate(dialog, owner, procedure, initParam, true);
    Desktop().modalStack.back() = handle;
    auto running = [handle] {
        WindowRecord* record = FindWindow(handle);
        return record && !record->ended;
    };
    WinError error = ErrorSuccess;
    if (running()) {
        FindWindow(handle)->data.visible = true;
        FindWindow(handle)->dirty = true;
    }
    while (running()) {
        PaintDirtyWindows();
        WaitUntil([running] { return !Desktop().actions.empty() || !running(); });
        if (!running())
            break;
        if (Desktop().actions.empty()) {
            error = ErrorNobodyAnswers;
            break;
        }
        UserAction action = Desktop().actions.front();
        Desktop().actions.pop_front();
        PerformAction(action);
    }
    std::intptr_t result = -1;
    if (WindowRecord* record = FindWindow(handle); record && error == ErrorSuccess)
        result = record->result;
    DestroyTree(handle);
    std::erase(Desktop().modalStack, handle);
    std::erase(Desktop().modalStack, nullptr);
    if (WindowRecord* ownerRecord = FindWindow(owner))
        ownerRecord->data.enabled = ownerWasEnabled;
    if (!handle)
        return Outcome<std::intptr_t>(-1, ErrorInvalidWindowHandle);
    return Outcome<std::intptr_t>(result, error);
}

Status EndDialog(WindowHandle dialog, std::intptr_t result) {
    WindowRecord* record = FindWindow(dialog);
    if (!record)
        return InvalidWindow();
    if (record->modal) {
        record->ended = true;
        record->result = result;
    }
    // A modeless dialog is only hidden, as on Windows.
    record->data.visible = false;
    return {};
}

Status DestroyWindow(WindowHandle window) {
    if (WinError fault = TakeFault("DestroyWindow"))
        return Failure(fault);
    WindowRecord* record = FindWindow(window);
    if (!record)
        return InvalidWindow();
    if (record->modal) {
        record->ended = true;
        return {};
    }
    DestroyTree(window);
    return {};
}

bool IsWindow(WindowHandle window) {
    return FindWindow(window) != nullptr;
}

Outcome<std::intptr_t> SendMessageW(WindowHandle window, std::uint32_t message,
                                    std::uintptr_t wParam, std::intptr_t lParam) {
    WindowRecord* record = FindWindow(window);
    if (!record)
        return Outcome<std::intptr_t>::Failure(ErrorInvalidWindowHandle);
    if (record->procedure) {
        std::intptr_t answer = CallProcedure(window, message, wParam, lParam);
        record = FindWindow(window);
        if (!record)
            return answer;
        if (message == WmSetIcon && answer == 0) {
            IconHandle& slot = wParam == IconBig ? record->data.bigIcon : record->data.smallIcon;
            IconHandle before = slot;
            slot = reinterpret_cast<IconHandle>(lParam);
            return reinterpret_cast<std::intptr_t>(before);
        }
        if (message == WmClose && answer == 0) {
            // The dialog manager turns the close box into Cancel unless Cancel is disabled.
            auto cancel = GetDlgItem(window, static_cast<std::int32_t>(IdCancel));
            if (!cancel || IsWindowEnabled(cancel.value))
                CallProcedure(window, WmCommand, static_cast<std::uintptr_t>(IdCancel),
                              reinterpret_cast<std::intptr_t>(cancel.value));
        }
        return answer;
    }
    if (record->data.className == ClassButton) {
        switch (message) {
        case BmGetCheck:
            return record->data.check;
        case BmSetCheck:
            record->data.check = static_cast<std::intptr_t>(wParam);
            return 0;
        case BmClick:
            ClickButton(window);
            return 0;
        default:
            return 0;
        }
    }
    if (record->data.className == ClassComboBox)
        return ComboBoxMessage(*record, message, wParam, lParam);
    return 0;
}

Outcome<std::u16string> GetWindowTextW(WindowHandle window) {
    WindowRecord* record = FindWindow(window);
    if (!record)
        return Outcome<std::u16string>::Failure(ErrorInvalidWindowHandle);
    return record->data.text;
}

Status SetWindowTextW(WindowHandle window, std::u16string_view text) {
    if (WinError fault = TakeFault("SetWindowTextW"))
        return Failure(fault);
    WindowRecord* record = FindWindow(window);
    if (!record)
        return InvalidWindow();
    record->data.text = std::u16string(text);
    return {};
}

Outcome<WindowHandle> GetDlgItem(WindowHandle dialog, std::int32_t id) {
    WindowRecord* record = FindWindow(dialog);
    if (!record)
        return Outcome<WindowHandle>::Failure(ErrorInvalidWindowHandle);
    for (WindowHandle child : record->children)
        if (FindWindow(child)->data.id == id)
            return child;
    return Outcome<WindowHandle>::Failure(ErrorControlIdNotFound);
}

Outcome<WindowHandle> GetWindow(WindowHandle window, std::uint32_t relation) {
    WindowRecord* record = FindWindow(window);
    if (!record)
        return Outcome<WindowHandle>::Failure(ErrorInvalidWindowHandle);
    if (relation == GwChild)
        return record->children.empty() ? nullptr : record->children.front();
    if (relation == GwHwndNext) {
        WindowRecord* parent = FindWindow(record->parent);
        if (!parent || !(record->data.style & WsChild))
            return Outcome<WindowHandle>(nullptr);
        auto at = std::find(parent->children.begin(), parent->children.end(), window);
        if (at == parent->children.end() || at + 1 == parent->children.end())
            return Outcome<WindowHandle>(nullptr);
        return *(at + 1);
    }
    return Outcome<WindowHandle>::Failure(ErrorInvalidParameter);
}

Outcome<std::intptr_t> GetWindowLongPtrW(WindowHandle window, WindowLong index) {
    WindowRecord* record = FindWindow(window);
    if (!record)
        return Outcome<std::intptr_t>::Failure(ErrorInvalidWindowHandle);
    switch (index) {
    case WindowLong::Style:
        return static_cast<std::intptr_t>(record->data.style |
                                          (record->data.visible ? WsVisible : 0));
    case WindowLong::ExStyle:
        return static_cast<std::intptr_t>(record->data.exStyle);
    case WindowLong::Id:
        return static_cast<std::intptr_t>(record->data.id);
    case WindowLong::DialogUser:
        if (!record->procedure)
            return Outcome<std::intptr_t>::Failure(ErrorInvalidParameter);
        return record->dialogUser;
    }
    return Outcome<std::intptr_t>::Failure(ErrorInvalidParameter);
}

Outcome<std::intptr_t> SetWindowLongPtrW(WindowHandle window, WindowLong index,
                                         std::intptr_t value) {
    WindowRecord* record = FindWindow(window);
    if (!record)
        return Outcome<std::intptr_t>::Failure(ErrorInvalidWindowHandle);
    std::intptr_t before = 0;
    switch (index) {
    case WindowLong::Style:
        before = static_cast<std::intptr_t>(record->data.style);
        record->data.style = static_cast<std::uint32_t>(value);
        break;
    case WindowLong::ExStyle:
        before = static_cast<std::intptr_t>(record->data.exStyle);
        record->data.exStyle = static_cast<std::uint32_t>(value);
        break;
    case WindowLong::Id:
        before = record->data.id;
        record->data.id = static_cast<std::int32_t>(value);
        break;
    case WindowLong::DialogUser:
        if (!record->procedure)
            return Outcome<std::intptr_t>::Failure(ErrorInvalidParameter);
        before = record->dialogUser;
        record->dialogUser = value;
        break;
    }
    return before;
}

Outcome<bool> EnableWindow(WindowHandle window, bool enable) {
    WindowRecord* record = FindWindow(window);
    if (!record)
        return Outcome<bool>::Failure(ErrorInvalidWindowHandle);
    bool wasDisabled = !record->data.enabled;
    record->data.enabled = enable;
    if (!enable && Desktop().focus == window)
        Desktop().focus = nullptr;
    return wasDisabled;
}

bool IsWindowEnabled(WindowHandle window) {
    WindowRecord* record = FindWindow(window);
    return record && record->data.enabled;
}

Outcome<bool> ShowWindow(WindowHandle window, int command) {
    WindowRecord* record = FindWindow(window);
    if (!record)
        return Outcome<bool>::Failure(ErrorInvalidWindowHandle);
    bool wasVisible = record->data.visible;
    record->data.visible = command != SwHide;
    record->dirty = true;
    return wasVisible;
}

bool IsWindowVisible(WindowHandle window) {
    WindowRecord* record = FindWindow(window);
    return record && VisibleWithAncestors(*record);
}

bool IsIconic(WindowHandle window) {
    WindowRecord* record = FindWindow(window);
    return record && record->data.iconic;
}

Outcome<WindowHandle> SetFocus(WindowHandle window) {
    WindowRecord* record = FindWindow(window);
    if (window && !record)
        return Outcome<WindowHandle>::Failure(ErrorInvalidWindowHandle);
    WindowHandle before = Desktop().focus;
    Desktop().focus = window;
    return before;
}

WindowHandle GetFocus() {
    return Desktop().focus;
}

Status MoveWindow(WindowHandle window, std::int32_t x, std::int32_t y, std::int32_t width,
                  std::int32_t height, bool repaint) {
    WindowRecord* record = FindWindow(window);
    if (!record)
        return InvalidWindow();
    record->data.rect = {x, y, x + width, y + height};
    record->dirty = record->dirty || repaint;
    return {};
}

Outcome<WindowHandle> SetParent(WindowHandle child, WindowHandle parent) {
    WindowRecord* record = FindWindow(child);
    if (!record || (parent && !FindWindow(parent)))
        return Outcome<WindowHandle>::Failure(ErrorInvalidWindowHandle);
    WindowHandle before = record->parent;
    if (record->data.style & WsChild)
        Detach(child, before);
    record->parent = parent;
    if (parent && (record->data.style & WsChild))
        FindWindow(parent)->children.push_back(child);
    return before;
}

Outcome<WindowHandle> GetParent(WindowHandle window) {
    WindowRecord* record = FindWindow(window);
    if (!record)
        return Outcome<WindowHandle>::Failure(ErrorInvalidWindowHandle);
    return record->parent;
}

Outcome<Rect> GetClientRect(WindowHandle window) {
    WindowRecord* record = FindWindow(window);
    if (!record)
        return Outcome<Rect>::Failure(ErrorInvalidWindowHandle);
    Insets insets = NonClient(record->data.style, record->data.exStyle);
    return Rect{0, 0, record->data.rect.Width() - insets.left - insets.right,
                record->data.rect.Height() - insets.top - insets.bottom};
}

Outcome<Rect> GetWindowRect(WindowHandle window) {
    WindowRecord* record = FindWindow(window);
    if (!record)
        return Outcome<Rect>::Failure(ErrorInvalidWindowHandle);
    return ScreenRect(*record);
}

Outcome<Point> ScreenToClient(WindowHandle window, Point point) {
    WindowRecord* record = FindWindow(window);
    if (!record)
        return Outcome<Point>::Failure(ErrorInvalidWindowHandle);
    Point origin = ClientOrigin(*record);
    return Point{point.x - origin.x, point.y - origin.y};
}

Outcome<Point> ClientToScreen(WindowHandle window, Point point) {
    WindowRecord* record = FindWindow(window);
    if (!record)
        return Outcome<Point>::Failure(ErrorInvalidWindowHandle);
    Point origin = ClientOrigin(*record);
    return Point{point.x + origin.x, point.y + origin.y};
}

Outcome<Rect> MapDialogRect(WindowHandle dialog, Rect rect) {
    WindowRecord* record = FindWindow(dialog);
    if (!record)
        return Outcome<Rect>::Failure(ErrorInvalidWindowHandle);
    if (!record->procedure)
        return Outcome<Rect>::Failure(ErrorInvalidParameter);
    return DialogUnitsToPixels(record->pointSize, rect);
}

} // namespace platform
