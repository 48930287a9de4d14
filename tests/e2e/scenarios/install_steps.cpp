#include "tests/e2e/scenarios/install_steps.h"

#include <gtest/gtest.h>

#include "product/search/launch_log.h"
#include "tools/guidriver/gui_driver.h"
#include "tools/guidriver/machine_state.h"
#include "tests/e2e/scenarios/sample_cd.h"

using namespace guidriver;

namespace scenario {

namespace {

// The setup's own dialogs and its copy notice label their texts with the same id as a
// message box does; only a message box has an answer button and nothing to fill in.
bool IsSetupMessageBox(HWND hwnd) {
    bool answerable = GetDlgItem(hwnd, IDOK) != nullptr || GetDlgItem(hwnd, IDYES) != nullptr;
    return IsMessageBox(hwnd) && answerable && GetDlgItem(hwnd, kPathId) == nullptr &&
           GetDlgItem(hwnd, kLicenseTextId) == nullptr;
}

// The message box of the process on top, if there is one now.
HWND FindMessageBox(DWORD processId) {
    WindowQuery query;
    query.processId = processId;
    query.className = "#32770";
    for (HWND hwnd : FindWindows(query)) {
        if (IsSetupMessageBox(hwnd))
            return hwnd;
    }
    return nullptr;
}

// Every window the process shows, for a failure report.
std::string ShownWindows(DWORD processId) {
    WindowQuery query;
    query.processId = processId;
    std::string shown;
    for (HWND hwnd : FindWindows(query))
        shown += Format(Describe(hwnd)) + "\n";
    return shown.empty() ? "no window" : shown;
}

} // namespace

HWND WaitForSetupWindow(const ChildProcess& setup, const char* titlePart) {
    WindowQuery query;
    query.processId = setup.Id();
    query.titlePart = titlePart;
    HWND window = WaitForWindow(query, kTimeoutMs);
    if (window == nullptr)
        ADD_FAILURE() << "setup.exe showed no window titled \"" << titlePart << "\" but "
                      << ShownWindows(setup.Id());
    return window;
}

HWND WaitForDestination(const ChildProcess& setup) {
    return WaitForSetupWindow(setup, kDestinationTitle);
}

std::string AnswerMessageBox(const ChildProcess& setup) {
    DWORD start = GetTickCount();
    HWND box = nullptr;
    while ((box = FindMessageBox(setup.Id())) == nullptr) {
        if (GetTickCount() - start >= kTimeoutMs || !setup.Running()) {
            ADD_FAILURE() << "setup.exe showed no message box";
            return std::string();
        }
        Sleep(20);
    }
    std::string text = MessageBoxText(box);
    ClickButton(box, IDOK);
    if (!WaitForWindowGone(box, kTimeoutMs))
        ADD_FAILURE() << "the message box stayed: " << text;
    return text;
}

bool InstallTo(HWND destination, const std::string& path) {
    return SetEditText(destination, kPathId, path) && ClickButton(destination, IDOK);
}

bool AnswerUntilExit(ChildProcess& setup, std::vector<std::string>* messages) {
    DWORD start = GetTickCount();
    int installsPressed = 0;
    std::vector<HWND> answered;
    while (setup.Running()) {
        if (GetTickCount() - start >= 3 * kTimeoutMs)
            return false;
        WindowQuery query;
        query.processId = setup.Id();
        query.className = "#32770";
        for (HWND window : FindWindows(query)) {
            if (IsSetupMessageBox(window)) {
                if (messages != nullptr)
                    messages->push_back(MessageBoxText(window));
                ClickButton(window, IDOK);
                WaitForWindowGone(window, kTimeoutMs);
            } else if (WindowText(window).find(kLicenseTitle) != std::string::npos) {
                ClickButton(window, IDOK);
                WaitForWindowGone(window, kTimeoutMs);
            } else if (WindowText(window) == kDestinationTitle) {
                ClickButton(window, installsPressed++ == 0 ? IDOK : IDCANCEL);
                // Either the dialog goes, or it stays behind a message box.
                DWORD asked = GetTickCount();
                while (IsWindow(window) && FindMessageBox(setup.Id()) == nullptr &&
                       GetTickCount() - asked < kTimeoutMs)
                    Sleep(20);
            }
            break;
        }
        Sleep(20);
    }
    return true;
}

void ExpectCleanExit(ChildProcess& setup) {
    DWORD exitCode = 0;
    ASSERT_TRUE(setup.WaitForExit(kTimeoutMs, &exitCode)) << "setup.exe did not end";
    // An exception status (access violation 0xC0000005, stack overrun 0xC0000409, ...)
    // means the process died rather than ended.
    EXPECT_LT(exitCode, 0xC0000000u) << std::hex << "exit code 0x" << exitCode;
}

std::string InstalledSetting(const std::string& file, const char* key) {
    char value[1024] = "";
    GetPrivateProfileStringA(kCommonSection, key, "", value, sizeof value, file.c_str());
    return value;
}

std::vector<std::string> Added(const std::vector<std::string>& before,
                               const std::vector<std::string>& after) {
    std::vector<std::string> added;
    // The stand-in search program's own record is no file of the installation.
    const std::string launchLog = std::string(launch_log::kPath).substr(3);
    for (const std::string& name : after) {
        bool known = SamePath(name, launchLog);
        for (const std::string& old : before)
            known = known || SamePath(old, name);
        if (!known)
            added.push_back(name);
    }
    return added;
}

} // namespace scenario
