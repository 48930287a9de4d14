#include "tools/guidriver/setup_dialogs.h"

#include "tools/guidriver/gui_driver.h"

namespace guidriver {
namespace setup {

namespace {

constexpr DWORD kPollMs = 20;

// The setup's own dialogs and its copy notice label their texts with the same id as a
// message box does; only a message box has an answer button and nothing to fill in.
// Visible, and so whole: a message box shows once its text is set, and a closing dialog
// is hidden before its controls go (without its path field it looked like a message box).
bool IsSetupMessageBox(HWND hwnd) {
    bool answerable = GetDlgItem(hwnd, IDOK) != nullptr || GetDlgItem(hwnd, IDYES) != nullptr;
    return IsMessageBox(hwnd) && answerable && GetDlgItem(hwnd, kPathId) == nullptr &&
           GetDlgItem(hwnd, kLicenseTextId) == nullptr &&
           GetDlgItem(hwnd, kBrowserPathId) == nullptr && IsWindowVisible(hwnd);
}

std::vector<HWND> DialogsOf(DWORD processId) {
    WindowQuery query;
    query.processId = processId;
    query.className = "#32770";
    return FindWindows(query);
}

// Presses a button and waits until the window is gone or a message box of the process
// stands in front of it.
void PressAndWait(DWORD processId, HWND window, int button, DWORD timeoutMs) {
    ClickButton(window, button);
    DWORD start = GetTickCount();
    while (IsWindow(window) && FindMessageBox(processId) == nullptr &&
           GetTickCount() - start < timeoutMs)
        Sleep(kPollMs);
}

} // namespace

bool Start(ChildProcess& process, const std::string& folder) {
    return process.Start("\"" + folder + "\\setup.exe\"", folder);
}

HWND FindMessageBox(DWORD processId) {
    for (HWND hwnd : DialogsOf(processId)) {
        if (IsSetupMessageBox(hwnd))
            return hwnd;
    }
    return nullptr;
}

HWND WaitForMessageBox(const ChildProcess& process, DWORD timeoutMs) {
    DWORD start = GetTickCount();
    HWND box = nullptr;
    while ((box = FindMessageBox(process.Id())) == nullptr && process.Running() &&
           GetTickCount() - start < timeoutMs)
        Sleep(kPollMs);
    return box;
}

std::vector<std::string> VisibleRows(HWND dialog) {
    std::vector<ControlInfo> controls = Controls(dialog);
    std::vector<std::string> rows;
    // Rows go top to bottom in id order.
    for (int id = kFirstBrowserRow; id <= kLastBrowserRow; ++id) {
        const ControlInfo* row = FindControl(controls, id);
        if (row != nullptr && row->visible)
            rows.push_back(row->text);
    }
    return rows;
}

bool AnswerUntilExit(ChildProcess& process, DWORD timeoutMs, std::vector<std::string>* asked,
                     std::vector<WindowInfo>* messageBoxes) {
    DWORD start = GetTickCount();
    int installsPressed = 0;
    while (process.Running()) {
        if (GetTickCount() - start >= timeoutMs)
            return false;
        for (HWND window : DialogsOf(process.Id())) {
            std::string title = WindowText(window);
            int button = IDOK;
            if (IsSetupMessageBox(window)) {
                asked->push_back(MessageBoxText(window));
                if (messageBoxes != nullptr)
                    messageBoxes->push_back(Describe(window));
            } else if (title.find(kLicenseTitle) != std::string::npos) {
                bool empty = WindowText(GetDlgItem(window, kLicenseTextId)).empty();
                asked->push_back(title + (empty ? " [no text]" : " [text]"));
            } else if (title == kDestinationTitle) {
                asked->push_back(title + " [" + WindowText(GetDlgItem(window, kPathId)) + "]");
                button = installsPressed++ == 0 ? IDOK : IDCANCEL;
            } else if (title == kBrowserTitle) {
                asked->push_back(title);
                if (VisibleRows(window).size() == 1)
                    SetEditText(window, kBrowserPathId, "C:\\Browsers\\typed.exe");
            } else {
                continue;
            }
            PressAndWait(process.Id(), window, button, timeoutMs);
            break;
        }
        Sleep(kPollMs);
    }
    return true;
}

} // namespace setup
} // namespace guidriver
