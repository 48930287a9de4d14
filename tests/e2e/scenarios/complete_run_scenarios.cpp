// Installations from start to end, each checked in the registry, in the shortcuts or the
// Program Manager group, on disk and in what was started: the program files left on the
// CD or copied, a publisher's workstation, each browser kind, the old Windows versions,
// settings without names, a destination with a blank, a CD without its link library, a
// declined agreement, and a second run that finds the first.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tools/guidriver/child_process.h"
#include "tools/guidriver/gui_driver.h"
#include "tools/guidriver/machine_state.h"
#include "tests/e2e/scenarios/browser_fixtures.h"
#include "tests/e2e/scenarios/complete_run_checks.h"
#include "tests/e2e/scenarios/install_steps.h"
#include "tests/e2e/scenarios/sample_cd.h"

using namespace guidriver;
using namespace completerun;
using browserfixture::RunSetupWithoutQuestions;
using scenario::CdSetting;
using scenario::kCdSettings;

namespace {

const std::string kCd = "d:";

std::string Group() {
    return CdSetting(kCdSettings, "ApplicationGroup");
}

std::string Name() {
    return CdSetting(kCdSettings, "ApplicationName");
}

std::string Cut(const std::string& text, size_t limit) {
    return text.substr(0, limit);
}

} // namespace

// CD: the sample client CD as it is (Browser = msie).
TEST(CompleteRun, ClientLeftOnCdRecordsTheBrowserAndLinksToTheCd) {
    RunSetupWithoutQuestions();

    ExpectApplicationKey(ApplicationKey(false, Group(), Name()), Group(), Name(), "msie");
    ExpectStartMenuLinks(Group(), Name(), kCd, ProgramFile(kCd, "search.exe"));
    ExpectStartedOnce(ProgramFile(kCd, "search.exe"));
}

// CD: forceInstall = y.
TEST(CompleteRun, ClientCopiedLinksToTheDestinationWithoutABrowserValue) {
    const std::string dest = "C:\\Atlas";
    RunSetupWithoutQuestions(dest);

    EXPECT_TRUE(FileExists(ProgramFile(dest, "search.exe")));
    ExpectApplicationKey(ApplicationKey(false, Group(), Name()), Group(), Name(), "");
    ExpectStartMenuLinks(Group(), Name(), dest, ProgramFile(dest, "search.exe"));
    ExpectStartedOnce(ProgramFile(dest, "search.exe"));
}

// CD: a publisher's CD.
TEST(CompleteRun, PublisherKeyIsBelowTheMaker) {
    const std::string dest = "C:\\Workstation";
    RunSetupWithoutQuestions(dest);

    ExpectApplicationKey(ApplicationKey(true, Group(), Name()), Group(), Name(), "");
    EXPECT_FALSE(RegistryKeyExists(HKEY_CURRENT_USER, ApplicationKey(false, Group(), Name())));
    ExpectStartMenuLinks(Group(), Name(), dest, ProgramFile(dest, "search.exe"));
    ExpectStartedOnce(ProgramFile(dest, "search.exe"));
}

// CD: Browser = netscape, communicator, msie or a program path; the files stay on the CD,
// so the application key is where the choice survives.
TEST(CompleteRun, LeftOnCdRecordsTheBrowserCodeOfEachKind) {
    const std::string setting = CdSetting(kCdSettings, "Browser");
    std::string expected = setting;
    if (setting == "netscape") {
        ASSERT_TRUE(browserfixture::InstallNavigator3());
    } else if (setting == "communicator") {
        ASSERT_TRUE(browserfixture::InstallCommunicator());
        expected = "netscape4";
    }
    RunSetupWithoutQuestions();

    ExpectApplicationKey(ApplicationKey(false, Group(), Name()), Group(), Name(), expected);
    ExpectStartedOnce(ProgramFile(kCd, "search.exe"));
}

// Windows NT 3.51; CD: Browser = a program path (long group and item names in one
// variant). Wine's Program Manager turns the group into a Start-menu folder and each
// item into a shortcut there.
TEST(CompleteRun, Nt351MakesAProgramManagerGroupWithTwoItems) {
    ASSERT_TRUE(SetSetupVersion("nt351"));
    RunSetupWithoutQuestions();

    const std::string group = Cut(Group(), 30);
    const std::string folder = ProgramsFolder() + "\\" + group;
    CloseGroupWindow(group);
    ShellLink app;
    ASSERT_TRUE(ReadShellLink(folder + "\\" + Cut(Name(), 40) + ".lnk", &app))
        << "folder holds: " << ::testing::PrintToString(ListFolder(folder));
    EXPECT_TRUE(SamePath(ProgramFile(kCd, "search.exe"), app.target)) << app.target;
    ShellLink uninstaller;
    ASSERT_TRUE(
        ReadShellLink(folder + "\\" + Cut("Uninstall " + Name(), 40) + ".lnk", &uninstaller))
        << "folder holds: " << ::testing::PrintToString(ListFolder(folder));
    EXPECT_TRUE(SamePath(ProgramFile(kCd, "c_uninst.exe"), uninstaller.target))
        << uninstaller.target;
    EXPECT_EQ(2u, ListFolder(folder).size());

    // The registry keeps the names whole.
    ExpectApplicationKey(ApplicationKey(false, Group(), Name()), Group(), Name(),
                         CdSetting(kCdSettings, "Browser"));
    ExpectStartedOnce(ProgramFile(kCd, "search.exe"));
}

// Win32s; CD: Browser = a program path. The choice goes to win.ini, the group to Program
// Manager.
TEST(CompleteRun, Win32sRecordsTheBrowserInWinIni) {
    ASSERT_TRUE(SetSetupVersion("win31"));
    char before[1024] = "";
    GetProfileStringA(scenario::kCommonSection, "Browser", "", before, sizeof before);
    ASSERT_STREQ("", before);
    RunSetupWithoutQuestions();

    CloseGroupWindow(Cut(Group(), 30));
    char browser[1024] = "";
    GetProfileStringA(scenario::kCommonSection, "Browser", "", browser, sizeof browser);
    EXPECT_EQ(CdSetting(kCdSettings, "Browser"), std::string(browser));
    EXPECT_EQ("",
              RegistryString(HKEY_CURRENT_USER, ApplicationKey(false, Group(), Name()), "Browser"));
    EXPECT_TRUE(
        FileExists(ProgramsFolder() + "\\" + Cut(Group(), 30) + "\\" + Cut(Name(), 40) + ".lnk"));
    ExpectStartedOnce(ProgramFile(kCd, "search.exe"));
}

// Win32s; a publisher's CD with Browser = a program path: the files are copied, but
// neither plug-ins nor the viewer control are installed.
TEST(CompleteRun, Win32sPublisherGetsNoPluginsAndNoViewerControl) {
    ASSERT_TRUE(SetSetupVersion("win31"));
    const std::string dest = "C:\\Workstation";
    const std::string windowsIni = browserfixture::WindowsDirectory() + "\\vuemark.ini";
    RunSetupWithoutQuestions(dest);

    CloseGroupWindow(Cut(Group(), 30));
    EXPECT_TRUE(FileExists(ProgramFile(dest, "search.exe")));
    EXPECT_FALSE(FileExists(windowsIni));
    EXPECT_FALSE(
        RegistryKeyExists(HKEY_CLASSES_ROOT, "CLSID\\{06512320-3A45-4B5B-AA4D-6B1E9FCFC0CD}"));
    ExpectStartedOnce(ProgramFile(dest, "search.exe"));
}

// A publisher's CD without ApplicationGroup and ApplicationName: the key takes the
// defaults, the shortcut steps do not and make "Programs\.lnk".
TEST(CompleteRun, EmptyNamesGiveTheDefaultKeyAndALinkNamedLnk) {
    ASSERT_EQ("", Group());
    ASSERT_EQ("", Name());
    const std::string dest = "C:\\Workstation";
    RunSetupWithoutQuestions(dest);

    ExpectApplicationKey(ApplicationKey(true, "Corvane Publisher", "Corvane Publisher"),
                         "Corvane Publisher", "Corvane Publisher", "");
    ShellLink app;
    ASSERT_TRUE(ReadShellLink(ProgramsFolder() + "\\.lnk", &app))
        << ::testing::PrintToString(ListFolder(ProgramsFolder()));
    EXPECT_TRUE(SamePath(ProgramFile(dest, "search.exe"), app.target)) << app.target;
    EXPECT_EQ("Shortcut to ", app.description);
    EXPECT_TRUE(FileExists(ProgramsFolder() + "\\Uninstall .lnk"));
    ExpectStartedOnce(ProgramFile(dest, "search.exe"));
}

// CD: forceInstall = y. The application's shortcut gets the short form of its target;
// the uninstaller's keeps the long path.
TEST(CompleteRun, BlankInTheDestinationGivesTheApplicationAShortTarget) {
    const std::string dest = "C:\\Program Files\\Search App";
    RunSetupWithoutQuestions(dest);

    const std::string program = ProgramFile(dest, "search.exe");
    const std::string shortProgram = ShortForm(program);
    ASSERT_FALSE(shortProgram.empty());
    ASSERT_FALSE(SamePath(program, shortProgram));
    ExpectStartMenuLinks(Group(), Name(), dest, shortProgram);
    ExpectStartedOnce(program);
}

// CD: without _red40\bin\install.dll.
TEST(CompleteRun, WithoutTheLinkLibraryNoShortcutIsMadeAndTheRunGoesOn) {
    ASSERT_FALSE(FileExists(std::string(scenario::kCdBin) + "\\install.dll"));
    RunSetupWithoutQuestions();

    const std::string folder = ProgramsFolder() + "\\" + Group();
    EXPECT_EQ(std::vector<std::string>(), ListFolder(folder));
    ExpectApplicationKey(ApplicationKey(false, Group(), Name()), Group(), Name(), "msie");
    ExpectStartedOnce(ProgramFile(kCd, "search.exe"));
}

// CD: an agreement to accept.
TEST(CompleteRun, DeclinedAgreementRecordsAndLinksNothing) {
    ChildProcess setup;
    ASSERT_TRUE(scenario::StartSetup(setup));
    HWND agreement = scenario::WaitForSetupWindow(setup, scenario::kLicenseTitle);
    ASSERT_NE(nullptr, agreement);
    ASSERT_TRUE(ClickButton(agreement, IDCANCEL));
    scenario::ExpectCleanExit(setup);

    EXPECT_FALSE(RegistryKeyExists(HKEY_CURRENT_USER, "SOFTWARE\\" + Group()));
    EXPECT_FALSE(DirectoryExists(ProgramsFolder() + "\\" + Group()));
    EXPECT_TRUE(ReadLaunchLog().empty());
}

// CD: forceInstall = y. The second run reads the first run's shortcut back and, answered
// No, starts what it points to and changes nothing.
TEST(CompleteRun, SecondRunFindsTheInstallationAndStartsIt) {
    const std::string dest = "C:\\Atlas";
    RunSetupWithoutQuestions(dest);
    ExpectStartedOnce(ProgramFile(dest, "search.exe"));
    const std::vector<std::string> installed = ListTree(dest);
    const std::vector<std::string> links = ListTree(ProgramsFolder() + "\\" + Group());

    ChildProcess second;
    ASSERT_TRUE(scenario::StartSetup(second));
    WindowQuery query;
    query.processId = second.Id();
    query.className = "#32770";
    HWND question = WaitForWindow(query, scenario::kTimeoutMs);
    ASSERT_NE(nullptr, question) << "the second run asked nothing";
    ASSERT_EQ(scenario::kReinstallQuestion, MessageBoxText(question));
    ASSERT_TRUE(ClickButton(question, IDNO));
    scenario::ExpectCleanExit(second);

    std::vector<LaunchRecord> launches = WaitForLaunches(2, scenario::kTimeoutMs);
    ASSERT_EQ(2u, launches.size());
    EXPECT_TRUE(SamePath(ProgramFile(dest, "search.exe"), Unquoted(launches[1].commandLine)))
        << launches[1].commandLine;
    EXPECT_EQ(installed, ListTree(dest));
    EXPECT_EQ(links, ListTree(ProgramsFolder() + "\\" + Group()));
}

// Windows NT 3.51 without Program Manager: Wine's desktop process, which serves it, is
// ended while the setup asks for the destination. Both Program Manager operations fail
// at once, and the installation still ends by starting the search program.
TEST(CompleteRun, Nt351WithoutProgramManagerStillStartsTheProgram) {
    ASSERT_TRUE(SetSetupVersion("nt351"));
    ChildProcess setup;
    ASSERT_TRUE(scenario::StartSetup(setup));
    HWND destination = scenario::WaitForDestination(setup);
    ASSERT_NE(nullptr, destination);
    ASSERT_GT(EndDesktopProcesses(), 0);

    ASSERT_TRUE(ClickButton(destination, IDOK));
    std::vector<std::string> shown;
    ASSERT_TRUE(setup.WatchUntilExit(scenario::kTimeoutMs, &shown)) << "setup.exe did not end";
    for (const std::string& title : shown) {
        if (!title.empty() && title != scenario::kDestinationTitle)
            ADD_FAILURE() << "setup.exe showed a window: \"" << title << "\"";
    }

    EXPECT_FALSE(DirectoryExists(ProgramsFolder() + "\\" + Group()));
    ExpectApplicationKey(ApplicationKey(false, Group(), Name()), Group(), Name(),
                         CdSetting(kCdSettings, "Browser"));
    ExpectStartedOnce(ProgramFile(kCd, "search.exe"));
}

// CD: forceInstall = y and a group name that fits the settings but not a path below the
// Programs folder: no shortcut is made anywhere, no key is written, and the program still
// starts.
TEST(CompleteRun, OverlongGroupMakesNoShortcutAnywhere) {
    ASSERT_EQ(250u, Group().size());
    const std::vector<std::string> rootBefore = ListFolder("C:\\");
    const std::vector<std::string> programsBefore = ListTree(ProgramsFolder());
    const std::string dest = "C:\\Atlas";
    RunSetupWithoutQuestions(dest);

    EXPECT_EQ(std::vector<std::string>{"Atlas"}, scenario::Added(rootBefore, ListFolder("C:\\")));
    EXPECT_EQ(programsBefore, ListTree(ProgramsFolder()));
    EXPECT_FALSE(RegistryKeyExists(HKEY_CURRENT_USER, "SOFTWARE\\" + Group()));
    ExpectStartedOnce(ProgramFile(dest, "search.exe"));
}
