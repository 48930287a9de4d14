#include "tests/e2e/scenarios/browser_fixtures.h"

#include <gtest/gtest.h>

#include "tools/guidriver/gui_driver.h"
#include "tools/guidriver/machine_state.h"
#include "tests/e2e/scenarios/sample_cd.h"

namespace browserfixture {

bool SetRegistryString(HKEY root, const std::string& key, const std::string& name,
                       const std::string& value) {
    HKEY opened = nullptr;
    LONG status = RegCreateKeyExA(root, key.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                                  &opened, nullptr);
    if (status == ERROR_SUCCESS) {
        status = RegSetValueExA(opened, name.empty() ? nullptr : name.c_str(), 0, REG_SZ,
                                reinterpret_cast<const BYTE*>(value.c_str()),
                                static_cast<DWORD>(value.size() + 1));
        RegCloseKey(opened);
    }
    EXPECT_EQ(ERROR_SUCCESS, status) << "cannot set " << key << " " << name;
    return status == ERROR_SUCCESS;
}

bool DeleteRegistryKey(HKEY root, const std::string& key) {
    LONG status = RegDeleteTreeA(root, key.c_str());
    bool gone = status == ERROR_SUCCESS || status == ERROR_FILE_NOT_FOUND;
    EXPECT_TRUE(gone) << "cannot delete " << key;
    return gone;
}

bool MakeFile(const std::string& path, const std::string& content) {
    std::string folder = path.substr(0, path.find_last_of('\\'));
    bool made = guidriver::MakeDirectories(folder);
    if (made) {
        HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                  FILE_ATTRIBUTE_NORMAL, nullptr);
        DWORD written = 0;
        made = file != INVALID_HANDLE_VALUE &&
               WriteFile(file, content.data(), static_cast<DWORD>(content.size()), &written,
                         nullptr) &&
               written == content.size();
        if (file != INVALID_HANDLE_VALUE)
            CloseHandle(file);
    }
    EXPECT_TRUE(made) << "cannot make " << path;
    return made;
}

bool SetProfileString(const std::string& file, const char* section, const char* key,
                      const std::string& value) {
    bool written = WritePrivateProfileStringA(section, key, value.c_str(), file.c_str()) != FALSE;
    EXPECT_TRUE(written) << "cannot write " << key << " to " << file;
    return written;
}

std::string ProfileString(const std::string& file, const char* section, const char* key) {
    char value[2048] = "";
    GetPrivateProfileStringA(section, key, "", value, sizeof value, file.c_str());
    return value;
}

std::string WindowsDirectory() {
    char dir[MAX_PATH] = "";
    UINT length = GetWindowsDirectoryA(dir, sizeof dir);
    return std::string(dir, length < sizeof dir ? length : 0);
}

bool SetSetupWindowsVersion(const char* version) {
    return SetRegistryString(HKEY_CURRENT_USER, "Software\\Wine\\AppDefaults\\setup.exe", "Version",
                             version);
}

bool InstallNavigator3() {
    return SetRegistryString(HKEY_CURRENT_USER, "Software\\Netscape\\Netscape Navigator\\Main",
                             "Install Directory", "C:\\Netscape3") &&
           MakeFile("C:\\Netscape3\\program\\netscape.exe");
}

bool InstallCommunicator() {
    const std::string key = "Software\\Netscape\\Netscape Navigator";
    return SetRegistryString(HKEY_LOCAL_MACHINE, key, "CurrentVersion", "4.7 (en)") &&
           SetRegistryString(HKEY_LOCAL_MACHINE, key + "\\4.7 (en)\\main", "Install Directory",
                             "C:\\Netscape\\Communicator\\Program") &&
           MakeFile(kCommunicatorProgram);
}

std::string CommunicatorPrefs() {
    char user[256] = "";
    DWORD size = sizeof user;
    EXPECT_TRUE(GetUserNameA(user, &size));
    return std::string("C:\\Netscape\\Communicator\\Program\\users\\") + user + "\\prefs.js";
}

std::string InstalledBrowserSetting(const std::string& installedFolder) {
    return scenario::CdSetting((installedFolder + "\\search.ini").c_str(), "Browser");
}

namespace {
const char kDestinationTitle[] = "Please specify a directory";
constexpr int kDestinationPathId = 1012;
} // namespace

bool StartAndAnswerDestination(guidriver::ChildProcess& setup, const std::string& installTo) {
    if (!scenario::StartSetup(setup))
        return false;
    DWORD start = GetTickCount();
    while (setup.Running() && GetTickCount() - start < scenario::kTimeoutMs) {
        guidriver::WindowQuery query;
        query.processId = setup.Id();
        for (HWND window : guidriver::FindWindows(query)) {
            if (guidriver::WindowText(window) != kDestinationTitle)
                return true; // another question: the scenario answers it
            if (!installTo.empty()) {
                EXPECT_TRUE(guidriver::SetEditText(window, kDestinationPathId, installTo));
            }
            bool pressed = guidriver::ClickButton(window, IDOK);
            EXPECT_TRUE(guidriver::WaitForWindowGone(window, scenario::kTimeoutMs));
            return pressed;
        }
        Sleep(20);
    }
    return true;
}

void RunSetupWithoutQuestions(const std::string& installTo) {
    guidriver::ChildProcess setup;
    ASSERT_TRUE(StartAndAnswerDestination(setup, installTo));
    std::vector<std::string> shown;
    ASSERT_TRUE(setup.WatchUntilExit(scenario::kTimeoutMs, &shown)) << "setup.exe did not end";
    // The copy's progress window has no title and asks nothing.
    for (const std::string& title : shown) {
        if (!title.empty())
            ADD_FAILURE() << "setup.exe showed a window: \"" << title << "\"";
    }
}

HWND WaitForBrowserDialog(guidriver::ChildProcess& setup) {
    if (!StartAndAnswerDestination(setup))
        return nullptr;
    guidriver::WindowQuery query;
    query.processId = setup.Id();
    query.titlePart = kDialogTitle;
    HWND dialog = guidriver::WaitForWindow(query, scenario::kTimeoutMs);
    EXPECT_NE(nullptr, dialog) << "setup.exe did not ask for the browser";
    return dialog;
}

std::vector<std::string> VisibleRows(HWND dialog) {
    // Rows go top to bottom in id order.
    std::vector<std::string> byId(kLastRadio - kFirstRadio + 1);
    std::vector<bool> visible(byId.size());
    for (const guidriver::ControlInfo& control : guidriver::Controls(dialog)) {
        if (control.id >= kFirstRadio && control.id <= kLastRadio) {
            byId[control.id - kFirstRadio] = control.text;
            visible[control.id - kFirstRadio] = control.visible;
        }
    }
    std::vector<std::string> rows;
    for (size_t i = 0; i < byId.size(); ++i) {
        if (visible[i])
            rows.push_back(byId[i]);
    }
    return rows;
}

} // namespace browserfixture
