// The browser: the one the CD names, taken without a question when it is here and
// recorded in the application key, its bypass list given 127.0.0.1; the selection dialog
// when the CD names none (a named browser that is not here: the runs on Windows NT 3.51
// and Win32s). The CD is writable, so that the "Browser"
// the run records in the CD's own search.ini (the program files stay on it) can be read.
#include <gtest/gtest.h>

#include "tests/e2e/scenarios/kit.h"

using namespace guidriver;
using namespace scenario;

namespace {

const char kIELabel[] = " Microsoft Internet Explorer";
const char kNavigator3Label[] = " Netscape Navigator 3.x or earlier";

RECT ClientRectOf(HWND dialog, int id) {
    RECT rect = {};
    GetWindowRect(GetDlgItem(dialog, id), &rect);
    MapWindowPoints(HWND_DESKTOP, dialog, reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

HWND WaitForBrowserDialog(ChildProcess& setup) {
    if (!AnswerDestination(setup))
        return nullptr;
    return WaitForSetupWindow(setup, kBrowserTitle);
}

// The run records its choice in the CD's own settings; cleared, the CD names no browser
// again, and the setup run again (Yes to its question) shows the dialog once more.
HWND ForgetTheChoiceAndAskAgain(ChildProcess& setup) {
    EXPECT_TRUE(SetProfileString(kCdSettings, kCommonSection, "Browser", ""));
    return StartAndAnswerReinstall(setup, IDYES) ? WaitForBrowserDialog(setup) : nullptr;
}

} // namespace

// CD: Browser = netscape. Navigator 4 records its Communicator folder; its program is in
// the sibling folder navigator\program.
const Runs kNavigator4("BrowserNamed.NavigatorBesideItsCommunicatorFolder",
                       {{kWin2000, Cd().Writable().Set("Browser", "netscape")}});
TEST(BrowserNamed, NavigatorBesideItsCommunicatorFolder) {
    ASSERT_TRUE(SetRegistryString(HKEY_CURRENT_USER, "Software\\Netscape\\Netscape Navigator\\Main",
                                  "Install Directory",
                                  "C:\\Program Files\\Netscape\\Communicator"));
    ASSERT_TRUE(
        WriteTextFile("C:\\Program Files\\Netscape\\navigator\\program\\netscape.exe", kStandIn));
    ASSERT_TRUE(SetRegistryString(HKEY_CURRENT_USER, kNavigatorProxy, "No_Proxy", "gateway"));
    RunToTheEnd();
    EXPECT_EQ("netscape", CdSetting("Browser"));
    ExpectApplicationKey(false, "netscape");
    EXPECT_EQ("gateway,127.0.0.1", RegistryString(HKEY_CURRENT_USER, kNavigatorProxy, "No_Proxy"));
    ExpectLaunches({ProgramFile(kCd, "search.exe")});
}

// CD: Browser = communicator; its prefs.js names other hosts to bypass. The shapes of
// prefs.js are the rewrite's own unit tests; this run shows the proxy step applies it.
const Runs kCommunicator("BrowserNamed.CommunicatorPrefsGetTheAddress",
                         {{kWin2000, Cd().Writable().Set("Browser", "communicator")}});
TEST(BrowserNamed, CommunicatorPrefsGetTheAddress) {
    ASSERT_TRUE(InstallCommunicator());
    const std::string header = "// Netscape User Preferences\r\n"
                               "user_pref(\"network.proxy.http\", \"proxy\");\r\n";
    const std::string trailer = "user_pref(\"network.proxy.type\", 1);\r\n";
    ASSERT_TRUE(WriteTextFile(
        CommunicatorPrefs(),
        header + "user_pref(\"network.proxy.no_proxies_on\", \"intranet\");\r\n" + trailer));
    RunToTheEnd();
    EXPECT_EQ("communicator", CdSetting("Browser"));
    ExpectApplicationKey(false, "netscape4");
    EXPECT_EQ(header + "user_pref(\"network.proxy.no_proxies_on\", \"intranet,127.0.0.1\");\r\n" +
                  trailer,
              ReadTextFile(CommunicatorPrefs()));
    ExpectLaunches({ProgramFile(kCd, "search.exe")});
}

// CD: no Browser. Navigator 3, a Communicator 4.7 and a Netscape 6 are installed; the
// Navigator key also has a "Users" subkey, which is never an installation. Three runs
// answer the dialog three ways.
const Runs kDialog("BrowserDialog.ChosenRowClosedRowAndTypedPath",
                   {{kWin95, Cd().Writable().Unset("Browser")}});
TEST(BrowserDialog, ChosenRowClosedRowAndTypedPath) {
    ASSERT_TRUE(InstallNavigator3() && InstallCommunicator() && InstallNetscape6());
    ASSERT_TRUE(SetRegistryString(HKEY_LOCAL_MACHINE,
                                  "Software\\Netscape\\Netscape Navigator\\Users\\main",
                                  "Install Directory", "C:\\Netscape\\Communicator\\Program"));
    ChildProcess setup;
    ASSERT_TRUE(StartSetup(setup));
    HWND dialog = WaitForBrowserDialog(setup);
    ASSERT_NE(nullptr, dialog);
    EXPECT_EQ(
        (std::vector<std::string>{kIELabel, kNavigator3Label, "Netscape Communicator 4.7 (en)",
                                  "Netscape Communicator 6.2 (en)", "Other Browser"}),
        VisibleRows(dialog));
    // Five rows of eleven: the controls below them sit six tenths of the distance from
    // the first radio's centre to the last one's higher than the template puts them.
    RECT first = ClientRectOf(dialog, IDC_BROWSER_RADIO_FIRST);
    RECT last = ClientRectOf(dialog, IDC_BROWSER_RADIO_LAST);
    int span = (last.top + last.bottom) / 2 - (first.top + first.bottom) / 2;
    ASSERT_GT(span, 0);
    // Template rows are 11 units apart; OK stands 148 units below the first row.
    int shrink = span * 6 / 10;
    EXPECT_NEAR(first.top + span * 148 / 110 - shrink, ClientRectOf(dialog, IDOK).top, 3);
    RECT client = {};
    GetClientRect(dialog, &client);
    EXPECT_NEAR(first.top + span * (212 - 41) / 110 - shrink, client.bottom, 3);
    EXPECT_EQ(BST_CHECKED, Control(dialog, IDC_BROWSER_RADIO_FIRST).check);
    EXPECT_FALSE(Control(dialog, IDC_BROWSER_PATH).enabled || Control(dialog, IDC_BROWSE).enabled);
    // Communicator 4.7: kind 2 by its program path, whose proxy settings are left alone.
    ASSERT_TRUE(SetCheck(dialog, IDC_BROWSER_RADIO_FIRST + 2, true));
    ASSERT_TRUE(ClickButton(dialog, IDOK));
    ExpectCleanExit(setup);
    EXPECT_EQ(kCommunicatorProgram, CdSetting("Browser"));
    EXPECT_EQ("", RegistryString(HKEY_CURRENT_USER, kInternetSettings, "ProxyOverride"));
    EXPECT_FALSE(RegistryKeyExists(HKEY_CURRENT_USER, kNavigatorProxy));

    // Closing the dialog hands back the highlighted row: Navigator 3, whose bypass list
    // did not exist and is created with the address.
    ChildProcess second;
    dialog = ForgetTheChoiceAndAskAgain(second);
    ASSERT_NE(nullptr, dialog);
    ASSERT_TRUE(SetCheck(dialog, IDC_BROWSER_RADIO_FIRST + 1, true));
    ASSERT_TRUE(PostMessageA(dialog, WM_CLOSE, 0, 0));
    ExpectCleanExit(second);
    EXPECT_EQ("netscape", CdSetting("Browser"));
    EXPECT_EQ("127.0.0.1", RegistryString(HKEY_CURRENT_USER, kNavigatorProxy, "No_Proxy"));

    // "Other Browser": a typed path is handed back unchecked, at most 1023 characters of it.
    ChildProcess third;
    dialog = ForgetTheChoiceAndAskAgain(third);
    ASSERT_NE(nullptr, dialog);
    ASSERT_TRUE(SetCheck(dialog, IDC_BROWSER_RADIO_FIRST + 4, true));
    EXPECT_TRUE(Control(dialog, IDC_BROWSER_PATH).enabled && Control(dialog, IDC_BROWSE).enabled);
    const std::string typed = "C:\\" + std::string(1100, 'b');
    ASSERT_TRUE(SetEditText(dialog, IDC_BROWSER_PATH, typed));
    ASSERT_TRUE(ClickButton(dialog, IDOK));
    ExpectCleanExit(third);
    EXPECT_EQ(typed.substr(0, 1023), CdSetting("Browser"));
    ExpectLaunches({ProgramFile(kCd, "search.exe"), ProgramFile(kCd, "search.exe"),
                    ProgramFile(kCd, "search.exe")});
}
