#include "tests/e2e/scenarios/kit.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "product/search/launch_log.h"

using namespace guidriver;

namespace scenario {

std::string Setting(const std::string& file, const char* key) {
    char value[2048] = "";
    GetPrivateProfileStringA(kCommonSection, key, "", value, sizeof value, file.c_str());
    return value;
}

std::string CdSetting(const char* key) {
    return Setting(kCdSettings, key);
}

namespace {

bool Start(ChildProcess& process, const std::string& commandLine, const std::string& workDir) {
    if (process.Start(commandLine, workDir))
        return true;
    ADD_FAILURE() << "cannot start " << commandLine << " (error " << process.StartError() << ")";
    return false;
}

// A program of the rig, found beside the scenario program.
std::string RigProgram(const char* name) {
    char self[MAX_PATH] = "";
    DWORD length = GetModuleFileNameA(nullptr, self, sizeof self);
    std::string folder(self, length < sizeof self ? length : 0);
    return folder.erase(folder.find_last_of('\\') + 1) + name;
}

// The setup's own dialogs and its copy notice label their texts with the same id as a
// message box does; only a message box has an answer button and nothing to fill in.
bool IsSetupMessageBox(HWND hwnd) {
    bool answerable = GetDlgItem(hwnd, IDOK) != nullptr || GetDlgItem(hwnd, IDYES) != nullptr;
    return IsMessageBox(hwnd) && answerable && GetDlgItem(hwnd, kPathId) == nullptr &&
           GetDlgItem(hwnd, kLicenseTextId) == nullptr && GetDlgItem(hwnd, kBrowserPathId) == nullptr;
}

std::vector<HWND> DialogsOf(DWORD processId) {
    WindowQuery query;
    query.processId = processId;
    query.className = "#32770";
    return FindWindows(query);
}

HWND FindMessageBox(DWORD processId) {
    for (HWND hwnd : DialogsOf(processId)) {
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

// Presses a button and waits until the window is gone or a message box of the process
// stands in front of it.
void PressAndWait(DWORD processId, HWND window, int button) {
    ClickButton(window, button);
    DWORD start = GetTickCount();
    while (IsWindow(window) && FindMessageBox(processId) == nullptr &&
           GetTickCount() - start < kTimeoutMs)
        Sleep(20);
}

} // namespace

bool StartSetup(ChildProcess& setup) {
    return Start(setup, std::string("\"") + kCdBin + "\\setup.exe\"", kCdBin);
}

bool StartTestDialog(ChildProcess& process, const std::string& arguments) {
    return Start(process, "\"" + RigProgram("e2e_testdlg.exe") + "\" " + arguments, "");
}

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

HWND WaitForReinstallQuestion(const ChildProcess& setup, const std::string& text) {
    WindowQuery query;
    query.processId = setup.Id();
    query.className = "#32770";
    HWND box = WaitForWindow(query, kTimeoutMs);
    if (box == nullptr) {
        ADD_FAILURE() << "setup.exe did not ask whether to reinstall";
        return nullptr;
    }
    WindowInfo info = Describe(box);
    EXPECT_TRUE(info.isMessageBox) << Format(info);
    EXPECT_EQ(text, info.messageText);
    EXPECT_TRUE(FindControl(info.controls, IDYES) && FindControl(info.controls, IDNO) &&
                !FindControl(info.controls, IDOK))
        << Format(info);
    return box;
}

bool StartAndAnswerReinstall(ChildProcess& setup, int answer) {
    if (!StartSetup(setup))
        return false;
    HWND question = WaitForReinstallQuestion(setup);
    return question != nullptr && ClickButton(question, answer);
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
    EXPECT_TRUE(WaitForWindowGone(box, kTimeoutMs)) << "the message box stayed: " << text;
    return text;
}

bool InstallTo(HWND destination, const std::string& path) {
    return (path.empty() || SetEditText(destination, kPathId, path)) &&
           ClickButton(destination, IDOK);
}

bool AnswerDestination(const ChildProcess& setup, const std::string& path) {
    HWND dialog = WaitForSetupWindow(setup, kDestinationTitle);
    return dialog != nullptr && InstallTo(dialog, path) && WaitForWindowGone(dialog, kTimeoutMs);
}

bool AnswerUntilExit(ChildProcess& setup, std::vector<std::string>* asked) {
    DWORD start = GetTickCount();
    int installsPressed = 0;
    while (setup.Running()) {
        if (GetTickCount() - start >= 3 * kTimeoutMs)
            return false;
        for (HWND window : DialogsOf(setup.Id())) {
            std::string title = WindowText(window);
            if (IsSetupMessageBox(window)) {
                asked->push_back(MessageBoxText(window));
                PressAndWait(setup.Id(), window, IDOK);
            } else if (title.find(kLicenseTitle) != std::string::npos) {
                asked->push_back(title);
                PressAndWait(setup.Id(), window, IDOK);
            } else if (title == kDestinationTitle) {
                asked->push_back(title + " [" + WindowText(GetDlgItem(window, kPathId)) + "]");
                PressAndWait(setup.Id(), window, installsPressed++ == 0 ? IDOK : IDCANCEL);
            } else if (title == kBrowserTitle) {
                asked->push_back(title);
                if (VisibleRows(window).size() == 1)
                    SetEditText(window, kBrowserPathId, "C:\\Browsers\\typed.exe");
                PressAndWait(setup.Id(), window, IDOK);
            } else {
                continue;
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

void ExpectEndWithoutQuestions(ChildProcess& setup) {
    std::vector<std::string> shown;
    ASSERT_TRUE(setup.WatchUntilExit(kTimeoutMs, &shown)) << "setup.exe did not end";
    for (const std::string& title : shown) {
        if (!title.empty() && title != kDestinationTitle)
            ADD_FAILURE() << "setup.exe showed a window: \"" << title << "\"";
    }
}

void RunToTheEnd(const std::string& destination) {
    ChildProcess setup;
    ASSERT_TRUE(StartSetup(setup));
    ASSERT_TRUE(AnswerDestination(setup, destination));
    ExpectEndWithoutQuestions(setup);
}

std::string Unquoted(const std::string& commandLine) {
    if (commandLine.size() >= 2 && commandLine.front() == '"' && commandLine.back() == '"')
        return commandLine.substr(1, commandLine.size() - 2);
    return commandLine;
}

void ExpectLaunches(const std::vector<std::string>& programs,
                    const std::vector<std::string>& directories) {
    std::vector<LaunchRecord> launches = ReadSettledLaunchLog(kTimeoutMs);
    std::string log;
    for (const LaunchRecord& launch : launches)
        log += "\n  " + launch.commandLine + " in " + launch.currentDirectory;
    ASSERT_EQ(programs.size(), launches.size()) << "search.exe starts:" << log;
    for (size_t i = 0; i < programs.size(); ++i) {
        EXPECT_TRUE(SamePath(programs[i], Unquoted(launches[i].commandLine))) << log;
        if (i < directories.size()) {
            EXPECT_TRUE(SamePath(directories[i], launches[i].currentDirectory)) << log;
        }
    }
}

bool PrepareRegistryString(HKEY root, const std::string& key, const std::string& name,
                       const std::string& value) {
    bool set = guidriver::SetRegistryString(root, key, name, value);
    EXPECT_TRUE(set) << "cannot set " << key << " " << name;
    return set;
}

bool MakeFile(const std::string& path, const std::string& content) {
    bool made = WriteTextFile(path, content);
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
    bool set = SetWindowsVersionFor("setup.exe", version);
    EXPECT_TRUE(set) << "cannot set the Windows version " << version;
    return set;
}

bool InstallNavigator3() {
    return PrepareRegistryString(HKEY_CURRENT_USER, "Software\\Netscape\\Netscape Navigator\\Main",
                             "Install Directory", "C:\\Netscape3") &&
           MakeFile("C:\\Netscape3\\program\\netscape.exe");
}

bool InstallCommunicator() {
    const std::string key = "Software\\Netscape\\Netscape Navigator";
    return PrepareRegistryString(HKEY_LOCAL_MACHINE, key, "CurrentVersion", "4.7 (en)") &&
           PrepareRegistryString(HKEY_LOCAL_MACHINE, key + "\\4.7 (en)\\main", "Install Directory",
                             "C:\\Netscape\\Communicator\\Program") &&
           MakeFile(kCommunicatorProgram);
}

bool InstallNetscape6() {
    return PrepareRegistryString(HKEY_LOCAL_MACHINE, "Software\\Netscape\\Netscape 6\\6.2 (en)\\main",
                             "Install Directory", "C:\\Netscape 6\\") &&
           MakeFile("C:\\Netscape 6\\netscp6.exe");
}

std::string CommunicatorPrefs() {
    char user[256] = "";
    DWORD size = sizeof user;
    EXPECT_TRUE(GetUserNameA(user, &size));
    return std::string("C:\\Netscape\\Communicator\\Program\\users\\") + user + "\\prefs.js";
}

bool MakeEarlierInstallation(EarlierInstallation* installation) {
    installation->folder = "C:\\Lumora";
    std::string bin = installation->folder + "\\_red40\\bin";
    installation->program = bin + "\\search.exe";
    std::string group = ProgramsFolder() + "\\" + CdSetting("ApplicationGroup");
    installation->shortcut = group + "\\" + CdSetting("ApplicationName") + ".lnk";
    ShellLink link;
    link.target = installation->program;
    link.workingDirectory = bin;
    link.description = "Earlier installation";
    bool made = MakeDirectories(bin) && MakeDirectories(group) &&
                CopyFileA((std::string(kCdBin) + "\\search.exe").c_str(),
                          installation->program.c_str(), FALSE) &&
                CreateShellLink(installation->shortcut, link);
    EXPECT_TRUE(made) << "cannot make the installation " << installation->shortcut;
    return made;
}

std::string ProgramFile(const std::string& destDir, const char* file) {
    return destDir + "\\_red40\\bin\\" + file;
}

std::string ShortForm(const std::string& path) {
    char shortPath[MAX_PATH + 1] = "";
    DWORD length = GetShortPathNameA(path.c_str(), shortPath, sizeof shortPath);
    return length > 0 && length < sizeof shortPath ? shortPath : "";
}

void ExpectCopied(const std::string& destination, const std::string& tree) {
    std::vector<std::string> onCd = ListTree("D:\\" + tree);
    EXPECT_FALSE(onCd.empty()) << tree << " is empty on the CD";
    EXPECT_EQ(onCd, ListTree(destination + "\\" + tree)) << tree;
}

std::vector<std::string> Added(const std::vector<std::string>& before,
                               const std::vector<std::string>& after) {
    std::vector<std::string> added;
    const std::string launchLog = std::string(launch_log::kPath).substr(3);
    for (const std::string& name : after) {
        bool known = SamePath(name, launchLog);
        for (const std::string& old : before)
            known = known || SamePath(old, name);
        if (!known)
            added.push_back(name);
    }
    std::sort(added.begin(), added.end());
    return added;
}

std::string ApplicationKey(bool publisher, const std::string& group, const std::string& name) {
    return std::string("SOFTWARE\\") + (publisher ? "Corvane\\" : "") + group + "\\" + name;
}

void ExpectApplicationKey(const std::string& key, const std::string& group, const std::string& name,
                          const std::string& browser) {
    ASSERT_TRUE(RegistryKeyExists(HKEY_CURRENT_USER, key)) << "no key " << key;
    EXPECT_EQ(group, RegistryString(HKEY_CURRENT_USER, key, "ApplicationGroup"));
    EXPECT_EQ(name, RegistryString(HKEY_CURRENT_USER, key, "ApplicationName"));
    char value[1024] = "";
    DWORD size = sizeof value;
    LONG found = RegGetValueA(HKEY_CURRENT_USER, key.c_str(), "Browser", RRF_RT_REG_SZ, nullptr,
                              value, &size);
    if (browser.empty())
        EXPECT_NE(ERROR_SUCCESS, found) << "unexpected Browser value \"" << value << "\"";
    else
        EXPECT_EQ(browser, found == ERROR_SUCCESS ? std::string(value) : "(no Browser value)");
}

namespace {

void ExpectLink(const std::string& link, const std::string& target, const std::string& description,
                const std::string& icon) {
    ShellLink read;
    ASSERT_TRUE(ReadShellLink(link, &read)) << "no readable shortcut " << link;
    EXPECT_TRUE(SamePath(target, read.target)) << link << " starts " << read.target;
    EXPECT_EQ(description, read.description) << link;
    EXPECT_TRUE(SamePath(icon, read.iconPath)) << link << " shows " << read.iconPath;
}

} // namespace

void ExpectStartMenuLinks(const std::string& group, const std::string& name,
                          const std::string& destDir, const std::string& appTarget) {
    std::string folder = ProgramsFolder() + "\\" + group;
    ExpectLink(folder + "\\" + name + ".lnk", appTarget, "Shortcut to " + name,
               ProgramFile(destDir, "search.ico"));
    ExpectLink(folder + "\\Uninstall " + name + ".lnk", ProgramFile(destDir, "c_uninst.exe"),
               "Shortcut to Uninstaller", ProgramFile(destDir, "uninstal.ico"));
}

void CloseGroupWindow(const std::string& group) {
    HWND window = WaitForTitle(group, kTimeoutMs);
    ASSERT_NE(nullptr, window) << "no folder window for the group " << group;
    PostMessageA(window, WM_CLOSE, 0, 0);
    EXPECT_TRUE(WaitForWindowGone(window, kTimeoutMs));
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

} // namespace scenario
