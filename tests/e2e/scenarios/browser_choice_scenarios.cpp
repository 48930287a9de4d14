// The browser named on the CD: taken without a question when that browser is here,
// replaced by the user's answer when it is not.
#include <gtest/gtest.h>

#include "tools/guidriver/gui_driver.h"
#include "tools/guidriver/machine_state.h"
#include "tests/e2e/scenarios/browser_fixtures.h"
#include "tests/e2e/scenarios/sample_cd.h"

using namespace guidriver;
using namespace browserfixture;

namespace {

const char kParametersKey[] = "SOFTWARE\\Lumora Sample\\Lumora Sample Search\\Parameters";

DWORD RegistryDWord(HKEY root, const char* key, const char* name, DWORD fallback) {
    DWORD value = 0;
    DWORD size = sizeof value;
    if (RegGetValueA(root, key, name, RRF_RT_REG_DWORD, nullptr, &value, &size) != ERROR_SUCCESS)
        return fallback;
    return value;
}

} // namespace

// CD: Browser = MSIE; Wine's own Internet Explorer is registered in every prefix.
TEST(BrowserChoice, MsieIsTakenWithoutAskingAndWrittenUnchanged) {
    RunSetupWithoutQuestions();
    EXPECT_EQ("MSIE", InstalledBrowserSetting());
    // Internet Explorer's bypass list did not exist: it is created with the address.
    EXPECT_EQ("127.0.0.1", RegistryString(HKEY_CURRENT_USER, kInternetSettings, "ProxyOverride"));
    EXPECT_EQ(0u, RegistryDWord(HKEY_CURRENT_USER, kInternetSettings, "EnableAutodial", 1));
    EXPECT_EQ("3.0 is a self-contained package. All parameters are stored in file search.ini",
              RegistryString(HKEY_CURRENT_USER, kParametersKey, ""));
}

// CD: Browser = netscape; only Communicator (and Internet Explorer) are here.
TEST(BrowserChoice, NetscapeWithOnlyCommunicatorAsks) {
    ASSERT_TRUE(InstallCommunicator());
    ASSERT_TRUE(SetRegistryString(HKEY_CURRENT_USER, kInternetSettings, "ProxyOverride",
                                  "intranet;*.local"));
    ChildProcess setup;
    HWND dialog = WaitForBrowserDialog(setup);
    ASSERT_NE(nullptr, dialog);
    EXPECT_EQ(
        (std::vector<std::string>{kIELabel, "Netscape Communicator 4.7 (en)", "Other Browser"}),
        VisibleRows(dialog));
    ASSERT_TRUE(ClickButton(dialog, IDOK)); // the first row is chosen at the start
    ASSERT_TRUE(setup.WaitForExit(scenario::kTimeoutMs)) << "setup.exe did not end";

    EXPECT_EQ("msie", InstalledBrowserSetting());
    EXPECT_EQ("127.0.0.1;intranet;*.local",
              RegistryString(HKEY_CURRENT_USER, kInternetSettings, "ProxyOverride"));
}

// CD: Browser = C:\Browsers\lynx.exe, a program that exists.
TEST(BrowserChoice, ExistingProgramIsTakenWithoutAskingAndNoProxyListChanges) {
    ASSERT_TRUE(MakeFile("C:\\Browsers\\lynx.exe"));
    ASSERT_TRUE(
        SetRegistryString(HKEY_CURRENT_USER, kInternetSettings, "ProxyOverride", "intranet"));
    RunSetupWithoutQuestions();
    EXPECT_EQ("C:\\Browsers\\lynx.exe", InstalledBrowserSetting());
    EXPECT_EQ("intranet", RegistryString(HKEY_CURRENT_USER, kInternetSettings, "ProxyOverride"));
    EXPECT_FALSE(RegistryKeyExists(HKEY_CURRENT_USER, kNavigatorProxy));
}

// CD: Browser = C:\Browsers\lynx.exe, a program that is not there.
TEST(BrowserChoice, MissingProgramAsks) {
    ChildProcess setup;
    HWND dialog = WaitForBrowserDialog(setup);
    ASSERT_NE(nullptr, dialog);
    ASSERT_TRUE(ClickButton(dialog, IDOK));
    ASSERT_TRUE(setup.WaitForExit(scenario::kTimeoutMs)) << "setup.exe did not end";
    EXPECT_EQ("msie", InstalledBrowserSetting());
}

// CD: Browser = netscape. Navigator 4 records its Communicator folder; its program is
// in the sibling folder navigator\program.
TEST(BrowserChoice, NavigatorInTheCommunicatorFolderIsFoundBesideIt) {
    ASSERT_TRUE(SetRegistryString(HKEY_CURRENT_USER, "Software\\Netscape\\Netscape Navigator\\Main",
                                  "Install Directory",
                                  "C:\\Program Files\\Netscape\\Communicator"));
    ASSERT_TRUE(MakeFile("C:\\Program Files\\Netscape\\navigator\\program\\netscape.exe"));
    ASSERT_TRUE(SetRegistryString(HKEY_CURRENT_USER, kNavigatorProxy, "No_Proxy", "gateway"));
    RunSetupWithoutQuestions();
    EXPECT_EQ("netscape", InstalledBrowserSetting());
    EXPECT_EQ("gateway,127.0.0.1", RegistryString(HKEY_CURRENT_USER, kNavigatorProxy, "No_Proxy"));
}
