// The simulated desktop: windows and controls as plain data, created from
// the same dialog templates as on Windows, with the same messages reaching
// the same dialog procedures.
//
// A test acts as a person would. Each action (a click, Enter, Escape, an
// answer to a message box, a choice in the folder browser) is queued; the
// program's modal loops, message boxes and folder browsers take the actions
// in order, on the program's own simulated thread (SimThreads.h). The
// action functions below queue and then run the program until it waits for
// the next action, so a test can check what is on show between two clicks;
// Queue alone lets a test lay down a whole script before the program starts.
//
// Geometry: dialog units convert to pixels with fixed base units per font
// size (8 point: 6 x 13, 9 point: 7 x 14 as Wine's fonts give, any other:
// 8 x 16); a captioned
// window has a 3-pixel frame and a 19-pixel caption, WS_BORDER adds 1 pixel
// and WS_EX_CLIENTEDGE 2. Top-level windows stand at their template
// position on the screen.
#pragma once

#include <cstdint>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "platform/UserInterface.h"

namespace platform::sim {

struct SimListItem {
    std::u16string text;
    std::uint32_t state = 0;
    friend bool operator==(const SimListItem&, const SimListItem&) = default;
};

// A line as LineTo drew it: from the current position to the end point.
struct SimLine {
    std::uint32_t colour = 0;
    std::int32_t width = 0;
    Point from, to;
    friend bool operator==(const SimLine&, const SimLine&) = default;
};

struct SimIconDraw {
    IconHandle icon = nullptr;
    Point at;
    friend bool operator==(const SimIconDraw&, const SimIconDraw&) = default;
};

struct SimWindow {
    WindowHandle handle = nullptr;
    std::u16string className;
    std::int32_t id = 0;
    std::uint16_t templateId = 0; // dialogs only
    std::u16string text;
    std::uint32_t style = 0;
    std::uint32_t exStyle = 0;
    Rect rect; // window rectangle: screen for top-level windows, else the parent's client
    bool visible = false;
    bool enabled = true;
    bool iconic = false;
    bool focused = false; // filled in snapshots only
    std::intptr_t check = BstUnchecked;
    std::vector<std::u16string> items; // combo box
    std::int32_t selection = -1;
    std::vector<SimListItem> listItems; // list view
    std::int32_t selectionMark = -1;
    RawHandle imageList = nullptr;
    IconHandle bigIcon = nullptr, smallIcon = nullptr;
    std::vector<SimLine> lines; // drawn by the last WM_PAINT
    std::vector<SimIconDraw> icons;
    std::vector<SimWindow> children; // filled in snapshots only

    friend bool operator==(const SimWindow&, const SimWindow&) = default;
};
void PrintTo(const SimWindow& window, std::ostream* out);

struct SimMessageBox {
    WindowHandle owner = nullptr;
    std::u16string text;
    std::u16string caption;
    std::uint32_t type = 0;
    std::intptr_t answer = 0; // 0 while it is open
    friend bool operator==(const SimMessageBox&, const SimMessageBox&) = default;
};
void PrintTo(const SimMessageBox& box, std::ostream* out);

struct SimFolderBrowse {
    WindowHandle owner = nullptr;
    std::u16string title;
    std::uint32_t flags = 0;
    std::optional<std::u16string> chosen; // none when cancelled or still open
    friend bool operator==(const SimFolderBrowse&, const SimFolderBrowse&) = default;
};

enum class ActionKind {
    Click,        // a left click on control `id` of the active dialog
    Enter,        // the Enter key in the active dialog
    Escape,       // the Escape key
    CloseBox,     // the window's close box
    SelectItem,   // a click on list view `id`'s item `index` (-1: on no item)
    SelectCombo,  // choosing entry `index` of combo box `id`
    Answer,       // the button `id` of the open message box
    ChooseFolder, // the folder `path` in the open folder browser
    CancelFolder, // Cancel in the open folder browser
    Minimise,     // the active dialog's minimise command
};

struct UserAction {
    ActionKind kind = ActionKind::Click;
    std::int32_t id = 0;
    std::int32_t index = -1;
    std::u16string path;
    friend bool operator==(const UserAction&, const UserAction&) = default;
};
void PrintTo(const UserAction& action, std::ostream* out);

// A new desktop: no windows, no actions, boxes or browses recorded, the
// arrow cursor, and the program's icon resources 128 and 134.
void ResetDesktop();
// The icon resource ids the program carries.
void SetProgramIcons(std::vector<std::uint16_t> ids);

// Adds the action to the queue without running anything.
void Queue(UserAction action);
// Runs the program until every queued action is taken and it waits again
// (or has ended). False when actions are left that nothing takes.
bool Settle();

// Queue one action and Settle.
bool Click(std::int32_t controlId);
bool PressEnter();
bool PressEscape();
bool CloseBox();
bool SelectListItem(std::int32_t controlId, std::int32_t index);
bool SelectComboItem(std::int32_t controlId, std::int32_t index);
bool AnswerMessageBox(std::intptr_t button);
bool ChooseFolder(std::u16string path);
bool CancelFolderBrowser();

// Actions the program had no use for (a click on a disabled or missing
// control, a click while a message box was open, ...), in order.
std::vector<UserAction> IgnoredActions();

// What a person sees. The active dialog is the innermost modal dialog on
// show, else the last visible top-level window.
std::optional<WindowHandle> ActiveDialog();
// The window and all its descendants.
SimWindow Snapshot(WindowHandle window);
// The first visible descendant of the active dialog with this id.
std::optional<SimWindow> FindControl(std::int32_t id);
// The visible child dialog of the active dialog (a wizard's page), if any.
std::optional<SimWindow> ShownChildDialog();
std::vector<SimMessageBox> MessageBoxes();
std::optional<SimMessageBox> OpenMessageBox();
std::vector<SimFolderBrowse> FolderBrowses();
// Windows alive, of every kind.
std::size_t WindowCount();
CursorHandle CurrentCursor();
CursorHandle WaitCursor();
// Items the folder browser handed out and nobody freed, allocators not released.
std::size_t OutstandingShellItems();
std::size_t OutstandingShellAllocators();
// Image lists created and not destroyed; pens likewise.
std::size_t LiveImageLists();
std::size_t LivePens();
// Cursors set while anything ran, in order.
std::vector<CursorHandle> CursorHistory();

} // namespace platform::sim
