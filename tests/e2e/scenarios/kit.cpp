#include "tests/e2e/scenarios/kit.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "product/search/launch_log.h"

using namespace guidriver;

namespace scenario {

bool StartSetup(ChildProcess& setup) {
    bool started = Start(setup);
    // Wine under load has refused a start now and then, before any process existed.
    if (!started && setup.StartError() == ERROR_INTERNAL_ERROR)
        started = Start(setup);
    EXPECT_TRUE(started) << "cannot start setup.exe (error " << setup.StartError() << ")";
    return started;
}

HWND WaitForSetupWindow(const ChildProcess& setup, const char* titlePart) {
    WindowQuery query;
    query.processId = setup.Id();
    query.titlePart = titlePart;
    HWND window = WaitForWindow(query, kTimeoutMs);
    if (window == nullptr)
        ADD_FAILURE() << "setup.exe showed no window titled \"" << titlePart << "\" but "
                      << FormatWindowsOf(setup.Id());
    else // Install, OK or Yes
        EXPECT_EQ(IDOK, DefaultButton(window)) << "the default button of \"" << titlePart << "\"";
    return window;
}

void ExpectMessageBox(const WindowInfo& box, const std::string& caption, const char* text,
                      const std::vector<int>& buttons) {
    const std::string which = "the message box \"" + box.messageText + "\"";
    if (text != nullptr) {
        EXPECT_EQ(text, box.messageText) << which << " has the wrong text";
    }
    EXPECT_EQ(caption, box.title) << which << " has the wrong caption";
    std::vector<int> shown;
    std::string named;
    for (const ControlInfo& control : box.controls) {
        if (control.className == "Button" && control.visible) {
            shown.push_back(control.id);
            named += " " + std::to_string(control.id) + " \"" + control.text + "\"";
        }
    }
    std::vector<int> expected = buttons;
    std::sort(shown.begin(), shown.end());
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(expected, shown) << which << " has the wrong buttons:" << named;
    EXPECT_EQ(buttons.front(), box.defaultButton) << which << " has the wrong default button";
}

namespace {

// The setup's next message box, checked as ExpectMessageBox checks it, or NULL.
HWND WaitForMessageBoxShowing(const ChildProcess& setup, const std::string& caption,
                              const std::string& text, const std::vector<int>& buttons) {
    HWND box = WaitForMessageBox(setup, kTimeoutMs);
    if (box == nullptr)
        ADD_FAILURE() << "setup.exe showed no message box; it should say \"" << text << "\"";
    else
        ExpectMessageBox(Describe(box), caption, text.c_str(), buttons);
    return box;
}

} // namespace

HWND WaitForReinstallQuestion(const ChildProcess& setup, const std::string& text) {
    return WaitForMessageBoxShowing(setup, Setting(kCdBinSettings, "ApplicationName"), text,
                                    {IDYES, IDNO});
}

bool StartAndAnswerReinstall(ChildProcess& setup, int answer) {
    if (!StartSetup(setup))
        return false;
    HWND question = WaitForReinstallQuestion(setup);
    return question != nullptr && ClickButton(question, answer);
}

void AnswerMessageBox(const ChildProcess& setup, const std::string& text) {
    HWND box = WaitForMessageBoxShowing(setup, kAppTitle, text, {IDOK});
    if (box != nullptr) {
        ClickButton(box, IDOK);
        EXPECT_TRUE(WaitForWindowGone(box, kTimeoutMs)) << "the message box stayed: " << text;
    }
}

HWND WaitForAgreement(const ChildProcess& setup, const std::string& agreementFile) {
    HWND agreement = WaitForSetupWindow(setup, kLicenseTitle);
    if (agreement == nullptr)
        return nullptr;
    const std::string name = CdSetting("ApplicationName");
    EXPECT_EQ(name.empty() ? kLicenseTitle : name + " : " + kLicenseTitle, WindowText(agreement));
    // Shown as stored: line ends and bytes unchanged.
    const std::string expected = ReadTextFile(agreementFile);
    EXPECT_FALSE(expected.empty()) << agreementFile;
    HWND text = GetDlgItem(agreement, IDC_LICENSE_TEXT);
    EXPECT_EQ(expected, WindowText(text)) << "the agreement does not show " << agreementFile;
    EXPECT_TRUE(GetWindowLongA(text, GWL_STYLE) & ES_READONLY) << "the user can edit the agreement";
    // The buttons come first: the focus starts on Yes and no text is shown selected.
    EXPECT_EQ(IDOK, GetDlgCtrlID(FocusInThreadOf(agreement)));
    DWORD selection = static_cast<DWORD>(SendMessageA(text, EM_GETSEL, 0, 0));
    EXPECT_EQ(LOWORD(selection), HIWORD(selection));
    return agreement;
}

bool InstallTo(HWND destination, const std::string& path) {
    return (path.empty() || SetEditText(destination, IDC_DEST_PATH, path)) &&
           ClickButton(destination, IDOK);
}

bool AnswerDestination(const ChildProcess& setup, const std::string& path) {
    HWND dialog = WaitForSetupWindow(setup, kDestinationTitle);
    return dialog != nullptr && InstallTo(dialog, path) && WaitForWindowGone(dialog, kTimeoutMs);
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
    ASSERT_TRUE(setup.WatchUntilExit(kTimeoutMs, &shown))
        << "setup.exe did not end; it showed " << ::testing::PrintToString(shown);
    for (const std::string& title : shown) {
        if (!title.empty() && title != kDestinationTitle)
            ADD_FAILURE() << "setup.exe showed a window: \"" << title << "\"";
    }
}

ControlInfo Control(HWND dialog, int id) {
    std::vector<ControlInfo> controls = Controls(dialog);
    const ControlInfo* control = FindControl(controls, id);
    EXPECT_NE(nullptr, control) << "no control " << id << " in " << Format(Describe(dialog));
    return control ? *control : ControlInfo();
}

void RunToTheEnd(const std::string& destination) {
    ChildProcess setup;
    ASSERT_TRUE(StartSetup(setup));
    ASSERT_TRUE(AnswerDestination(setup, destination));
    ExpectEndWithoutQuestions(setup);
}

void ExpectLaunches(const std::vector<std::string>& programs,
                    const std::vector<std::string>& directories) {
    std::vector<LaunchRecord> launches = ReadSettledLaunchLog(kTimeoutMs);
    std::string log;
    for (const LaunchRecord& launch : launches)
        log += "\n  " + launch.commandLine + " in " + launch.currentDirectory;
    ASSERT_EQ(programs.size(), launches.size()) << "search.exe starts:" << log;
    for (size_t i = 0; i < programs.size(); ++i) {
        EXPECT_TRUE(SamePath(programs[i], launches[i].Unquoted())) << log;
        if (i < directories.size()) {
            EXPECT_TRUE(SamePath(directories[i], launches[i].currentDirectory)) << log;
        }
    }
}

bool InstallNavigator3() {
    return SetRegistryString(HKEY_CURRENT_USER, "Software\\Netscape\\Netscape Navigator\\Main",
                             "Install Directory", "C:\\Netscape3") &&
           WriteTextFile("C:\\Netscape3\\program\\netscape.exe", kStandIn);
}

bool InstallCommunicator() {
    const std::string key = "Software\\Netscape\\Netscape Navigator";
    return SetRegistryString(HKEY_LOCAL_MACHINE, key, "CurrentVersion", "4.7 (en)") &&
           SetRegistryString(HKEY_LOCAL_MACHINE, key + "\\4.7 (en)\\main", "Install Directory",
                             "C:\\Netscape\\Communicator\\Program") &&
           WriteTextFile(kCommunicatorProgram, kStandIn);
}

bool InstallNetscape6() {
    return SetRegistryString(HKEY_LOCAL_MACHINE, "Software\\Netscape\\Netscape 6\\6.2 (en)\\main",
                             "Install Directory", "C:\\Netscape 6\\") &&
           WriteTextFile("C:\\Netscape 6\\netscp6.exe", kStandIn);
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

namespace {

void ExpectSameTreeWritable(const std::string& source, const std::string& copy) {
    std::vector<std::string> onCd = ListTree(source);
    EXPECT_FALSE(onCd.empty()) << source << " is empty on the CD";
    EXPECT_EQ(onCd, ListTree(copy)) << copy;
    for (const std::string& path : ListTree(copy)) {
        DWORD attributes = GetFileAttributesA((copy + "\\" + path).c_str());
        EXPECT_EQ(0u, attributes & FILE_ATTRIBUTE_READONLY)
            << copy << "\\" << path << " is read-only (attributes 0x" << std::hex << attributes
            << ")";
    }
}

bool IsBelow(const std::string& path, const std::string& place) {
    return SamePath(path.substr(0, place.size()), place) &&
           (path.size() == place.size() || path[place.size()] == '\\');
}

} // namespace

std::string BelowDriveC(const std::string& path) {
    return path.size() > 3 && SamePath(path.substr(0, 3), "C:\\") ? path.substr(3) : path;
}

void ExpectCopied(const std::string& destination, const std::string& tree) {
    ExpectSameTreeWritable("D:\\" + tree, destination + "\\" + tree);
}

std::vector<std::string> DriveC() {
    std::vector<std::string> paths;
    const std::string windows = BelowDriveC(WindowsDirectory());
    const std::string programs = BelowDriveC(ProgramsFolder());
    // The users' folders: only the Start menu's programs, the rest are links to the
    // host's home folder.
    const std::string users = programs.substr(0, programs.find('\\'));
    for (const std::string& name : ListFolder("C:\\")) {
        paths.push_back(name);
        std::vector<std::string> below;
        if (SamePath(name, windows)) {
            below = ListFolder("C:\\" + name);
        } else if (SamePath(name, users)) {
            for (const std::string& path : ListTree(ProgramsFolder()))
                paths.push_back(programs + "\\" + path);
        } else if (DirectoryExists("C:\\" + name)) {
            below = ListTree("C:\\" + name);
        }
        for (const std::string& path : below)
            paths.push_back(name + "\\" + path);
    }
    std::sort(paths.begin(), paths.end());
    return paths;
}

void ExpectAddedOnlyTo(const std::vector<std::string>& before,
                       const std::vector<std::string>& places) {
    std::vector<bool> reached(places.size(), false);
    for (const std::string& path : Added(before, DriveC())) {
        bool placed = false;
        for (size_t i = 0; i < places.size(); ++i) {
            // A place's own folders above it come with it.
            if (IsBelow(path, places[i]) || IsBelow(places[i], path)) {
                placed = true;
                reached[i] = reached[i] || IsBelow(path, places[i]);
            }
        }
        EXPECT_TRUE(placed) << "C:\\" << path << " appeared";
    }
    for (size_t i = 0; i < places.size(); ++i)
        EXPECT_TRUE(reached[i]) << "nothing appeared at C:\\" << places[i];
}

std::string ProgramsPlace(const std::string& group) {
    return BelowDriveC(ProgramsFolder()) + "\\" + group;
}

void ExpectPlugins(const std::string& pluginFolder) {
    ExpectSameTreeWritable("D:\\plugins\\corvane", pluginFolder);
}

void ExpectViewerRegisteredFrom(const std::string& pluginFolder) {
    std::string server =
        RegistryString(HKEY_CLASSES_ROOT, std::string(kViewerClass) + "\\InprocServer32", "");
    EXPECT_TRUE(SamePath(pluginFolder + "\\view_ocx.ocx", server)) << server;
}

void ExpectViewerSettings() {
    const std::string copy = WindowsDirectory() + "\\vuemark.ini";
    EXPECT_EQ(ReadTextFile("D:\\plugins\\corvane\\vuemark.ini"), ReadTextFile(copy));
    EXPECT_EQ(0u, GetFileAttributesA(copy.c_str()) &
                      (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_DIRECTORY))
        << copy;
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

void ExpectApplicationKey(bool publisher, const std::string& browser, const std::string& group,
                          const std::string& name) {
    const std::string key = ApplicationKey(publisher, group, name);
    ASSERT_TRUE(RegistryKeyExists(HKEY_CURRENT_USER, key)) << "no key " << key;
    EXPECT_EQ(group, RegistryString(HKEY_CURRENT_USER, key, "ApplicationGroup"));
    EXPECT_EQ(name, RegistryString(HKEY_CURRENT_USER, key, "ApplicationName"));
    bool hasBrowser = RegGetValueA(HKEY_CURRENT_USER, key.c_str(), "Browser", RRF_RT_REG_SZ,
                                   nullptr, nullptr, nullptr) == ERROR_SUCCESS;
    EXPECT_EQ(!browser.empty(), hasBrowser) << "Browser value in " << key;
    EXPECT_EQ(browser, RegistryString(HKEY_CURRENT_USER, key, "Browser"));
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

} // namespace scenario
