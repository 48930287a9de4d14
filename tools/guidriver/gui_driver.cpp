#include "tools/guidriver/gui_driver.h"

#include <cstdio>

namespace guidriver {

namespace {

constexpr DWORD kPollMs = 20;
constexpr UINT kMessageTimeoutMs = 5000;
// The message of a standard message box is the static control with this identifier.
constexpr int kMessageBoxTextId = 0xFFFF;
constexpr char kDialogClass[] = "#32770";

bool SendWithTimeout(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam, DWORD_PTR* result) {
    DWORD_PTR ignored = 0;
    return SendMessageTimeoutA(hwnd, msg, wParam, lParam, SMTO_ABORTIFHUNG, kMessageTimeoutMs,
                               result ? result : &ignored) != 0;
}

bool Matches(HWND hwnd, const WindowQuery& query) {
    if (query.visibleOnly && !IsWindowVisible(hwnd))
        return false;
    if (query.processId != 0) {
        DWORD pid = 0;
        GetWindowThreadProcessId(hwnd, &pid);
        if (pid != query.processId)
            return false;
    }
    if (!query.className.empty() && ClassName(hwnd) != query.className)
        return false;
    return query.titlePart.empty() || WindowText(hwnd).find(query.titlePart) != std::string::npos;
}

bool IsCheckable(HWND control) {
    if (ClassName(control) != "Button")
        return false;
    LONG type = GetWindowLongA(control, GWL_STYLE) & BS_TYPEMASK;
    return type == BS_CHECKBOX || type == BS_AUTOCHECKBOX || type == BS_3STATE ||
           type == BS_AUTO3STATE || type == BS_RADIOBUTTON || type == BS_AUTORADIOBUTTON;
}

BOOL CALLBACK CollectChild(HWND child, LPARAM param) {
    auto* children = reinterpret_cast<std::vector<HWND>*>(param);
    children->push_back(child);
    return TRUE;
}

std::vector<HWND> Children(HWND parent) {
    std::vector<HWND> children;
    EnumChildWindows(parent, CollectChild, reinterpret_cast<LPARAM>(&children));
    return children;
}

} // namespace

std::vector<HWND> FindWindows(const WindowQuery& query) {
    std::vector<HWND> found;
    for (HWND hwnd = GetTopWindow(nullptr); hwnd; hwnd = GetWindow(hwnd, GW_HWNDNEXT)) {
        if (Matches(hwnd, query))
            found.push_back(hwnd);
    }
    return found;
}

HWND FindWindowMatching(const WindowQuery& query) {
    std::vector<HWND> found = FindWindows(query);
    return found.empty() ? nullptr : found.front();
}

HWND WaitForWindow(const WindowQuery& query, DWORD timeoutMs) {
    DWORD start = GetTickCount();
    for (;;) {
        if (HWND hwnd = FindWindowMatching(query))
            return hwnd;
        if (GetTickCount() - start >= timeoutMs)
            return nullptr;
        Sleep(kPollMs);
    }
}

HWND WaitForTitle(const std::string& titlePart, DWORD timeoutMs) {
    WindowQuery query;
    query.titlePart = titlePart;
    return WaitForWindow(query, timeoutMs);
}

bool WaitForWindowGone(HWND hwnd, DWORD timeoutMs) {
    DWORD start = GetTickCount();
    while (IsWindow(hwnd)) {
        if (GetTickCount() - start >= timeoutMs)
            return false;
        Sleep(kPollMs);
    }
    return true;
}

std::string WindowText(HWND hwnd) {
    // WM_GETTEXT reaches the window's own procedure, so edit fields report what they
    // hold now; the owning process may be slow, hence the timeout.
    DWORD_PTR length = 0;
    if (!SendWithTimeout(hwnd, WM_GETTEXTLENGTH, 0, 0, &length))
        return std::string();
    std::string text(length + 1, '\0');
    DWORD_PTR copied = 0;
    if (!SendWithTimeout(hwnd, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(&text[0]),
                         &copied))
        return std::string();
    text.resize(copied < text.size() ? copied : text.size() - 1);
    return text;
}

std::string ClassName(HWND hwnd) {
    char name[256] = "";
    int length = GetClassNameA(hwnd, name, sizeof name);
    return std::string(name, length > 0 ? length : 0);
}

bool IsMessageBox(HWND hwnd) {
    return ClassName(hwnd) == kDialogClass && GetDlgItem(hwnd, kMessageBoxTextId) != nullptr;
}

std::string MessageBoxText(HWND box) {
    HWND text = GetDlgItem(box, kMessageBoxTextId);
    return text ? WindowText(text) : std::string();
}

std::vector<ControlInfo> Controls(HWND dialog) {
    std::vector<ControlInfo> controls;
    for (HWND child : Children(dialog)) {
        if (GetParent(child) != dialog)
            continue;
        ControlInfo info;
        info.id = GetDlgCtrlID(child);
        info.className = ClassName(child);
        info.text = WindowText(child);
        info.visible = IsWindowVisible(child) != FALSE;
        info.enabled = IsWindowEnabled(child) != FALSE;
        if (IsCheckable(child)) {
            DWORD_PTR state = 0;
            info.check =
                SendWithTimeout(child, BM_GETCHECK, 0, 0, &state) ? static_cast<int>(state) : -1;
        }
        controls.push_back(info);
    }
    return controls;
}

int DefaultButton(HWND dialog) {
    // The one drawn as the default; a message box does not tell it through DM_GETDEFID.
    for (HWND child : Children(dialog)) {
        if (GetParent(child) == dialog && ClassName(child) == "Button" &&
            (GetWindowLongA(child, GWL_STYLE) & BS_TYPEMASK) == BS_DEFPUSHBUTTON)
            return GetDlgCtrlID(child);
    }
    return 0;
}

const ControlInfo* FindControl(const std::vector<ControlInfo>& controls, int id) {
    for (const ControlInfo& control : controls) {
        if (control.id == id)
            return &control;
    }
    return nullptr;
}

WindowInfo Describe(HWND hwnd) {
    WindowInfo info;
    info.hwnd = hwnd;
    GetWindowThreadProcessId(hwnd, &info.processId);
    info.title = WindowText(hwnd);
    info.className = ClassName(hwnd);
    info.visible = IsWindowVisible(hwnd) != FALSE;
    info.isMessageBox = IsMessageBox(hwnd);
    if (info.isMessageBox)
        info.messageText = MessageBoxText(hwnd);
    info.controls = Controls(hwnd);
    if (info.className == kDialogClass)
        info.defaultButton = DefaultButton(hwnd);
    return info;
}

std::string Format(const WindowInfo& info) {
    char line[128];
    std::string out = "window \"" + info.title + "\" class " + info.className;
    std::snprintf(line, sizeof line, " process %lu%s\n", static_cast<unsigned long>(info.processId),
                  info.visible ? "" : " (hidden)");
    out += line;
    if (info.isMessageBox)
        out += "  message: \"" + info.messageText + "\"\n";
    for (const ControlInfo& control : info.controls) {
        if (info.isMessageBox && control.id == kMessageBoxTextId)
            continue;
        std::snprintf(line, sizeof line, "  control %d %s", control.id, control.className.c_str());
        out += line;
        out += " \"" + control.text + "\"";
        if (control.check >= 0)
            out += control.check == BST_CHECKED ? " [x]" : " [ ]";
        if (!control.enabled)
            out += " disabled";
        if (!control.visible)
            out += " hidden";
        out += "\n";
    }
    return out;
}

std::string FormatWindowsOf(DWORD processId) {
    WindowQuery query;
    query.processId = processId;
    std::string shown;
    for (HWND hwnd : FindWindows(query))
        shown += Format(Describe(hwnd));
    return shown.empty() ? "no window" : shown;
}

bool SetEditText(HWND dialog, int controlId, const std::string& text) {
    HWND edit = GetDlgItem(dialog, controlId);
    DWORD_PTR ok = 0;
    return edit &&
           SendWithTimeout(edit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()), &ok) && ok;
}

bool SetCheck(HWND dialog, int controlId, bool checked) {
    HWND button = GetDlgItem(dialog, controlId);
    if (!button || !IsCheckable(button))
        return false;
    DWORD_PTR state = 0;
    if (!SendWithTimeout(button, BM_GETCHECK, 0, 0, &state))
        return false;
    if ((state == BST_CHECKED) == checked)
        return true;
    // A click never clears a radio button; its group's other button must be chosen.
    if (!SendWithTimeout(button, BM_CLICK, 0, 0, nullptr) ||
        !SendWithTimeout(button, BM_GETCHECK, 0, 0, &state))
        return false;
    return (state == BST_CHECKED) == checked;
}

bool ClickButton(HWND dialog, int controlId) {
    // Posted rather than sent: the button may end a modal loop in the other process, and
    // a sent message would wait for that process's reply.
    HWND button = GetDlgItem(dialog, controlId);
    return PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(controlId, BN_CLICKED),
                        reinterpret_cast<LPARAM>(button)) != FALSE;
}

HWND Foreground() {
    return GetForegroundWindow();
}

HWND FocusInThreadOf(HWND window) {
    GUITHREADINFO input = {};
    input.cbSize = sizeof input;
    DWORD thread = GetWindowThreadProcessId(window, nullptr);
    return thread != 0 && GetGUIThreadInfo(thread, &input) ? input.hwndFocus : nullptr;
}

bool WaitForForeground(HWND hwnd, DWORD timeoutMs) {
    DWORD start = GetTickCount();
    while (GetForegroundWindow() != hwnd) {
        if (GetTickCount() - start >= timeoutMs)
            return false;
        Sleep(kPollMs);
    }
    return true;
}

namespace {

// Returns once the window's thread has handled the messages queued to it before this
// one (or does not answer within the time).
void Settle(HWND hwnd, DWORD timeoutMs) {
    DWORD_PTR ignored = 0;
    if (hwnd != nullptr)
        SendMessageTimeoutA(hwnd, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, timeoutMs, &ignored);
}

} // namespace

bool BringToFront(HWND hwnd, DWORD timeoutMs) {
    DWORD start = GetTickCount();
    for (;;) {
        HWND previous = GetForegroundWindow();
        Settle(previous, timeoutMs);
        SetWindowPos(hwnd, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
        SetForegroundWindow(hwnd);
        Settle(hwnd, timeoutMs);
        Settle(previous, timeoutMs);
        if (GetForegroundWindow() == hwnd)
            return true;
        if (GetTickCount() - start >= timeoutMs)
            return false;
        Sleep(kPollMs);
    }
}

} // namespace guidriver
