#include "tools/guidriver/setup_dialogs.h"

#include <cstdlib>

#include "tools/guidriver/gui_driver.h"

namespace guidriver {
namespace setup {

namespace {

constexpr DWORD kPollMs = 20;

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

// The controls a caller may name: what the setup's dialogs hold, and the buttons that
// end a dialog or answer a message box.
// clang-format off
#define NAMED(id) {#id, id}
// clang-format on
const struct {
    const char* name;
    int id;
} kControls[] = {
    NAMED(IDOK),
    NAMED(IDCANCEL),
    NAMED(IDYES),
    NAMED(IDNO),
    NAMED(IDC_BROWSER_RADIO_FIRST),
    NAMED(IDC_BROWSER_RADIO_LAST),
    NAMED(IDC_BROWSE),
    NAMED(IDC_BROWSER_PATH),
    NAMED(IDC_DEST_PATH),
    NAMED(IDC_SOLARIS),
    NAMED(IDC_SUNOS),
    NAMED(IDC_AIX),
    NAMED(IDC_HPUX),
    NAMED(IDC_MACINTOSH),
    NAMED(IDC_IRIX),
    NAMED(IDC_SETUP_ICON_ONLY),
    NAMED(IDC_ALPHAOSF),
    NAMED(IDC_LICENSE_TEXT),
};
#undef NAMED

const struct {
    const char* name;
    Kind kind;
} kKindNames[] = {{"@destination", Kind::Destination},
                  {"@agreement", Kind::Agreement},
                  {"@browser", Kind::BrowserSelection},
                  {"@message", Kind::Message}};

} // namespace

Kind KindOf(HWND window) {
    if (ClassName(window) != "#32770")
        return Kind::Other;
    if (GetDlgItem(window, IDC_DEST_PATH) != nullptr)
        return Kind::Destination;
    if (GetDlgItem(window, IDC_LICENSE_TEXT) != nullptr)
        return Kind::Agreement;
    if (GetDlgItem(window, IDC_BROWSER_PATH) != nullptr)
        return Kind::BrowserSelection;
    // The dialogs and the copy notice label their texts with the same id as a message box
    // does; only a message box has an answer button besides. Visible, and so whole: a
    // message box shows once its text is set, and a closing dialog is hidden before its
    // controls go (without its fields it would look like a message box).
    bool answerable = GetDlgItem(window, IDOK) != nullptr || GetDlgItem(window, IDYES) != nullptr;
    return IsMessageBox(window) && answerable && IsWindowVisible(window) ? Kind::Message
                                                                         : Kind::Other;
}

Kind Named(const std::string& name) {
    for (const auto& known : kKindNames) {
        if (name == known.name)
            return known.kind;
    }
    return Kind::Other;
}

bool Matches(HWND window, const std::string& titleOrName) {
    Kind kind = Named(titleOrName);
    if (kind != Kind::Other)
        return KindOf(window) == kind;
    return WindowText(window).find(titleOrName) != std::string::npos;
}

HWND WaitForMatching(const std::string& titleOrName, DWORD timeoutMs, DWORD processId) {
    WindowQuery query;
    query.processId = processId;
    DWORD start = GetTickCount();
    for (;;) {
        for (HWND window : FindWindows(query)) {
            if (Matches(window, titleOrName))
                return window;
        }
        if (GetTickCount() - start >= timeoutMs)
            return nullptr;
        Sleep(kPollMs);
    }
}

int ControlId(const std::string& nameOrNumber) {
    for (const auto& control : kControls) {
        if (nameOrNumber == control.name)
            return control.id;
    }
    char* end = nullptr;
    long number = std::strtol(nameOrNumber.c_str(), &end, 10);
    bool whole = !nameOrNumber.empty() && *end == '\0';
    return whole && number > 0 && number <= 0xFFFF ? static_cast<int>(number) : 0;
}

bool Start(ChildProcess& process, const std::string& folder) {
    return process.Start("\"" + folder + "\\" + rules::kSetupProgram + "\"", folder);
}

HWND FindMessageBox(DWORD processId) {
    for (HWND hwnd : DialogsOf(processId)) {
        if (KindOf(hwnd) == Kind::Message)
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
    for (int id = IDC_BROWSER_RADIO_FIRST; id <= IDC_BROWSER_RADIO_LAST; ++id) {
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
            switch (KindOf(window)) {
            case Kind::Message:
                asked->push_back(MessageBoxText(window));
                if (messageBoxes != nullptr)
                    messageBoxes->push_back(Describe(window));
                break;
            case Kind::Agreement: {
                bool empty = WindowText(GetDlgItem(window, IDC_LICENSE_TEXT)).empty();
                asked->push_back(title + (empty ? " [no text]" : " [text]"));
                break;
            }
            case Kind::Destination:
                asked->push_back(title + " [" + WindowText(GetDlgItem(window, IDC_DEST_PATH)) +
                                 "]");
                button = installsPressed++ == 0 ? IDOK : IDCANCEL;
                break;
            case Kind::BrowserSelection:
                asked->push_back(title);
                if (VisibleRows(window).size() == 1)
                    SetEditText(window, IDC_BROWSER_PATH, "C:\\Browsers\\typed.exe");
                break;
            case Kind::Other:
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
