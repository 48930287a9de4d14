// The browser selection dialog on a CD that names no browser.
#include <gtest/gtest.h>

#include "tools/guidriver/gui_driver.h"
#include "tools/guidriver/machine_state.h"
#include "tests/e2e/scenarios/browser_fixtures.h"
#include "tests/e2e/scenarios/sample_cd.h"

using namespace guidriver;
using namespace browserfixture;

namespace {

RECT ClientRectOf(HWND dialog, int id) {
    RECT rect = {};
    GetWindowRect(GetDlgItem(dialog, id), &rect);
    MapWindowPoints(HWND_DESKTOP, dialog, reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

const ControlInfo* Find(const std::vector<ControlInfo>& controls, int id) {
    for (const ControlInfo& control : controls) {
        if (control.id == id)
            return &control;
    }
    return nullptr;
}

} // namespace

// Navigator 3, a Communicator 4.7 and a Netscape 6 are installed; the Navigator key also
// has a "Users" subkey, which is never an installation.
TEST(BrowserDialog, ListsEveryBrowserFoundAndHandsBackTheChosenInstallation) {
    ASSERT_TRUE(InstallNavigator3());
    ASSERT_TRUE(InstallCommunicator());
    ASSERT_TRUE(SetRegistryString(HKEY_LOCAL_MACHINE,
                                  "Software\\Netscape\\Netscape Navigator\\Users\\main",
                                  "Install Directory", "C:\\Netscape\\Communicator\\Program"));
    ASSERT_TRUE(SetRegistryString(HKEY_LOCAL_MACHINE,
                                  "Software\\Netscape\\Netscape 6\\6.2 (en)\\main",
                                  "Install Directory", "C:\\Netscape 6\\"));
    ASSERT_TRUE(MakeFile("C:\\Netscape 6\\netscp6.exe"));

    ChildProcess setup;
    HWND dialog = WaitForBrowserDialog(setup);
    ASSERT_NE(nullptr, dialog);
    EXPECT_EQ(
        (std::vector<std::string>{kIELabel, kNavigator3Label, "Netscape Communicator 4.7 (en)",
                                  "Netscape Communicator 6.2 (en)", "Other Browser"}),
        VisibleRows(dialog));

    // Five rows of eleven: the controls below them sit six tenths of the distance from
    // the first radio's centre to the last one's higher than the template puts them.
    RECT first = ClientRectOf(dialog, kFirstRadio);
    RECT last = ClientRectOf(dialog, kLastRadio);
    int span = (last.top + last.bottom) / 2 - (first.top + first.bottom) / 2;
    ASSERT_GT(span, 0);
    // Template rows are 11 units apart; OK stands 148 units below the first row.
    int okInTemplate = first.top + span * 148 / 110;
    int shrink = span * 6 / 10;
    EXPECT_NEAR(okInTemplate - shrink, ClientRectOf(dialog, IDOK).top, 3);
    RECT client = {};
    GetClientRect(dialog, &client);
    EXPECT_NEAR(first.top + span * (212 - 41) / 110 - shrink, client.bottom, 3);

    std::vector<ControlInfo> controls = Controls(dialog);
    ASSERT_NE(nullptr, Find(controls, kPathEdit));
    EXPECT_EQ(BST_CHECKED, Find(controls, kFirstRadio)->check);
    EXPECT_FALSE(Find(controls, kPathEdit)->enabled);
    EXPECT_FALSE(Find(controls, kBrowseButton)->enabled);

    ASSERT_TRUE(SetCheck(dialog, kFirstRadio + 2, true));
    ASSERT_TRUE(ClickButton(dialog, IDOK));
    ASSERT_TRUE(setup.WaitForExit(scenario::kTimeoutMs)) << "setup.exe did not end";

    // Code 2 with the installation's program: a browser given by its path, whose proxy
    // settings are left alone.
    EXPECT_EQ(kCommunicatorProgram, InstalledBrowserSetting());
    EXPECT_EQ("", RegistryString(HKEY_CURRENT_USER, kInternetSettings, "ProxyOverride"));
    EXPECT_FALSE(RegistryKeyExists(HKEY_CURRENT_USER, kNavigatorProxy));
}

TEST(BrowserDialog, OtherBrowserTakesTheTypedPath) {
    ChildProcess setup;
    HWND dialog = WaitForBrowserDialog(setup);
    ASSERT_NE(nullptr, dialog);
    EXPECT_EQ((std::vector<std::string>{kIELabel, "Other Browser"}), VisibleRows(dialog));

    ASSERT_TRUE(SetCheck(dialog, kFirstRadio + 1, true));
    std::vector<ControlInfo> controls = Controls(dialog);
    ASSERT_NE(nullptr, Find(controls, kPathEdit));
    EXPECT_TRUE(Find(controls, kPathEdit)->enabled);
    EXPECT_TRUE(Find(controls, kBrowseButton)->enabled);
    // A path longer than the dialog keeps would be cut to some other program's: OK
    // leaves the dialog open. Sent, not posted, so the click is over when it returns.
    ASSERT_TRUE(SetEditText(dialog, kPathEdit, ("C:\\" + std::string(1100, 'b')).c_str()));
    DWORD_PTR ignored = 0;
    ASSERT_NE(0, SendMessageTimeoutA(dialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED),
                                     reinterpret_cast<LPARAM>(GetDlgItem(dialog, IDOK)),
                                     SMTO_NORMAL, scenario::kTimeoutMs, &ignored));
    ASSERT_TRUE(SetEditText(dialog, kPathEdit, "C:\\Browsers\\typed.exe"));
    ASSERT_TRUE(ClickButton(dialog, IDOK));
    ASSERT_TRUE(setup.WaitForExit(scenario::kTimeoutMs)) << "setup.exe did not end";

    // No check of the path: it is handed back as typed.
    EXPECT_EQ("C:\\Browsers\\typed.exe", InstalledBrowserSetting());
}

TEST(BrowserDialog, ClosingHandsBackTheHighlightedRow) {
    ASSERT_TRUE(InstallNavigator3());
    ChildProcess setup;
    HWND dialog = WaitForBrowserDialog(setup);
    ASSERT_NE(nullptr, dialog);
    ASSERT_TRUE(SetCheck(dialog, kFirstRadio + 1, true));
    ASSERT_TRUE(PostMessageA(dialog, WM_CLOSE, 0, 0));
    ASSERT_TRUE(setup.WaitForExit(scenario::kTimeoutMs)) << "setup.exe did not end";

    EXPECT_EQ("netscape", InstalledBrowserSetting());
    // Navigator's bypass list did not exist: it is created with the address.
    EXPECT_EQ("127.0.0.1", RegistryString(HKEY_CURRENT_USER, kNavigatorProxy, "No_Proxy"));
}
