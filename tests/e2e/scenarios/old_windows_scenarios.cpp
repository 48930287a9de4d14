// Windows before version 4: on Windows NT 3.51 the group goes to Program Manager and
// Internet Explorer is found through its iexplore.ini; on Win32s the browser choice and
// the bypass lists live in INI files, and Navigator names its own INI file in win.ini.
#include <gtest/gtest.h>

#include "tests/e2e/scenarios/kit.h"

using namespace guidriver;
using namespace scenario;

namespace {

const char kNavigatorIni[] = "C:\\NETSCAPE\\NETSCAPE.INI";

std::string IExploreIni() {
    return WindowsDirectory() + "\\iexplore.ini";
}

// The browser dialog offers nothing but "Other Browser": answer it with `path`.
void AnswerWithTheOnlyRowLeft(const char* path) {
    ChildProcess setup;
    ASSERT_TRUE(StartSetup(setup));
    ASSERT_TRUE(AnswerDestination(setup));
    HWND dialog = WaitForSetupWindow(setup, kBrowserTitle);
    ASSERT_NE(nullptr, dialog);
    EXPECT_EQ((std::vector<std::string>{"Other Browser"}), VisibleRows(dialog));
    ASSERT_TRUE(SetEditText(dialog, IDC_BROWSER_PATH, path));
    ASSERT_TRUE(ClickButton(dialog, IDOK));
    ExpectCleanExit(setup);
    EXPECT_EQ(path, CdSetting("Browser"));
}

// The sample client CD with a browser named.
Cd Named(const char* browser) {
    return Cd().Writable().Set("Browser", browser);
}

bool MakeNavigatorIni(const std::string& namedInWinIni) {
    return MakeDirectories("C:\\NETSCAPE") &&
           SetProfileString(WindowsDirectory() + "\\win.ini", "Netscape", "ini", namedInWinIni) &&
           SetProfileString(kNavigatorIni, "Main", "Install Directory", "C:\\NETSCAPE") &&
           SetProfileString(kNavigatorIni, "Proxy Information", "No_Proxy", "gateway");
}

} // namespace

// CD: Browser = MSIE, a group of 35 and an application name of 45 characters. Wine's
// Program Manager turns the group, cut to 30, into a Start-menu folder and each item,
// cut to 40, into a shortcut there; the registry keeps the names whole.
const Runs kProgramManager(
    "Nt351.ProgramManagerGroupAndInternetExplorerFromIExploreIni",
    {{kNt351, Named("MSIE").Set("ApplicationGroup", std::string(35, 'G'))
                  .Set("ApplicationName", std::string(45, 'A'))}});
TEST(Nt351, ProgramManagerGroupAndInternetExplorerFromIExploreIni) {
    ASSERT_TRUE(
        SetProfileString(IExploreIni(), "MainDiskCache", "Directory", "C:\\IEXPLORE\\CACHE\\"));
    ASSERT_TRUE(WriteTextFile("C:\\IEXPLORE\\iexplore.exe", kStandIn));
    ASSERT_TRUE(SetRegistryString(HKEY_CURRENT_USER, kInternetSettings, "ProxyOverride",
                                  "intranet;*.local"));
    RunToTheEnd();

    const std::string group = CdSetting("ApplicationGroup"), name = CdSetting("ApplicationName");
    const std::string folder = ProgramsFolder() + "\\" + group.substr(0, 30);
    CloseGroupWindow(group.substr(0, 30));
    EXPECT_EQ(2u, ListFolder(folder).size()) << ::testing::PrintToString(ListFolder(folder));
    const std::pair<std::string, const char*> items[] = {{name, "search.exe"},
                                                         {"Uninstall " + name, "c_uninst.exe"}};
    for (const auto& item : items) {
        ShellLink link;
        ASSERT_TRUE(ReadShellLink(folder + "\\" + item.first.substr(0, 40) + ".lnk", &link));
        EXPECT_TRUE(SamePath(ProgramFile(kCd, item.second), link.target)) << link.target;
    }
    // The key records the browser code in lower case.
    ExpectApplicationKey(false, "msie");
    EXPECT_EQ("MSIE", CdSetting("Browser"));
    EXPECT_EQ("127.0.0.1;intranet;*.local",
              RegistryString(HKEY_CURRENT_USER, kInternetSettings, "ProxyOverride"));
    ExpectLaunches({ProgramFile(kCd, "search.exe")});
}

// CD: Browser = a program path. Wine's desktop process, which serves Program Manager, is
// ended while the setup asks for the destination: both Program Manager operations fail
// at once, and the installation still ends by starting the search program.
const Runs kNoProgramManager("Nt351.WithoutProgramManagerStillStartsTheProgram",
                             {{kNt351, Cd().Set("Browser", "C:\\windows\\notepad.exe")}});
TEST(Nt351, WithoutProgramManagerStillStartsTheProgram) {
    ChildProcess setup;
    ASSERT_TRUE(StartSetup(setup));
    HWND destination = WaitForSetupWindow(setup, kDestinationTitle);
    ASSERT_NE(nullptr, destination);
    // explorer.exe is Wine's desktop process, which is also its Program Manager.
    ASSERT_GT(EndProcesses("explorer.exe"), 0);
    ASSERT_TRUE(ClickButton(destination, IDOK));
    ExpectEndWithoutQuestions(setup);

    EXPECT_FALSE(DirectoryExists(ProgramsFolder() + "\\" + CdSetting("ApplicationGroup")));
    ExpectApplicationKey(false, CdSetting("Browser"));
    ExpectLaunches({ProgramFile(kCd, "search.exe")});
}

// CD: Browser = MSIE. The registry's Internet Explorer does not count before Windows 4,
// and a cache folder without iexplore.exe beside it names none.
const Runs kCacheFolder("Nt351.CacheFolderWithoutTheProgramFindsNothing",
                        {{kNt351, Named("MSIE")}});
TEST(Nt351, CacheFolderWithoutTheProgramFindsNothing) {
    ASSERT_TRUE(
        SetProfileString(IExploreIni(), "MainDiskCache", "Directory", "C:\\IEXPLORE\\CACHE\\"));
    AnswerWithTheOnlyRowLeft("C:\\Browsers\\old.exe");
}

// The sample client CD (Browser = msie). Internet Explorer is found from its sign-up
// viewer in iexplore.ini (a value of 260 characters, the most its buffer keeps, is read
// whole), its bypass list is in that file, the choice goes to win.ini and the group to
// Program Manager.
const Runs kWinIni("Win32s.ClientRecordsTheBrowserInWinIni", {{kWin32s, Cd()}});
TEST(Win32s, ClientRecordsTheBrowserInWinIni) {
    const std::string viewer = "C:\\IE\\isignup.exe %1 ";
    ASSERT_TRUE(SetProfileString(IExploreIni(), "Viewers", "application/x-internet-signup",
                                 viewer + std::string(260 - viewer.size(), 'x')));
    ASSERT_TRUE(WriteTextFile("C:\\IE\\iexplore.exe", kStandIn));
    ASSERT_TRUE(SetProfileString(IExploreIni(), "Services", "No_Proxy", "intranet"));
    ASSERT_EQ("", ProfileString(WindowsDirectory() + "\\win.ini", kCommonSection, "Browser"));
    RunToTheEnd();

    const std::string group = CdSetting("ApplicationGroup"), name = CdSetting("ApplicationName");
    CloseGroupWindow(group);
    EXPECT_EQ("msie", ProfileString(WindowsDirectory() + "\\win.ini", kCommonSection, "Browser"));
    EXPECT_EQ("", RegistryString(HKEY_CURRENT_USER, ApplicationKey(false, group, name), "Browser"));
    EXPECT_EQ("127.0.0.1;intranet", ProfileString(IExploreIni(), "Services", "No_Proxy"));
    EXPECT_EQ("", RegistryString(HKEY_CURRENT_USER, kInternetSettings, "ProxyOverride"));
    EXPECT_TRUE(FileExists(ProgramsFolder() + "\\" + group + "\\" + name + ".lnk"));
    ExpectLaunches({ProgramFile(kCd, "search.exe")});
}

// A publisher's CD with Browser = a program path: the files are copied, but neither
// plug-ins nor the viewer control are installed.
const Runs kWin32sPublisher(
    "Win32s.PublisherGetsNoPluginsAndNoViewerControl",
    {{kWin32s, Cd().Publisher().Set("Browser", "C:\\windows\\notepad.exe")}});
TEST(Win32s, PublisherGetsNoPluginsAndNoViewerControl) {
    // Internet Explorer is here, found through its cache folder, with the viewer control
    // in its plug-in folder: elsewhere the plug-ins would join it and it would register.
    ASSERT_TRUE(
        SetProfileString(IExploreIni(), "MainDiskCache", "Directory", "C:\\IE\\CACHE\\"));
    ASSERT_TRUE(WriteTextFile("C:\\IE\\iexplore.exe", kStandIn));
    ASSERT_TRUE(MakeDirectories("C:\\IE\\plugins"));
    ASSERT_TRUE(CopyFileA("D:\\plugins\\corvane\\view_ocx.ocx", "C:\\IE\\plugins\\view_ocx.ocx",
                          FALSE));
    const std::vector<std::string> driveC = DriveC();
    const std::string dest = "C:\\Workstation";
    RunToTheEnd(dest);
    const std::string group = CdSetting("ApplicationGroup");
    CloseGroupWindow(group);
    ExpectCopied(dest, "_red40\\bin");
    // The filters come after the copy, and not on Win32s.
    EXPECT_FALSE(DirectoryExists(dest + "\\_red40\\filters"));
    ExpectAddedOnlyTo(driveC, {"Workstation", ProgramsPlace(group)});
    EXPECT_FALSE(RegistryKeyExists(HKEY_CLASSES_ROOT, kViewerClass));
    ExpectLaunches({ProgramFile(dest, "search.exe")});
}

// CD: Browser = netscape. Navigator is found from its own INI file without a program
// check, and its bypass list is in that file.
const Runs kNavigatorOwnIni("Win32s.NavigatorFromItsOwnIniFile", {{kWin32s, Named("netscape")}});
TEST(Win32s, NavigatorFromItsOwnIniFile) {
    ASSERT_TRUE(MakeNavigatorIni(kNavigatorIni));
    RunToTheEnd();
    EXPECT_EQ("netscape", CdSetting("Browser"));
    EXPECT_EQ("gateway,127.0.0.1", ProfileString(kNavigatorIni, "Proxy Information", "No_Proxy"));
    EXPECT_FALSE(RegistryKeyExists(HKEY_CURRENT_USER, kNavigatorProxy));
}

// CD: Browser = netscape. win.ini names an INI file longer than the setup's buffer whose
// first 260 characters name Navigator's real file (the blanks after it fall away when the
// name is opened). A name cut short is no name: Navigator counts as not found, and its
// file keeps its list.
const Runs kNavigatorIniName("Win32s.NavigatorIniNameTooLongForTheBufferIsNotCut",
                             {{kWin32s, Named("netscape")}});
TEST(Win32s, NavigatorIniNameTooLongForTheBufferIsNotCut) {
    const std::string ini = kNavigatorIni;
    ASSERT_TRUE(MakeNavigatorIni(ini + std::string(260 - ini.size(), ' ') + "X.INI"));
    ASSERT_NO_FATAL_FAILURE(AnswerWithTheOnlyRowLeft("C:\\Browsers\\old.exe"));
    EXPECT_EQ("gateway", ProfileString(kNavigatorIni, "Proxy Information", "No_Proxy"));
}
