// The robot: uses a dialog program as a person would, from inside Windows
// (under Wine), through window messages. A test tool, not the product, so it
// calls Win32 directly.
//
//   Robot.exe [--shots HOOK DIR] SCRIPT
//
// SCRIPT is a UTF-8 file of commands, one a line; words are separated by
// blanks, "quoted words" may hold blanks, \" and \\ inside quotes, and \r and
// \n for a line break a control shows; # starts a comment line. Each command
// prints one line as it goes. Every wait has a time limit; on a failure the
// robot prints every window on screen with its controls, takes a screenshot
// named "failure", ends the program it started and exits with 1. Exit code 2
// is bad usage or a bad script.
//
// HOOK is a program the robot runs for a screenshot, as HOOK FILE TITLE (for
// example Z:\...\scripts\screenshot.sh, which Wine runs as a host program);
// DIR is a host folder and FILE is DIR/NN-NAME.png, which the hook must
// create only when the picture is complete.
//
// Commands (ID is a control id, decimal; MS a time limit in milliseconds):
//   start PROGRAM [ARG...]         start the program under test
//   wait-window TITLE [MS]         wait for its top-level window of that title
//   wait-class CLASS [MS]          ... or of that window class
//   wait-title TITLE [MS]          wait until the window's title is TITLE
//   expect-text ID TEXT [MS]       wait until control ID shows TEXT
//   expect-enabled ID yes|no [MS]  wait until control ID is (not) enabled
//   expect-checked ID yes|no [MS]  wait until button ID is (not) checked
//   expect-combo ID TEXT           the combo box's selected entry (TEXT may be "")
//   expect-combo-items ID A|B|...  the combo box's entries, in order
//   expect-items ID A|B|...        the list view's item texts, in order
//   expect-selected ID A|B|...     the list view's selected items ("" for none)
//   click ID                       a click on an enabled button
//   check ID yes|no                click the check box if it is not so already
//   select-combo ID TEXT           choose an entry as a person would
//   select-item ID TEXT            select a list view item (it becomes the mark)
//   deselect-item ID TEXT          deselect a list view item
//   wait-msgbox [MS]               wait for a message box of the program (of
//                                  its window, if one was waited for)
//   expect-msgbox TEXT [CAPTION]   the message box's text (and caption)
//   expect-msgbox-buttons A,B      its buttons, e.g. OK or OK,Cancel
//   answer OK|Cancel|Yes|No        press the button; waits until the box is gone
//   wait-browser [MS]              wait for the shell folder browser
//   expect-browser-text TEXT       one of its controls shows TEXT (its title)
//   browse-folder PATH [MS]        in the shell folder browser, choose PATH, OK
//   cancel-browse [MS]             cancel the shell folder browser
//   screenshot NAME                a screenshot keyed by NAME
//   wait-exit CODE|any [MS]        wait for the program to end (with CODE)
//   elapsed NAME                   print "NAME: N ms" since the last start
//   dump                           print every window on screen
//   step TEXT                      name what the next commands do, for the log;
//                                  each step's time is printed when it ends
#include <windows.h>

#include <commctrl.h>
#include <shlobj.h>

#include <cstdio>
#include <fstream>
#include <functional>
#include <sstream>
#include <string>
#include <vector>

namespace {

const DWORD DefaultWait = 20000;
const DWORD PollInterval = 50;

std::wstring Widen(const std::string& text) {
    if (text.empty()) {
        return {};
    }
    int length =
        MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
    std::wstring out(length, L'\0');
    MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), out.data(), length);
    return out;
}

std::string Narrow(const std::wstring& text) {
    if (text.empty()) {
        return {};
    }
    int length = WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()),
                                     nullptr, 0, nullptr, nullptr);
    std::string out(length, '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), out.data(), length,
                        nullptr, nullptr);
    return out;
}

// Texts shown in the log: control characters made visible.
std::string Shown(const std::wstring& text) {
    std::wstring out;
    for (wchar_t c : text) {
        if (c == L'\r') {
            out += L"\\r";
        } else if (c == L'\n') {
            out += L"\\n";
        } else {
            out += c;
        }
    }
    return "\"" + Narrow(out) + "\"";
}

void Say(const std::string& line) {
    std::string text = line + "\n";
    std::fwrite(text.data(), 1, text.size(), stdout);
    std::fflush(stdout);
}

struct Failure {
    std::string reason;
};

[[noreturn]] void Fail(const std::string& reason) {
    throw Failure{reason};
}

struct BadScript {
    std::string reason;
};

std::wstring WindowText(HWND window) {
    // WM_GETTEXT is marshalled between processes for every window.
    DWORD_PTR length = 0;
    if (!SendMessageTimeoutW(window, WM_GETTEXTLENGTH, 0, 0, SMTO_ABORTIFHUNG, 5000, &length)) {
        return L"<no answer>";
    }
    std::wstring text(length + 1, L'\0');
    DWORD_PTR copied = 0;
    SendMessageTimeoutW(window, WM_GETTEXT, length + 1, reinterpret_cast<LPARAM>(text.data()),
                        SMTO_ABORTIFHUNG, 5000, &copied);
    text.resize(copied);
    return text;
}

std::wstring ClassOf(HWND window) {
    wchar_t name[256] = {};
    GetClassNameW(window, name, 256);
    return name;
}

// Memory in the process that owns a window: the list view's messages carry
// pointers, which must point into its own address space.
class RemoteBuffer {
  public:
    RemoteBuffer(HWND window, size_t size) : m_size(size) {
        DWORD pid = 0;
        GetWindowThreadProcessId(window, &pid);
        m_process =
            OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, pid);
        if (m_process == nullptr) {
            Fail("cannot open the window's process: error " + std::to_string(GetLastError()));
        }
        m_base = static_cast<BYTE*>(
            VirtualAllocEx(m_process, nullptr, size, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE));
        if (m_base == nullptr) {
            DWORD error = GetLastError();
            CloseHandle(m_process);
            Fail("cannot allocate memory in the window's process: error " + std::to_string(error));
        }
    }
    ~RemoteBuffer() {
        VirtualFreeEx(m_process, m_base, 0, MEM_RELEASE);
        CloseHandle(m_process);
    }
    RemoteBuffer(const RemoteBuffer&) = delete;
    RemoteBuffer& operator=(const RemoteBuffer&) = delete;

    BYTE* At(size_t offset) const { return m_base + offset; }
    void Write(size_t offset, const void* data, size_t size) {
        if (!WriteProcessMemory(m_process, m_base + offset, data, size, nullptr)) {
            Fail("cannot write the window's process memory: error " +
                 std::to_string(GetLastError()));
        }
    }
    void Read(size_t offset, void* data, size_t size) const {
        if (!ReadProcessMemory(m_process, m_base + offset, data, size, nullptr)) {
            Fail("cannot read the window's process memory: error " +
                 std::to_string(GetLastError()));
        }
    }

  private:
    HANDLE m_process = nullptr;
    BYTE* m_base = nullptr;
    size_t m_size;
};

LRESULT Send(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    DWORD_PTR result = 0;
    if (!SendMessageTimeoutW(window, message, wParam, lParam, SMTO_ABORTIFHUNG, 10000, &result)) {
        Fail("the window did not answer message 0x" + std::to_string(message));
    }
    return static_cast<LRESULT>(result);
}

std::vector<std::wstring> ListViewTexts(HWND list) {
    int count = static_cast<int>(Send(list, LVM_GETITEMCOUNT, 0, 0));
    const size_t capacity = 1024;
    RemoteBuffer remote(list, sizeof(LVITEMW) + capacity * sizeof(wchar_t));
    std::vector<std::wstring> texts;
    for (int i = 0; i < count; ++i) {
        LVITEMW item{};
        item.iSubItem = 0;
        item.pszText = reinterpret_cast<wchar_t*>(remote.At(sizeof(LVITEMW)));
        item.cchTextMax = capacity;
        remote.Write(0, &item, sizeof item);
        int length = static_cast<int>(
            Send(list, LVM_GETITEMTEXTW, i, reinterpret_cast<LPARAM>(remote.At(0))));
        std::wstring text(length, L'\0');
        remote.Read(sizeof(LVITEMW), text.data(), length * sizeof(wchar_t));
        texts.push_back(text);
    }
    return texts;
}

std::vector<std::wstring> ListViewSelected(HWND list) {
    std::vector<std::wstring> texts = ListViewTexts(list);
    std::vector<std::wstring> selected;
    for (size_t i = 0; i < texts.size(); ++i) {
        if (Send(list, LVM_GETITEMSTATE, i, LVIS_SELECTED) & LVIS_SELECTED) {
            selected.push_back(texts[i]);
        }
    }
    return selected;
}

void SetListViewItemState(HWND list, int index, UINT state, UINT mask) {
    RemoteBuffer remote(list, sizeof(LVITEMW));
    LVITEMW item{};
    item.stateMask = mask;
    item.state = state;
    remote.Write(0, &item, sizeof item);
    if (!Send(list, LVM_SETITEMSTATE, index, reinterpret_cast<LPARAM>(remote.At(0)))) {
        Fail("the list view refused the item state");
    }
}

std::vector<std::wstring> ComboTexts(HWND combo) {
    int count = static_cast<int>(Send(combo, CB_GETCOUNT, 0, 0));
    std::vector<std::wstring> texts;
    for (int i = 0; i < count; ++i) {
        int length = static_cast<int>(Send(combo, CB_GETLBTEXTLEN, i, 0));
        std::wstring text(length + 1, L'\0');
        length =
            static_cast<int>(Send(combo, CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(text.data())));
        text.resize(length < 0 ? 0 : length);
        texts.push_back(text);
    }
    return texts;
}

std::wstring Joined(const std::vector<std::wstring>& parts, wchar_t separator) {
    std::wstring out;
    for (size_t i = 0; i < parts.size(); ++i) {
        out += (i ? std::wstring(1, separator) : L"") + parts[i];
    }
    return out;
}

bool IsButton(HWND window) {
    return _wcsicmp(ClassOf(window).c_str(), L"Button") == 0;
}

// One line per control, as a person would describe it.
void DumpControl(HWND control, std::ostringstream& out) {
    std::wstring className = ClassOf(control);
    out << "    " << Narrow(className) << " " << static_cast<int>(GetDlgCtrlID(control)) << " "
        << Shown(WindowText(control));
    if (!IsWindowEnabled(control)) {
        out << " disabled";
    }
    if (!IsWindowVisible(control)) {
        out << " hidden";
    }
    if (IsButton(control) && Send(control, BM_GETCHECK, 0, 0) == BST_CHECKED) {
        out << " checked";
    }
    if (_wcsicmp(className.c_str(), WC_LISTVIEWW) == 0) {
        out << " items [" << Narrow(Joined(ListViewTexts(control), L'|')) << "] selected ["
            << Narrow(Joined(ListViewSelected(control), L'|')) << "] mark "
            << Send(control, LVM_GETSELECTIONMARK, 0, 0);
    }
    if (_wcsicmp(className.c_str(), L"ComboBox") == 0) {
        out << " entries [" << Narrow(Joined(ComboTexts(control), L'|')) << "] selected "
            << Send(control, CB_GETCURSEL, 0, 0);
    }
    out << "\n";
}

BOOL CALLBACK DumpChild(HWND child, LPARAM parameter) {
    try {
        DumpControl(child, *reinterpret_cast<std::ostringstream*>(parameter));
    } catch (const Failure& failure) {
        *reinterpret_cast<std::ostringstream*>(parameter)
            << "    (unreadable: " << failure.reason << ")\n";
    }
    return TRUE;
}

BOOL CALLBACK DumpTopLevel(HWND window, LPARAM parameter) {
    if (!IsWindowVisible(window)) {
        return TRUE;
    }
    auto& out = *reinterpret_cast<std::ostringstream*>(parameter);
    DWORD pid = 0;
    GetWindowThreadProcessId(window, &pid);
    out << "  window " << Narrow(ClassOf(window)) << " " << Shown(WindowText(window)) << " process "
        << pid << (IsWindowEnabled(window) ? "" : " disabled") << "\n";
    EnumChildWindows(window, DumpChild, parameter);
    return TRUE;
}

std::string Screen() {
    std::ostringstream out;
    out << "on screen:\n";
    EnumWindows(DumpTopLevel, reinterpret_cast<LPARAM>(&out));
    return out.str();
}

struct Search {
    DWORD pid = 0; // 0: any process
    std::wstring title;
    std::wstring className;
    HWND owner = nullptr;      // message boxes: owned by this window
    bool wantsMessage = false; // message boxes: they have the message static
    bool wantsTree = false;    // the folder browser holds a tree view
    HWND found = nullptr;
};

BOOL CALLBACK HasTree(HWND child, LPARAM parameter) {
    if (_wcsicmp(ClassOf(child).c_str(), WC_TREEVIEWW) == 0) {
        *reinterpret_cast<bool*>(parameter) = true;
        return FALSE;
    }
    return TRUE;
}

BOOL CALLBACK Match(HWND window, LPARAM parameter) {
    auto& search = *reinterpret_cast<Search*>(parameter);
    if (!IsWindowVisible(window)) {
        return TRUE;
    }
    DWORD pid = 0;
    GetWindowThreadProcessId(window, &pid);
    if (search.pid != 0 && pid != search.pid) {
        return TRUE;
    }
    if (!search.className.empty() &&
        _wcsicmp(ClassOf(window).c_str(), search.className.c_str()) != 0) {
        return TRUE;
    }
    if (!search.title.empty() && WindowText(window) != search.title) {
        return TRUE;
    }
    if (search.owner != nullptr && GetWindow(window, GW_OWNER) != search.owner) {
        return TRUE;
    }
    if (search.wantsMessage && GetDlgItem(window, 0xFFFF) == nullptr) {
        return TRUE;
    }
    bool tree = false;
    EnumChildWindows(window, HasTree, reinterpret_cast<LPARAM>(&tree));
    if (tree != search.wantsTree) {
        return TRUE;
    }
    search.found = window;
    return FALSE;
}

// Whether a control of the window, at any depth, shows the text.
struct ChildTextSearch {
    const std::wstring& text;
    bool found;
};

BOOL CALLBACK MatchChildText(HWND child, LPARAM parameter) {
    auto& search = *reinterpret_cast<ChildTextSearch*>(parameter);
    search.found = WindowText(child) == search.text;
    return !search.found;
}

bool HasChildText(HWND window, const std::wstring& text) {
    ChildTextSearch search{text, false};
    EnumChildWindows(window, MatchChildText, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

// Polls until the condition holds or the time is up.
template <typename Condition> bool WaitFor(DWORD limit, Condition condition) {
    ULONGLONG end = GetTickCount64() + limit;
    for (;;) {
        if (condition()) {
            return true;
        }
        if (GetTickCount64() >= end) {
            return false;
        }
        Sleep(PollInterval);
    }
}

class Robot {
  public:
    Robot(std::wstring hook, std::wstring shotDir)
        : m_hook(std::move(hook)), m_shotDir(std::move(shotDir)) {}
    ~Robot() {
        if (m_process.hProcess != nullptr) {
            CloseHandle(m_process.hProcess);
            CloseHandle(m_process.hThread);
        }
    }

    void Run(const std::vector<std::string>& words);
    void OnFailure(const std::string& reason);

  private:
    // The control of that id in the window or in one of its child dialogs
    // (Setup's pages), or none.
    HWND FindControl(int id) const {
        RequireWindow();
        HWND control = GetDlgItem(m_window, id);
        for (HWND child = GetWindow(m_window, GW_CHILD); child && !control;
             child = GetWindow(child, GW_HWNDNEXT)) {
            if (_wcsicmp(ClassOf(child).c_str(), L"#32770") == 0 && IsWindowVisible(child)) {
                control = GetDlgItem(child, id);
            }
        }
        return control;
    }
    // Waits for the control: after a click the next page may still be coming.
    HWND Control(int id) const {
        HWND control = nullptr;
        if (!WaitFor(DefaultWait, [&] { return (control = FindControl(id)) != nullptr; })) {
            Fail("no control " + std::to_string(id) + " in the window within " +
                 std::to_string(DefaultWait) + " ms");
        }
        return control;
    }
    // Compares what a reader sees of control ID, looked up afresh on every
    // poll, so that a page that replaces another is read once it is there.
    void ExpectOf(DWORD limit, const std::string& what, int id,
                  const std::function<std::wstring(HWND)>& reader, const std::wstring& wanted) {
        Expect(
            limit, what,
            [&] {
                HWND control = FindControl(id);
                return control ? reader(control) : L"<no control " + std::to_wstring(id) + L">";
            },
            wanted);
    }
    void RequireWindow() const {
        if (m_window == nullptr || !IsWindow(m_window)) {
            Fail("no window to work on (wait-window first)");
        }
    }
    HWND Find(Search search, DWORD limit, const std::string& what) {
        if (!WaitFor(limit, [&] {
                search.found = nullptr;
                EnumWindows(Match, reinterpret_cast<LPARAM>(&search));
                return search.found != nullptr;
            })) {
            Fail("no " + what + " within " + std::to_string(limit) + " ms");
        }
        return search.found;
    }
    void Click(HWND button) {
        if (!IsWindowEnabled(button)) {
            Fail("control " + std::to_string(GetDlgCtrlID(button)) +
                 " is disabled: a person cannot click it");
        }
        // Posted: the click's handler may open a modal box, and a sent
        // message would not return until the box was closed. BM_CLICK is a
        // person's click: press and release, the button's own state, then
        // BN_CLICKED to its dialog.
        BOOL posted = PostMessageW(button, BM_CLICK, 0, 0);
        if (!posted) {
            Fail("the click could not be posted: error " + std::to_string(GetLastError()));
        }
    }
    void Expect(DWORD limit, const std::string& what, const std::function<std::wstring()>& actual,
                const std::wstring& wanted);
    void Screenshot(const std::string& name);

    std::wstring m_hook, m_shotDir;
    int m_shots = 0;
    PROCESS_INFORMATION m_process{};
    ULONGLONG m_started = 0;
    HWND m_window = nullptr;
    HWND m_box = nullptr;
};

bool YesNo(const std::string& word) {
    if (word == "yes") {
        return true;
    }
    if (word == "no") {
        return false;
    }
    throw BadScript{"expected yes or no, not " + word};
}

int Number(const std::string& word) {
    try {
        size_t used = 0;
        int value = std::stoi(word, &used, 0);
        if (used == word.size()) {
            return value;
        }
    } catch (const std::exception&) {
    }
    throw BadScript{"expected a number, not " + word};
}

void Robot::Expect(DWORD limit, const std::string& what,
                   const std::function<std::wstring()>& actual, const std::wstring& wanted) {
    std::wstring last;
    if (!WaitFor(limit, [&] {
            // A window that goes away between two polls is read again.
            try {
                last = actual();
            } catch (const Failure& failure) {
                last = L"<unreadable: " + Widen(failure.reason) + L">";
            }
            return last == wanted;
        })) {
        Fail(what + " is " + Shown(last) + ", not " + Shown(wanted) + " (waited " +
             std::to_string(limit) + " ms)");
    }
}

void Robot::Screenshot(const std::string& name) {
    if (m_hook.empty()) {
        Say("  (no screenshot hook: " + name + " not taken)");
        return;
    }
    wchar_t number[8];
    swprintf(number, 8, L"%02d", ++m_shots);
    std::wstring file = m_shotDir + L"/" + number + L"-" + Widen(name) + L".png";
    std::wstring title;
    HWND shown = m_box != nullptr && IsWindow(m_box) ? m_box : m_window;
    if (shown != nullptr && IsWindow(shown)) {
        title = WindowText(shown);
        // A window that has just appeared may not have painted yet: let the
        // program settle, paint everything now, and give the X server a
        // moment to show it.
        if (m_process.hProcess != nullptr) {
            WaitForInputIdle(m_process.hProcess, 5000);
        }
        RedrawWindow(shown, nullptr, nullptr,
                     RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
        Send(shown, WM_NULL, 0, 0);
        Sleep(300);
    }
    // The file shows when the hook is done, so an old one must go first.
    std::wstring seen = L"Z:" + file;
    for (wchar_t& c : seen) {
        c = c == L'/' ? L'\\' : c;
    }
    DeleteFileW(seen.c_str());
    std::wstring command = L"\"" + m_hook + L"\" \"" + file + L"\" \"" + title + L"\"";
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    if (!CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                        &startup, &process)) {
        Say("  screenshot hook could not start: error " + std::to_string(GetLastError()));
        return;
    }
    CloseHandle(process.hProcess);
    CloseHandle(process.hThread);
    // Wine gives no waitable handle for a host program: the hook's file,
    // which appears only when complete, says it is done.
    if (!WaitFor(30000,
                 [&] { return GetFileAttributesW(seen.c_str()) != INVALID_FILE_ATTRIBUTES; })) {
        Say("  screenshot " + Narrow(file) + " did not appear within 30 s");
        return;
    }
    Say("  screenshot " + Narrow(file));
}

void Robot::Run(const std::vector<std::string>& w) {
    const std::string& command = w[0];
    auto need = [&](size_t low, size_t high) {
        if (w.size() - 1 < low || w.size() - 1 > high) {
            throw BadScript{command + " takes " + std::to_string(low) + " to " +
                            std::to_string(high) + " words"};
        }
    };
    auto limit = [&](size_t index) {
        return w.size() > index ? static_cast<DWORD>(Number(w[index])) : DefaultWait;
    };

    if (command == "start") {
        need(1, 100);
        std::wstring line;
        for (size_t i = 1; i < w.size(); ++i) {
            line += (i > 1 ? L" \"" : L"\"") + Widen(w[i]) + L"\"";
        }
        STARTUPINFOW startup{};
        startup.cb = sizeof startup;
        if (!CreateProcessW(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                            &startup, &m_process)) {
            Fail("cannot start " + w[1] + ": error " + std::to_string(GetLastError()));
        }
        m_started = GetTickCount64();
        Say("  started process " + std::to_string(m_process.dwProcessId));
    } else if (command == "wait-window" || command == "wait-class") {
        need(1, 2);
        Search search;
        search.pid = m_process.dwProcessId;
        (command == "wait-window" ? search.title : search.className) = Widen(w[1]);
        ULONGLONG begin = GetTickCount64();
        m_window = Find(search, limit(2), "window " + w[1]);
        m_box = nullptr;
        Say("  found " + Shown(WindowText(m_window)) + " after " +
            std::to_string(GetTickCount64() - begin) + " ms");
    } else if (command == "wait-title") {
        need(1, 2);
        RequireWindow();
        Expect(
            limit(2), "the title", [&] { return WindowText(m_window); }, Widen(w[1]));
    } else if (command == "expect-text") {
        need(2, 3);
        ExpectOf(limit(3), "control " + w[1], Number(w[1]), WindowText, Widen(w[2]));
    } else if (command == "expect-enabled") {
        need(2, 3);
        bool wanted = YesNo(w[2]);
        ExpectOf(
            limit(3), "whether control " + w[1] + " is enabled", Number(w[1]),
            [](HWND c) { return std::wstring(IsWindowEnabled(c) ? L"yes" : L"no"); },
            wanted ? L"yes" : L"no");
    } else if (command == "expect-checked") {
        need(2, 3);
        bool wanted = YesNo(w[2]);
        ExpectOf(
            limit(3), "whether button " + w[1] + " is checked", Number(w[1]),
            [](HWND c) {
                return std::wstring(Send(c, BM_GETCHECK, 0, 0) == BST_CHECKED ? L"yes" : L"no");
            },
            wanted ? L"yes" : L"no");
    } else if (command == "expect-combo") {
        need(2, 3);
        ExpectOf(
            limit(3), "the entry chosen in " + w[1], Number(w[1]),
            [](HWND combo) {
                int index = static_cast<int>(Send(combo, CB_GETCURSEL, 0, 0));
                std::vector<std::wstring> texts = ComboTexts(combo);
                return index < 0 || index >= static_cast<int>(texts.size()) ? std::wstring()
                                                                            : texts[index];
            },
            Widen(w[2]));
    } else if (command == "expect-combo-items") {
        need(2, 3);
        ExpectOf(
            limit(3), "the entries of " + w[1], Number(w[1]),
            [](HWND combo) { return Joined(ComboTexts(combo), L'|'); }, Widen(w[2]));
    } else if (command == "expect-items") {
        need(2, 3);
        ExpectOf(
            limit(3), "the items of " + w[1], Number(w[1]),
            [](HWND list) { return Joined(ListViewTexts(list), L'|'); }, Widen(w[2]));
    } else if (command == "expect-selected") {
        need(2, 3);
        ExpectOf(
            limit(3), "the selected items of " + w[1], Number(w[1]),
            [](HWND list) { return Joined(ListViewSelected(list), L'|'); }, Widen(w[2]));
    } else if (command == "click") {
        need(1, 1);
        Click(Control(Number(w[1])));
    } else if (command == "check") {
        need(2, 2);
        HWND box = Control(Number(w[1]));
        bool wanted = YesNo(w[2]);
        if ((Send(box, BM_GETCHECK, 0, 0) == BST_CHECKED) != wanted) {
            Click(box);
            Expect(
                DefaultWait, "whether button " + w[1] + " is checked",
                [&] { return Send(box, BM_GETCHECK, 0, 0) == BST_CHECKED ? L"yes" : L"no"; },
                wanted ? L"yes" : L"no");
        }
    } else if (command == "select-combo") {
        need(2, 2);
        HWND combo = Control(Number(w[1]));
        std::vector<std::wstring> texts = ComboTexts(combo);
        std::wstring wanted = Widen(w[2]);
        size_t index = 0;
        while (index < texts.size() && texts[index] != wanted) {
            ++index;
        }
        if (index == texts.size()) {
            Fail("no entry " + Shown(wanted) + " in combo box " + w[1] + ": [" +
                 Narrow(Joined(texts, L'|')) + "]");
        }
        Send(combo, CB_SETCURSEL, index, 0);
        // What the box tells its dialog when a person picks an entry.
        Send(GetParent(combo), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(combo), CBN_SELCHANGE),
             reinterpret_cast<LPARAM>(combo));
    } else if (command == "select-item" || command == "deselect-item") {
        need(2, 2);
        HWND list = Control(Number(w[1]));
        std::vector<std::wstring> texts = ListViewTexts(list);
        std::wstring wanted = Widen(w[2]);
        size_t index = 0;
        while (index < texts.size() && texts[index] != wanted) {
            ++index;
        }
        if (index == texts.size()) {
            Fail("no item " + Shown(wanted) + " in list view " + w[1] + ": [" +
                 Narrow(Joined(texts, L'|')) + "]");
        }
        if (command == "select-item") {
            SetListViewItemState(list, static_cast<int>(index), LVIS_SELECTED | LVIS_FOCUSED,
                                 LVIS_SELECTED | LVIS_FOCUSED);
            // A person's click makes the item the selection mark too.
            Send(list, LVM_SETSELECTIONMARK, 0, static_cast<LPARAM>(index));
        } else {
            SetListViewItemState(list, static_cast<int>(index), 0, LVIS_SELECTED);
        }
    } else if (command == "wait-msgbox") {
        need(0, 1);
        Search search;
        search.pid = m_process.dwProcessId;
        search.className = L"#32770";
        search.wantsMessage = true;
        // A box shown before any window of the program (an error at start)
        // has no window of ours to belong to.
        if (m_window != nullptr && IsWindow(m_window)) {
            search.owner = m_window;
        }
        m_box = Find(search, limit(1), "message box");
        Say("  message box " + Shown(WindowText(m_box)) + ": " +
            Shown(WindowText(GetDlgItem(m_box, 0xFFFF))));
    } else if (command == "expect-msgbox") {
        need(1, 2);
        if (m_box == nullptr || !IsWindow(m_box)) {
            Fail("no message box (wait-msgbox first)");
        }
        Expect(
            DefaultWait, "the message box's text",
            [&] { return WindowText(GetDlgItem(m_box, 0xFFFF)); }, Widen(w[1]));
        if (w.size() > 2) {
            Expect(
                DefaultWait, "the message box's caption", [&] { return WindowText(m_box); },
                Widen(w[2]));
        }
    } else if (command == "expect-msgbox-buttons") {
        need(1, 1);
        if (m_box == nullptr || !IsWindow(m_box)) {
            Fail("no message box (wait-msgbox first)");
        }
        const std::pair<int, const wchar_t*> buttons[] = {
            {IDOK, L"OK"},         {IDCANCEL, L"Cancel"}, {IDABORT, L"Abort"}, {IDRETRY, L"Retry"},
            {IDIGNORE, L"Ignore"}, {IDYES, L"Yes"},       {IDNO, L"No"}};
        std::vector<std::wstring> present;
        for (auto [id, name] : buttons) {
            HWND button = GetDlgItem(m_box, id);
            if (button != nullptr && IsWindowVisible(button)) {
                present.push_back(name);
            }
        }
        if (Joined(present, L',') != Widen(w[1])) {
            Fail("the message box has the buttons " + Narrow(Joined(present, L',')) + ", not " +
                 w[1]);
        }
    } else if (command == "answer") {
        need(1, 1);
        if (m_box == nullptr || !IsWindow(m_box)) {
            Fail("no message box (wait-msgbox first)");
        }
        int id = w[1] == "OK"       ? IDOK
                 : w[1] == "Cancel" ? IDCANCEL
                 : w[1] == "Yes"    ? IDYES
                 : w[1] == "No"     ? IDNO
                                    : 0;
        if (id == 0) {
            throw BadScript{"answer takes OK, Cancel, Yes or No"};
        }
        HWND button = GetDlgItem(m_box, id);
        if (button == nullptr) {
            Fail("the message box has no " + w[1] + " button");
        }
        Click(button);
        HWND box = m_box;
        if (!WaitFor(DefaultWait, [&] { return !IsWindow(box); })) {
            Fail("the message box stayed after " + w[1]);
        }
        m_box = nullptr;
    } else if (command == "wait-browser") {
        need(0, 1);
        RequireWindow();
        Search search;
        search.pid = m_process.dwProcessId;
        search.className = L"#32770";
        search.wantsTree = true;
        m_box = Find(search, limit(1), "folder browser");
        Say("  folder browser " + Shown(WindowText(m_box)));
    } else if (command == "expect-browser-text") {
        need(1, 1);
        if (m_box == nullptr || !IsWindow(m_box)) {
            Fail("no folder browser (wait-browser first)");
        }
        std::wstring wanted = Widen(w[1]);
        if (!WaitFor(DefaultWait, [&] { return HasChildText(m_box, wanted); })) {
            Fail("no control of the folder browser shows " + Shown(wanted));
        }
    } else if (command == "browse-folder" || command == "cancel-browse") {
        bool choose = command == "browse-folder";
        need(choose ? 1 : 0, choose ? 2 : 1);
        RequireWindow();
        Search search;
        search.pid = m_process.dwProcessId;
        search.className = L"#32770";
        search.wantsTree = true;
        HWND browser = Find(search, limit(choose ? 2 : 1), "folder browser");
        Say("  folder browser " + Shown(WindowText(browser)));
        if (choose) {
            std::wstring path = Widen(w[1]);
            RemoteBuffer remote(browser, (path.size() + 1) * sizeof(wchar_t));
            remote.Write(0, path.c_str(), (path.size() + 1) * sizeof(wchar_t));
            Send(browser, BFFM_SETSELECTIONW, TRUE, reinterpret_cast<LPARAM>(remote.At(0)));
        }
        HWND button = GetDlgItem(browser, choose ? IDOK : IDCANCEL);
        if (button == nullptr) {
            Fail("the folder browser has no " + std::string(choose ? "OK" : "Cancel") + " button");
        }
        Click(button);
        if (!WaitFor(DefaultWait, [&] { return !IsWindow(browser); })) {
            Fail("the folder browser stayed open");
        }
        m_box = nullptr;
    } else if (command == "screenshot") {
        need(1, 1);
        Screenshot(w[1]);
    } else if (command == "wait-exit") {
        need(1, 2);
        if (m_process.hProcess == nullptr) {
            Fail("no program was started");
        }
        if (WaitForSingleObject(m_process.hProcess, limit(2)) != WAIT_OBJECT_0) {
            Fail("the program did not end within " + std::to_string(limit(2)) + " ms");
        }
        DWORD code = 0;
        GetExitCodeProcess(m_process.hProcess, &code);
        if (w[1] != "any" && static_cast<int>(code) != Number(w[1])) {
            Fail("the program ended with " + std::to_string(code) + ", not " + w[1]);
        }
        Say("  ended with exit code " + std::to_string(code));
        m_window = nullptr;
    } else if (command == "elapsed") {
        need(1, 1);
        if (m_process.hProcess == nullptr) {
            Fail("no program was started");
        }
        Say("  " + w[1] + ": " + std::to_string(GetTickCount64() - m_started) + " ms");
    } else if (command == "dump") {
        need(0, 0);
        Say(Screen());
    } else {
        throw BadScript{"unknown command " + command};
    }
}

void Robot::OnFailure(const std::string& reason) {
    Say("robot: FAILED: " + reason);
    Say(Screen());
    Screenshot("failure");
    if (m_process.hProcess != nullptr &&
        WaitForSingleObject(m_process.hProcess, 0) == WAIT_TIMEOUT) {
        TerminateProcess(m_process.hProcess, 1);
        Say("robot: ended the program it started");
    }
}

std::vector<std::string> Words(const std::string& line) {
    std::vector<std::string> words;
    size_t i = 0;
    while (i < line.size()) {
        if (line[i] == ' ' || line[i] == '\t' || line[i] == '\r') {
            ++i;
            continue;
        }
        std::string word;
        if (line[i] == '"') {
            ++i;
            while (i < line.size() && line[i] != '"') {
                if (line[i] == '\\' && i + 1 < line.size()) {
                    ++i;
                    if (line[i] == 'r' || line[i] == 'n') {
                        word += line[i++] == 'r' ? '\r' : '\n';
                        continue;
                    }
                }
                word += line[i++];
            }
            if (i == line.size()) {
                throw BadScript{"a quote is not closed"};
            }
            ++i;
        } else {
            while (i < line.size() && line[i] != ' ' && line[i] != '\t' && line[i] != '\r') {
                word += line[i++];
            }
        }
        words.push_back(word);
    }
    return words;
}

} // namespace

int wmain(int argc, wchar_t** argv) {
    std::wstring hook, shotDir;
    int next = 1;
    if (argc >= 4 && std::wstring(argv[1]) == L"--shots") {
        hook = argv[2];
        shotDir = argv[3];
        next = 4;
    }
    if (argc != next + 1 || (!hook.empty() && shotDir.rfind(L"/", 0) != 0)) {
        Say("usage: Robot.exe [--shots HOOK /HOST/DIR] SCRIPT");
        return 2;
    }
    std::ifstream file(argv[next], std::ios::binary);
    if (!file) {
        Say("robot: cannot read " + Narrow(argv[next]));
        return 2;
    }
    Robot robot(hook, shotDir);
    std::string line;
    int number = 0;
    std::string step;
    ULONGLONG stepBegin = 0;
    auto endStep = [&] {
        if (!step.empty()) {
            Say("step done in " + std::to_string(GetTickCount64() - stepBegin) + " ms: " + step);
        }
    };
    try {
        while (std::getline(file, line)) {
            ++number;
            std::vector<std::string> words = Words(line);
            if (words.empty() || words[0][0] == '#') {
                continue;
            }
            if (words[0] == "step") {
                if (words.size() != 2) {
                    throw BadScript{"step takes 1 word"};
                }
                endStep();
                step = words[1];
                stepBegin = GetTickCount64();
                Say("step: " + step);
                continue;
            }
            ULONGLONG begin = GetTickCount64();
            Say(std::to_string(number) + ": " + line);
            robot.Run(words);
            ULONGLONG took = GetTickCount64() - begin;
            if (took >= 500) {
                Say("  (" + std::to_string(took) + " ms)");
            }
        }
    } catch (const BadScript& bad) {
        Say("robot: line " + std::to_string(number) + ": " + bad.reason);
        return 2;
    } catch (const Failure& failure) {
        robot.OnFailure("line " + std::to_string(number) + ": " + failure.reason);
        return 1;
    }
    endStep();
    Say("robot: all steps done");
    return 0;
}
