// Installations from CDs whose settings no publisher should ship: over-long values and
// paths, odd characters, broken files. The setup may refuse or fail a step, but it never
// crashes and never writes outside the destination.
#include <gtest/gtest.h>

#include <cstdio>

#include "tools/guidriver/child_process.h"
#include "tools/guidriver/gui_driver.h"
#include "tools/guidriver/machine_state.h"
#include "tests/e2e/scenarios/install_steps.h"
#include "tests/e2e/scenarios/sample_cd.h"

using namespace guidriver;
using namespace scenario;

namespace {

class HostileInstall : public ::testing::Test {
protected:
    void SetUp() override {
        m_driveC = ListFolder("C:\\");
        m_windows = ListFolder("C:\\windows");
        ASSERT_TRUE(StartSetup(m_setup));
    }

    // Only `allowed` may have appeared in the top folder of C:, and Windows' own folder
    // gained nothing but the viewer's settings that the plug-in step puts there.
    void ExpectNothingOutside(const std::vector<std::string>& allowed) {
        for (const std::string& added : Added(m_driveC, ListFolder("C:\\"))) {
            bool ok = false;
            for (const std::string& name : allowed)
                ok = ok || SamePath(name, added);
            EXPECT_TRUE(ok) << "C:\\" << added << " appeared";
        }
        for (const std::string& added : Added(m_windows, ListFolder("C:\\windows")))
            EXPECT_TRUE(SamePath("vuemark.ini", added)) << "C:\\windows\\" << added << " appeared";
    }

    std::vector<std::string> m_driveC;
    std::vector<std::string> m_windows;
    ChildProcess m_setup;
};

} // namespace

// Whatever the CD's settings say: answer every question and end cleanly.
TEST_F(HostileInstall, AnsweredToTheEndWithoutACrash) {
    std::vector<std::string> messages;
    ASSERT_TRUE(AnswerUntilExit(m_setup, &messages)) << "setup.exe did not end";
    ExpectCleanExit(m_setup);
    for (const std::string& message : messages)
        std::printf("message: %.200s\n", message.c_str());
    ExpectNothingOutside({"nodra30", "lumora"});
}

TEST_F(HostileInstall, OverlongTreeNameFailsAsACopy) {
    HWND dialog = WaitForDestination(m_setup);
    ASSERT_NE(nullptr, dialog);
    // An over-long default is no default.
    EXPECT_EQ("c:\\", WindowText(GetDlgItem(dialog, kPathId)));
    ASSERT_TRUE(InstallTo(dialog, "C:\\Hostile"));
    std::string message = AnswerMessageBox(m_setup);
    // The source path of the tree, cut to the engine's buffer.
    std::string expected = std::string(kCouldNotCopy) + "d:\\" + std::string(200, 'P');
    EXPECT_EQ(expected, message.substr(0, expected.size()));
    EXPECT_LE(message.size(), std::string(kCouldNotCopy).size() + 260);
    ExpectCleanExit(m_setup);
    EXPECT_TRUE(ReadLaunchLog().empty());
    ExpectNothingOutside({"Hostile"});
}

TEST_F(HostileInstall, OverlongCdPathsAreSkippedWithTheirTree) {
    HWND dialog = WaitForDestination(m_setup);
    ASSERT_NE(nullptr, dialog);
    ASSERT_TRUE(InstallTo(dialog, "C:\\Deep"));
    ExpectCleanExit(m_setup);
    // The "common" tree holds a path too long to copy; its failure does not count.
    EXPECT_TRUE(FileExists("C:\\Deep\\_red40\\bin\\search.exe"));
    EXPECT_EQ("ClientHD", InstalledSetting("C:\\Deep\\search.ini", "CurrentEnv"));
    EXPECT_EQ(1u, WaitForLaunches(1, kTimeoutMs).size());
    ExpectNothingOutside({"Deep"});
}

TEST_F(HostileInstall, OddCharactersAreShownAsWritten) {
    HWND agreement = WaitForSetupWindow(m_setup, kLicenseTitle);
    ASSERT_NE(nullptr, agreement);
    EXPECT_EQ(CdSetting(kCdSettings, "ApplicationName") + " : " + kLicenseTitle,
              WindowText(agreement));
    // The agreement file named does not exist: an empty text.
    EXPECT_EQ("", WindowText(GetDlgItem(agreement, kLicenseTextId)));
    ASSERT_TRUE(ClickButton(agreement, IDOK));

    HWND dialog = WaitForDestination(m_setup);
    ASSERT_NE(nullptr, dialog);
    ASSERT_TRUE(InstallTo(dialog, "C:\\Odd"));
    EXPECT_EQ(std::string(kCouldNotCopy) + "d:" + CdSetting(kCdSettings, "_default"),
              AnswerMessageBox(m_setup));
    ExpectCleanExit(m_setup);
    ExpectNothingOutside({"Odd"});
}

TEST_F(HostileInstall, TreeNamesLeadingOutOfTheDestinationAreRefused) {
    HWND dialog = WaitForDestination(m_setup);
    ASSERT_NE(nullptr, dialog);
    ASSERT_TRUE(InstallTo(dialog, "C:\\Inside\\Here"));
    EXPECT_EQ(std::string(kCouldNotCopy) + "d:" + CdSetting(kCdSettings, "_default"),
              AnswerMessageBox(m_setup));
    ExpectCleanExit(m_setup);
    EXPECT_FALSE(DirectoryExists("C:\\Inside\\data"));
    EXPECT_FALSE(DirectoryExists("C:\\data"));
    ExpectNothingOutside({"Inside"});
}

// A destination with blanks: the search program's path goes on its command line
// unquoted, and the installed program still starts, from its own folder. (Wine quotes a
// program path with blanks that it found itself, so the program sees it quoted here.)
TEST_F(HostileInstall, DestinationWithBlanksStartsTheInstalledProgram) {
    HWND dialog = WaitForDestination(m_setup);
    ASSERT_NE(nullptr, dialog);
    ASSERT_TRUE(InstallTo(dialog, "C:\\My Search  Files"));
    ExpectCleanExit(m_setup);
    std::vector<LaunchRecord> launches = WaitForLaunches(1, kTimeoutMs);
    ASSERT_EQ(1u, launches.size()) << "search.exe was not started once";
    std::string program = launches[0].commandLine;
    if (program.size() >= 2 && program.front() == '"' && program.back() == '"')
        program = program.substr(1, program.size() - 2);
    EXPECT_TRUE(SamePath("C:\\My Search  Files\\_red40\\bin\\search.exe", program))
        << launches[0].commandLine;
    EXPECT_TRUE(SamePath("C:\\My Search  Files\\_red40\\bin", launches[0].currentDirectory));
    ExpectNothingOutside({"My Search  Files"});
}
