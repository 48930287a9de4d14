// Browsers on Windows before version 4, where Internet Explorer is found through its
// iexplore.ini, and on Win32s, where Navigator names its own INI file in win.ini and the
// bypass lists live in INI files.
#include <gtest/gtest.h>

#include "tools/guidriver/gui_driver.h"
#include "tools/guidriver/machine_state.h"
#include "tests/e2e/scenarios/browser_fixtures.h"
#include "tests/e2e/scenarios/sample_cd.h"

using namespace guidriver;
using namespace browserfixture;

namespace {

std::string IExploreIni() {
    return WindowsDirectory() + "\\iexplore.ini";
}

// The browser dialog offers nothing but "Other Browser": answer it with `path` and let
// the setup end.
void AnswerWithTheOnlyRowLeft(const char* path) {
    ChildProcess setup;
    HWND dialog = WaitForBrowserDialog(setup);
    ASSERT_NE(nullptr, dialog);
    EXPECT_EQ((std::vector<std::string>{"Other Browser"}), VisibleRows(dialog));
    ASSERT_TRUE(SetEditText(dialog, kPathEdit, path));
    ASSERT_TRUE(ClickButton(dialog, IDOK));
    ASSERT_TRUE(setup.WaitForExit(scenario::kTimeoutMs)) << "setup.exe did not end";
}

} // namespace

// Windows NT 3.51; CD: Browser = MSIE.
TEST(OldWindows, IExploreIniCacheFolderFindsInternetExplorer) {
    ASSERT_TRUE(SetSetupWindowsVersion("nt351"));
    ASSERT_TRUE(
        SetProfileString(IExploreIni(), "MainDiskCache", "Directory", "C:\\IEXPLORE\\CACHE\\"));
    ASSERT_TRUE(MakeFile("C:\\IEXPLORE\\iexplore.exe"));
    ASSERT_TRUE(SetRegistryString(HKEY_CURRENT_USER, kInternetSettings, "ProxyOverride",
                                  "intranet;*.local"));
    RunSetupWithoutQuestions();
    EXPECT_EQ("MSIE", InstalledBrowserSetting());
    EXPECT_EQ("127.0.0.1;intranet;*.local",
              RegistryString(HKEY_CURRENT_USER, kInternetSettings, "ProxyOverride"));
}

// Windows NT 3.51; CD: Browser = MSIE. The registry's Internet Explorer does not count
// before Windows 4, and a cache folder without iexplore.exe beside it names none.
TEST(OldWindows, CacheFolderWithoutTheProgramFindsNothing) {
    ASSERT_TRUE(SetSetupWindowsVersion("nt351"));
    ASSERT_TRUE(
        SetProfileString(IExploreIni(), "MainDiskCache", "Directory", "C:\\IEXPLORE\\CACHE\\"));
    ASSERT_NO_FATAL_FAILURE(AnswerWithTheOnlyRowLeft("C:\\Browsers\\old.exe"));
    EXPECT_EQ("C:\\Browsers\\old.exe", InstalledBrowserSetting());
}

// Win32s; CD: Browser = netscape. Navigator is found from its own INI file without a
// program check, and its bypass list is in that file.
TEST(Win32s, NavigatorFromItsOwnIniFile) {
    ASSERT_TRUE(SetSetupWindowsVersion("win31"));
    const std::string navigatorIni = "C:\\NETSCAPE\\NETSCAPE.INI";
    ASSERT_TRUE(MakeDirectories("C:\\NETSCAPE"));
    ASSERT_TRUE(
        SetProfileString(WindowsDirectory() + "\\win.ini", "Netscape", "ini", navigatorIni));
    ASSERT_TRUE(SetProfileString(navigatorIni, "Main", "Install Directory", "C:\\NETSCAPE"));
    ASSERT_TRUE(SetProfileString(navigatorIni, "Proxy Information", "No_Proxy", "gateway"));
    RunSetupWithoutQuestions();
    EXPECT_EQ("netscape", InstalledBrowserSetting());
    EXPECT_EQ("gateway,127.0.0.1", ProfileString(navigatorIni, "Proxy Information", "No_Proxy"));
    EXPECT_FALSE(RegistryKeyExists(HKEY_CURRENT_USER, kNavigatorProxy));
}

// Win32s; CD: Browser = netscape. win.ini names an INI file longer than the setup's
// buffer whose first 260 characters name Navigator's real file (the blanks after it
// fall away when the name is opened). A name cut short is no name: Navigator counts as
// not found, and its file keeps its list.
TEST(Win32s, NavigatorIniNameTooLongForTheBufferIsNotCut) {
    ASSERT_TRUE(SetSetupWindowsVersion("win31"));
    const std::string navigatorIni = "C:\\NETSCAPE\\NETSCAPE.INI";
    ASSERT_TRUE(MakeDirectories("C:\\NETSCAPE"));
    std::string named = navigatorIni + std::string(260 - navigatorIni.size(), ' ') + "X.INI";
    ASSERT_TRUE(SetProfileString(WindowsDirectory() + "\\win.ini", "Netscape", "ini", named));
    ASSERT_TRUE(SetProfileString(navigatorIni, "Main", "Install Directory", "C:\\NETSCAPE"));
    ASSERT_TRUE(SetProfileString(navigatorIni, "Proxy Information", "No_Proxy", "gateway"));
    ASSERT_NO_FATAL_FAILURE(AnswerWithTheOnlyRowLeft("C:\\Browsers\\old.exe"));
    EXPECT_EQ("gateway", ProfileString(navigatorIni, "Proxy Information", "No_Proxy"));
}

// Win32s; CD: Browser = msie. Internet Explorer is found from its sign-up viewer in
// iexplore.ini, and its bypass list is in that file.
TEST(Win32s, InternetExplorerFromItsSignupViewer) {
    ASSERT_TRUE(SetSetupWindowsVersion("win31"));
    ASSERT_TRUE(SetProfileString(IExploreIni(), "Viewers", "application/x-internet-signup",
                                 "C:\\IE\\isignup.exe %1"));
    ASSERT_TRUE(MakeFile("C:\\IE\\iexplore.exe"));
    ASSERT_TRUE(SetProfileString(IExploreIni(), "Services", "No_Proxy", "intranet"));
    RunSetupWithoutQuestions();
    EXPECT_EQ("msie", InstalledBrowserSetting());
    EXPECT_EQ("127.0.0.1;intranet", ProfileString(IExploreIni(), "Services", "No_Proxy"));
    EXPECT_EQ("", RegistryString(HKEY_CURRENT_USER, kInternetSettings, "ProxyOverride"));
}
