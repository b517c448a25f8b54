// The simulated desktop's state, shared by its files. No lock: only one
// simulated thread or the driver runs at a time (SimThreads.h), and dialog
// procedures call back into the desktop, so every helper re-finds a window
// after calling out.
#pragma once

#include <cstdint>
#include <deque>
#include <map>
#include <optional>
#include <set>
#include <vector>

#include "platform/sim/SimDesktop.h"

namespace platform::sim {

struct WindowRecord {
    SimWindow data;                // its children field stays empty: see children below
    WindowHandle parent = nullptr; // parent of a child window, owner of a top-level one
    std::vector<WindowHandle> children;
    DialogProcedure procedure = nullptr;
    std::intptr_t dialogUser = 0;
    std::uint16_t pointSize = 0;
    bool modal = false;
    bool ended = false;
    std::intptr_t result = 0;
    bool dirty = false; // needs WM_PAINT
};

struct DeviceContextRecord {
    WindowHandle window = nullptr;
    Point position;
    RawHandle pen = nullptr;
};

struct PenRecord {
    std::uint32_t colour = 0;
    std::int32_t width = 0;
};

struct DesktopState {
    std::uintptr_t nextHandle = 0x10000;
    std::map<WindowHandle, WindowRecord> windows;
    std::vector<WindowHandle> modalStack;
    WindowHandle focus = nullptr;
    std::deque<UserAction> actions;
    std::vector<UserAction> ignored;
    std::vector<SimMessageBox> boxes;
    std::optional<std::size_t> openBox;
    std::vector<SimFolderBrowse> browses;
    std::set<std::uint16_t> programIcons;
    CursorHandle cursor = nullptr;
    std::vector<CursorHandle> cursorHistory;
    std::map<RawHandle, int> imageLists; // image count
    std::map<RawHandle, PenRecord> pens;
    std::map<RawHandle, DeviceContextRecord> deviceContexts;
    std::map<ItemIdList, std::u16string> shellItems;
    std::set<RawHandle> shellAllocators;
};

DesktopState& Desktop();
RawHandle NewHandle();
WindowRecord* FindWindow(WindowHandle window);

struct Insets {
    std::int32_t left = 0, top = 0, right = 0, bottom = 0;
};
Insets NonClient(std::uint32_t style, std::uint32_t exStyle);
Point BaseUnits(std::uint16_t pointSize);
// Each coordinate on its own, as MapDialogRect does.
Rect DialogUnitsToPixels(std::uint16_t pointSize, Rect units);
// A position and a size in dialog units, each converted on its own as the
// dialog manager places controls.
Rect PlaceInPixels(std::uint16_t pointSize, std::int16_t x, std::int16_t y, std::int16_t cx,
                   std::int16_t cy);
// Where the window's client area starts, on the screen.
Point ClientOrigin(const WindowRecord& record);
Rect ScreenRect(const WindowRecord& record);
bool EnabledWithAncestors(const WindowRecord& record);
bool VisibleWithAncestors(const WindowRecord& record);
void Detach(WindowHandle window, WindowHandle parent);
void DestroyTree(WindowHandle window);
std::intptr_t CallProcedure(WindowHandle window, std::uint32_t message, std::uintptr_t wParam,
                            std::intptr_t lParam);
// WM_COMMAND with the control's id and the code to its parent.
void NotifyParent(WindowHandle control, std::uint16_t code);
std::vector<WindowHandle> RadioGroup(WindowHandle button);
// What a left click on the button does; false when the click goes nowhere.
bool ClickButton(WindowHandle button);
// Sends WM_PAINT to every dialog on show that needs it.
void PaintDirtyWindows();
// Carries out a person's action on the active dialog.
void PerformAction(const UserAction& action);
// Waits for the next action; none when nobody will ever act (on the driver).
std::optional<UserAction> NextAction();

inline const CursorHandle ArrowCursor = reinterpret_cast<CursorHandle>(0x7F00);
constexpr std::uintptr_t IconHandleBase = 0x70000;

} // namespace platform::sim
