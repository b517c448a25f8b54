// What a person does on the simulated desktop, and what the person sees:
// the action queue, the modal waits for it (message boxes, the folder
// browser), painting, and the inspection the tests use.
#include <algorithm>

#include "platform/UserInterface.h"
#include "platform/sim/SimDesktop.h"
#include "platform/sim/SimDesktopState.h"
#include "platform/sim/SimFaults.h"
#include "platform/sim/SimThreads.h"

namespace platform::sim {
namespace {

constexpr WinError ErrorNobodyAnswers = 1223; // ERROR_CANCELLED

std::optional<WindowHandle> ActiveWindow() {
    for (auto it = Desktop().modalStack.rbegin(); it != Desktop().modalStack.rend(); ++it)
        if (WindowRecord* record = FindWindow(*it); record && record->data.visible)
            return *it;
    std::optional<WindowHandle> last;
    for (auto& [handle, record] : Desktop().windows)
        if (!(record.data.style & WsChild) && record.data.visible && record.procedure)
            last = handle;
    return last;
}

std::optional<WindowHandle> FindDescendant(WindowHandle root, std::int32_t id) {
    WindowRecord* record = FindWindow(root);
    if (!record)
        return std::nullopt;
    for (WindowHandle child : record->children) {
        WindowRecord* childRecord = FindWindow(child);
        if (!childRecord->data.visible)
            continue;
        if (childRecord->data.id == id)
            return child;
        if (auto inner = FindDescendant(child, id))
            return inner;
    }
    return std::nullopt;
}

std::optional<WindowHandle> DefaultButton(WindowHandle root) {
    WindowRecord* record = FindWindow(root);
    if (!record)
        return std::nullopt;
    for (WindowHandle child : record->children) {
        WindowRecord* button = FindWindow(child);
        if (button->data.className == ClassButton &&
            (button->data.style & BsKindMask) == BsDefPushButton)
            return child;
    }
    return std::nullopt;
}

void Ignore(const UserAction& action) {
    Desktop().ignored.push_back(action);
}

void SendCommand(WindowHandle dialog, std::intptr_t id, WindowHandle control) {
    CallProcedure(dialog, WmCommand, static_cast<std::uintptr_t>(id) & 0xFFFF,
                  reinterpret_cast<std::intptr_t>(control));
}

void SelectItem(WindowRecord& list, const UserAction& action) {
    std::vector<SimListItem>& items = list.data.listItems;
    if (action.index >= static_cast<std::int32_t>(items.size())) {
        Ignore(action);
        return;
    }
    std::vector<std::size_t> changed;
    for (std::size_t i = 0; i < items.size(); ++i) {
        bool chosen = static_cast<std::int32_t>(i) == action.index;
        std::uint32_t state = items[i].state & ~(LvisSelected | LvisFocused);
        if (chosen)
            state |= LvisSelected | LvisFocused;
        if (state != items[i].state)
            changed.push_back(i);
        items[i].state = state;
    }
    if (action.index >= 0)
        list.data.selectionMark = action.index;
    WindowHandle handle = list.data.handle;
    WindowHandle parent = list.parent;
    std::uintptr_t id = static_cast<std::uint32_t>(list.data.id);
    for (std::size_t i = 0; i < changed.size(); ++i) {
        NotifyHeader header{handle, id, LvnItemChanged};
        CallProcedure(parent, WmNotify, id, reinterpret_cast<std::intptr_t>(&header));
    }
}

void PerformOn(WindowHandle active, const UserAction& action) {
    switch (action.kind) {
    case ActionKind::Click: {
        auto control = FindDescendant(active, action.id);
        if (!control || !ClickButton(*control))
            Ignore(action);
        return;
    }
    case ActionKind::Enter: {
        auto button = DefaultButton(active);
        if (!button) {
            SendCommand(active, IdOk, nullptr);
        } else if (EnabledWithAncestors(*FindWindow(*button))) {
            SendCommand(active, FindWindow(*button)->data.id, *button);
        } else {
            Ignore(action);
        }
        return;
    }
    case ActionKind::Escape: {
        auto cancel = GetDlgItem(active, static_cast<std::int32_t>(IdCancel));
        SendCommand(active, IdCancel, cancel.value);
        return;
    }
    case ActionKind::CloseBox:
        SendMessageW(active, WmClose, 0, 0);
        return;
    case ActionKind::SelectItem: {
        auto control = FindDescendant(active, action.id);
        WindowRecord* list = control ? FindWindow(*control) : nullptr;
        if (!list || list->data.className != ClassListView || !EnabledWithAncestors(*list))
            Ignore(action);
        else
            SelectItem(*list, action);
        return;
    }
    case ActionKind::SelectCombo: {
        auto control = FindDescendant(active, action.id);
        WindowRecord* box = control ? FindWindow(*control) : nullptr;
        if (!box || box->data.className != ClassComboBox || !EnabledWithAncestors(*box) ||
            action.index < 0 || action.index >= static_cast<std::int32_t>(box->data.items.size())) {
            Ignore(action);
            return;
        }
        box->data.selection = action.index;
        box->data.text = box->data.items[static_cast<std::size_t>(action.index)];
        constexpr std::uint16_t CbnSelChange = 1;
        NotifyParent(*control, CbnSelChange);
        return;
    }
    case ActionKind::Minimise: {
        WindowRecord* record = FindWindow(active);
        record->data.iconic = true;
        record->dirty = true;
        return;
    }
    case ActionKind::Answer:
    case ActionKind::ChooseFolder:
    case ActionKind::CancelFolder:
        Ignore(action);
        return;
    }
}

void Paint(WindowHandle window) {
    WindowRecord* record = FindWindow(window);
    if (!record)
        return;
    std::vector<WindowHandle> children = record->children;
    if (record->dirty && record->procedure && VisibleWithAncestors(*record)) {
        record->dirty = false;
        if (CallProcedure(window, WmPaint, 0, 0) == 0) {
            // The dialog manager's own painting: nothing drawn.
            if (WindowRecord* painted = FindWindow(window)) {
                painted->data.lines.clear();
                painted->data.icons.clear();
            }
        }
    }
    for (WindowHandle child : children)
        Paint(child);
}

SimWindow SnapshotOf(WindowHandle window) {
    WindowRecord* record = FindWindow(window);
    SimWindow copy = record->data;
    copy.visible = record->data.visible;
    copy.focused = Desktop().focus == window;
    for (WindowHandle child : record->children)
        copy.children.push_back(SnapshotOf(child));
    return copy;
}

} // namespace

void PerformAction(const UserAction& action) {
    auto active = ActiveWindow();
    if (!active) {
        Ignore(action);
        return;
    }
    PerformOn(*active, action);
}

void PaintDirtyWindows() {
    std::vector<WindowHandle> topLevel;
    for (auto& [handle, record] : Desktop().windows)
        if (!(record.data.style & WsChild))
            topLevel.push_back(handle);
    for (WindowHandle window : topLevel)
        Paint(window);
}

std::optional<UserAction> NextAction() {
    WaitUntil([] { return !Desktop().actions.empty(); });
    if (Desktop().actions.empty())
        return std::nullopt;
    UserAction action = Desktop().actions.front();
    Desktop().actions.pop_front();
    return action;
}

void ResetDesktop() {
    DesktopState& desktop = Desktop();
    desktop = DesktopState{};
    desktop.programIcons = {128, 134};
    desktop.cursor = ArrowCursor;
}

void SetProgramIcons(std::vector<std::uint16_t> ids) {
    Desktop().programIcons = {ids.begin(), ids.end()};
}

void Queue(UserAction action) {
    Desktop().actions.push_back(std::move(action));
}

bool Settle() {
    // Every simulated thread runs until it waits for something not yet
    // there: the program then waits for the person's next action.
    RunFor(0);
    return Desktop().actions.empty();
}

namespace {
bool Act(ActionKind kind, std::int32_t id = 0, std::int32_t index = -1, std::u16string path = {}) {
    UserAction action;
    action.kind = kind;
    action.id = id;
    action.index = index;
    action.path = std::move(path);
    Queue(std::move(action));
    return Settle();
}
} // namespace

bool Click(std::int32_t controlId) {
    return Act(ActionKind::Click, controlId);
}
bool PressEnter() {
    return Act(ActionKind::Enter);
}
bool PressEscape() {
    return Act(ActionKind::Escape);
}
bool CloseBox() {
    return Act(ActionKind::CloseBox);
}
bool SelectListItem(std::int32_t controlId, std::int32_t index) {
    return Act(ActionKind::SelectItem, controlId, index);
}
bool SelectComboItem(std::int32_t controlId, std::int32_t index) {
    return Act(ActionKind::SelectCombo, controlId, index);
}
bool AnswerMessageBox(std::intptr_t button) {
    return Act(ActionKind::Answer, static_cast<std::int32_t>(button));
}
bool ChooseFolder(std::u16string path) {
    return Act(ActionKind::ChooseFolder, 0, -1, std::move(path));
}
bool CancelFolderBrowser() {
    return Act(ActionKind::CancelFolder);
}

std::vector<UserAction> IgnoredActions() {
    return Desktop().ignored;
}

std::optional<WindowHandle> ActiveDialog() {
    return ActiveWindow();
}

SimWindow Snapshot(WindowHandle window) {
    if (!FindWindow(window))
        return {};
    return SnapshotOf(window);
}

std::optional<SimWindow> FindControl(std::int32_t id) {
    auto active = ActiveWindow();
    if (!active)
        return std::nullopt;
    auto control = FindDescendant(*active, id);
    if (!control)
        return std::nullopt;
    return SnapshotOf(*control);
}

std::optional<SimWindow> ShownChildDialog() {
    auto active = ActiveWindow();
    if (!active)
        return std::nullopt;
    for (WindowHandle child : FindWindow(*active)->children) {
        WindowRecord* record = FindWindow(child);
        if (record->procedure && record->data.visible)
            return SnapshotOf(child);
    }
    return std::nullopt;
}

std::vector<SimMessageBox> MessageBoxes() {
    return Desktop().boxes;
}

std::optional<SimMessageBox> OpenMessageBox() {
    if (!Desktop().openBox)
        return std::nullopt;
    return Desktop().boxes[*Desktop().openBox];
}

std::vector<SimFolderBrowse> FolderBrowses() {
    return Desktop().browses;
}

std::size_t WindowCount() {
    return Desktop().windows.size();
}

CursorHandle CurrentCursor() {
    return Desktop().cursor;
}

std::vector<CursorHandle> CursorHistory() {
    return Desktop().cursorHistory;
}

std::size_t OutstandingShellItems() {
    return Desktop().shellItems.size();
}

std::size_t OutstandingShellAllocators() {
    return Desktop().shellAllocators.size();
}

std::size_t LiveImageLists() {
    return Desktop().imageLists.size();
}

std::size_t LivePens() {
    return Desktop().pens.size();
}

} // namespace platform::sim

namespace platform {

using namespace platform::sim;

namespace {

// The answers a box of this type can give to Enter, Escape and its buttons.
struct BoxButtons {
    std::vector<std::intptr_t> buttons;
    std::optional<std::intptr_t> escape;
};

BoxButtons ButtonsOf(std::uint32_t type) {
    switch (type & MbButtonsMask) {
    case MbOkCancel:
        return {{IdOk, IdCancel}, IdCancel};
    case MbYesNo:
        return {{IdYes, IdNo}, std::nullopt};
    default:
        return {{IdOk}, IdOk};
    }
}

} // namespace

Outcome<std::intptr_t> MessageBoxW(WindowHandle owner, std::u16string_view text,
                                   std::u16string_view caption, std::uint32_t type) {
    if (WinError fault = TakeFault("MessageBoxW"))
        return Outcome<std::intptr_t>(0, fault);
    if (owner && !FindWindow(owner))
        return Outcome<std::intptr_t>(0, ErrorInvalidWindowHandle);
    Desktop().boxes.push_back({owner, std::u16string(text), std::u16string(caption), type, 0});
    std::size_t index = Desktop().boxes.size() - 1;
    std::optional<std::size_t> outer = Desktop().openBox;
    Desktop().openBox = index;
    BoxButtons buttons = ButtonsOf(type);
    std::optional<std::intptr_t> answer;
    WinError error = ErrorSuccess;
    while (!answer) {
        PaintDirtyWindows();
        std::optional<UserAction> action = NextAction();
        if (!action) {
            error = ErrorNobodyAnswers;
            break;
        }
        if (action->kind == ActionKind::Answer &&
            std::count(buttons.buttons.begin(), buttons.buttons.end(), action->id))
            answer = action->id;
        else if (action->kind == ActionKind::Enter)
            answer = buttons.buttons.front();
        else if ((action->kind == ActionKind::Escape || action->kind == ActionKind::CloseBox) &&
                 buttons.escape)
            answer = buttons.escape;
        else
            Desktop().ignored.push_back(*action); // the owner is disabled while a box is up
    }
    Desktop().boxes[index].answer = answer.value_or(0);
    Desktop().openBox = outer;
    return Outcome<std::intptr_t>(answer.value_or(0), error);
}

Outcome<ItemIdList> SHBrowseForFolderW(const BrowseInfo& info) {
    if (WinError fault = TakeFault("SHBrowseForFolderW"))
        return Outcome<ItemIdList>::Failure(fault);
    Desktop().browses.push_back({info.owner, info.title, info.flags, std::nullopt});
    std::size_t index = Desktop().browses.size() - 1;
    for (;;) {
        PaintDirtyWindows();
        std::optional<UserAction> action = NextAction();
        if (!action)
            return Outcome<ItemIdList>::Failure(ErrorNobodyAnswers);
        if (action->kind == ActionKind::ChooseFolder) {
            Desktop().browses[index].chosen = action->path;
            ItemIdList item = NewHandle();
            Desktop().shellItems.emplace(item, action->path);
            return item;
        }
        if (action->kind == ActionKind::CancelFolder || action->kind == ActionKind::Escape ||
            action->kind == ActionKind::CloseBox)
            return Outcome<ItemIdList>(nullptr);
        Desktop().ignored.push_back(*action);
    }
}

Outcome<std::u16string> SHGetPathFromIDListW(ItemIdList item) {
    if (WinError fault = TakeFault("SHGetPathFromIDListW"))
        return Outcome<std::u16string>::Failure(fault);
    auto it = Desktop().shellItems.find(item);
    // A virtual folder (no file-system path) or a path too long for the buffer.
    if (it == Desktop().shellItems.end() || it->second.empty() || it->second.size() > 259)
        return Outcome<std::u16string>::Failure(ErrorInvalidParameter);
    return it->second;
}

Outcome<ShellMalloc> SHGetMalloc() {
    if (WinError fault = TakeFault("SHGetMalloc"))
        return Outcome<ShellMalloc>::Failure(fault);
    RawHandle allocator = NewHandle();
    Desktop().shellAllocators.insert(allocator);
    return Outcome<ShellMalloc>(ShellMalloc(allocator));
}

void IMalloc_Free(const ShellMalloc&, ItemIdList item) {
    Desktop().shellItems.erase(item);
}

Status ShellMallocTraits::Close(RawHandle raw) {
    if (!Desktop().shellAllocators.erase(raw))
        return Failure(ErrorInvalidHandle);
    return {};
}

} // namespace platform
