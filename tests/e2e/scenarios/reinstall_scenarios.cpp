// A setup started where an earlier installation's Start-menu shortcut exists: its
// question in the language of the CD's resource library, with the caption of the
// settings beside the setup; a second setup started while the first one asks; No.
#include <gtest/gtest.h>

#include "tests/e2e/scenarios/kit.h"

using namespace guidriver;
using namespace scenario;

namespace {

// Runs a second setup.exe to its end; every window it showed is a failure, and so is a
// start of the search program.
void RunSecondInstance() {
    ChildProcess second;
    ASSERT_TRUE(StartSetup(second));
    std::vector<std::string> shown;
    ASSERT_TRUE(second.WatchUntilExit(kTimeoutMs, &shown)) << "the second setup.exe did not end";
    EXPECT_EQ(std::vector<std::string>(), shown) << "windows of the second setup.exe";
    ExpectLaunches({});
}

} // namespace

// CD: the German resource library and, beside the setup, a search.ini naming another
// application than the root's.
const Runs kSecondInstance("Reinstall.SecondInstanceAndNo",
                            {{kWineOwn, Cd().German().File("_red40/bin/search.ini",
                                                           "search-setup-folder.ini")}});
TEST(Reinstall, SecondInstanceAndNo) {
    const std::string german =
        LibraryString(std::string(kCdBin) + "\\set32res.dll", IDS_REINSTALL_QUESTION);
    ASSERT_FALSE(german.empty() || german == kReinstallQuestion) << german;
    EarlierInstallation earlier;
    ASSERT_TRUE(MakeEarlierInstallation(&earlier));
    const std::string groupFolder = earlier.shortcut.substr(0, earlier.shortcut.rfind('\\'));
    const std::vector<std::string> installedBefore = ListTree(earlier.folder);
    const std::vector<std::string> groupBefore = ListTree(groupFolder);

    // The caption comes from the search.ini of the setup's current directory, not the root's.
    ASSERT_NE(CdSetting("ApplicationName"), Setting(kCdBinSettings, "ApplicationName"));

    ChildProcess first;
    ASSERT_TRUE(StartSetup(first));
    HWND question = WaitForReinstallQuestion(first, german);
    ASSERT_NE(nullptr, question);

    // The question is a window of none of the titles a second setup looks for: it ends
    // silently, and the question stays in front.
    ASSERT_TRUE(BringToFront(question, kTimeoutMs));
    RunSecondInstance();
    EXPECT_EQ(question, Foreground());

    // A window titled as the destination dialog, below the question (the topmost window
    // is never looked at), comes to the front when a second setup starts.
    ChildProcess dialogProcess;
    ASSERT_TRUE(dialogProcess.Start(
        "\"" + ProgramBesideThisOne("e2e_testdlg.exe") + "\" \"" + kDestinationTitle + "\"", ""));
    WindowQuery query;
    query.titlePart = kDestinationTitle;
    query.processId = dialogProcess.Id();
    HWND directoryDialog = WaitForWindow(query, kTimeoutMs);
    ASSERT_NE(nullptr, directoryDialog);
    // A new dialog comes to the front by itself; only then does the question go over it.
    ASSERT_TRUE(WaitForForeground(directoryDialog, kTimeoutMs));
    ASSERT_TRUE(BringToFront(question, kTimeoutMs));
    ASSERT_NE(directoryDialog, GetTopWindow(nullptr));
    RunSecondInstance();
    EXPECT_TRUE(WaitForForeground(directoryDialog, kTimeoutMs))
        << "foreground: " << Format(Describe(Foreground()));
    ASSERT_TRUE(ClickButton(directoryDialog, IDCANCEL));
    EXPECT_TRUE(dialogProcess.WaitForExit(kTimeoutMs));

    // No: the earlier installation's program starts, from the setup's folder, and
    // nothing is installed or changed.
    ASSERT_TRUE(IsWindow(question)) << "the first setup.exe lost its question";
    ASSERT_TRUE(ClickButton(question, IDNO));
    ExpectCleanExit(first);
    ExpectLaunches({earlier.program}, {kCdBin});
    EXPECT_EQ(installedBefore, ListTree(earlier.folder));
    EXPECT_EQ(groupBefore, ListTree(groupFolder));
    EXPECT_FALSE(
        RegistryKeyExists(HKEY_CURRENT_USER, "SOFTWARE\\" + CdSetting("ApplicationGroup")));
}
