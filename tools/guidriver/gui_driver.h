// Drives the windows of other processes the way a user would: finds a top-level window
// by its title, reads what a message box or dialog shows, types into edit fields, ticks
// boxes and presses buttons. Every wait has a time limit; nothing here blocks forever on
// a window that stopped answering (cross-process messages use SendMessageTimeout).
#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace guidriver {

// Generous for a first window in a fresh Wine prefix, where explorer.exe starts first.
constexpr DWORD kDefaultTimeoutMs = 30000;

struct WindowQuery {
    std::string titlePart; // must occur in the title (case-sensitive); empty: any title
    DWORD processId = 0;   // 0: any process
    std::string className; // empty: any class
    bool visibleOnly = true;
};

struct ControlInfo {
    int id = 0;
    std::string className;
    std::string text;
    bool visible = false;
    bool enabled = false;
    int check = -1; // BST_* for check boxes and radio buttons, -1 for other controls
};

struct WindowInfo {
    HWND hwnd = nullptr;
    DWORD processId = 0;
    std::string title;
    std::string className;
    bool visible = false;
    bool isMessageBox = false;
    std::string messageText; // the message of a message box
    int defaultButton = 0;   // of a dialog or message box: the button Enter presses, or 0
    std::vector<ControlInfo> controls;
};

// All top-level windows that match, in Z order (topmost first).
std::vector<HWND> FindWindows(const WindowQuery& query);
HWND FindWindowMatching(const WindowQuery& query);
// Waits until a matching window exists; NULL when the time limit passes first.
HWND WaitForWindow(const WindowQuery& query, DWORD timeoutMs = kDefaultTimeoutMs);
// Convenience: a visible window of any process whose title contains titlePart.
HWND WaitForTitle(const std::string& titlePart, DWORD timeoutMs = kDefaultTimeoutMs);
// Waits until the window is gone (closed or its process ended).
bool WaitForWindowGone(HWND hwnd, DWORD timeoutMs = kDefaultTimeoutMs);

std::string WindowText(HWND hwnd);
std::string ClassName(HWND hwnd);
bool IsMessageBox(HWND hwnd);
// The message of a message box (without its caption and button texts).
std::string MessageBoxText(HWND box);
std::vector<ControlInfo> Controls(HWND dialog);
// The id of the button drawn as the default of a dialog or message box now (Enter presses
// it), or 0.
int DefaultButton(HWND dialog);
// The control of this id among `controls`, or NULL.
const ControlInfo* FindControl(const std::vector<ControlInfo>& controls, int id);
// Everything a user could see of the window, for checks and for reports.
WindowInfo Describe(HWND hwnd);
std::string Format(const WindowInfo& info);
// Format of every visible top-level window of a process ("no window" when it has none).
std::string FormatWindowsOf(DWORD processId);

bool SetEditText(HWND dialog, int controlId, const std::string& text);
// Ticks or clears a check box, or selects a radio button (checked must be true then),
// by clicking it as a user would, so the dialog sees the click.
bool SetCheck(HWND dialog, int controlId, bool checked);
// Presses a button: the dialog receives WM_COMMAND with BN_CLICKED as from a click.
bool ClickButton(HWND dialog, int controlId);

// The foreground window, or NULL.
HWND Foreground();
// The window with the keyboard focus in the thread of `window` (another process's too),
// or NULL.
HWND FocusInThreadOf(HWND window);
// Activation by another process reaches the window's thread as a message, so it shows
// a moment later: waits until the window is the foreground window.
bool WaitForForeground(HWND hwnd, DWORD timeoutMs = kDefaultTimeoutMs);
// Brings a window to the top of the Z order, makes it the foreground window and waits
// until it stays so. A window another process has just activated can take the foreground
// back a moment later, when its own thread handles its activation: the request is made
// again until both threads have handled what was queued to them and it still holds.
bool BringToFront(HWND hwnd, DWORD timeoutMs = kDefaultTimeoutMs);

} // namespace guidriver
