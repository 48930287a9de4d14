// A run on a machine where the Start-menu shortcut of an earlier installation exists.
#include <gtest/gtest.h>

#include "tools/guidriver/child_process.h"
#include "tools/guidriver/gui_driver.h"
#include "tools/guidriver/machine_state.h"
#include "tests/e2e/scenarios/install_steps.h"
#include "tests/e2e/scenarios/sample_cd.h"

using namespace guidriver;

namespace {

class Reinstall : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(scenario::MakeEarlierInstallation(&m_earlier));
        m_installedBefore = ListTree(m_earlier.folder);
        m_groupBefore = ListTree(GroupFolder());
        ASSERT_TRUE(scenario::StartSetup(m_setup));
    }

    std::string GroupFolder() const {
        return m_earlier.shortcut.substr(0, m_earlier.shortcut.find_last_of('\\'));
    }

    // The question, checked for its text, caption and buttons.
    HWND WaitForQuestion() {
        WindowQuery query;
        query.processId = m_setup.Id();
        query.className = "#32770";
        HWND box = WaitForWindow(query, scenario::kTimeoutMs);
        if (!box) {
            ADD_FAILURE() << "setup.exe asked nothing";
            return nullptr;
        }
        WindowInfo info = Describe(box);
        EXPECT_TRUE(info.isMessageBox) << Format(info);
        // The caption comes from the search.ini of the setup's current directory.
        EXPECT_EQ(scenario::CdSetting(scenario::kCdBinSettings, "ApplicationName"), info.title);
        EXPECT_EQ(scenario::kReinstallQuestion, info.messageText);
        EXPECT_NE(nullptr, GetDlgItem(box, IDYES)) << Format(info);
        EXPECT_NE(nullptr, GetDlgItem(box, IDNO)) << Format(info);
        EXPECT_EQ(nullptr, GetDlgItem(box, IDOK)) << Format(info);
        return box;
    }

    scenario::EarlierInstallation m_earlier;
    std::vector<std::string> m_installedBefore;
    std::vector<std::string> m_groupBefore;
    ChildProcess m_setup;
};

} // namespace

TEST_F(Reinstall, NoStartsTheInstalledCopyAndChangesNothing) {
    HWND question = WaitForQuestion();
    ASSERT_NE(nullptr, question);
    ASSERT_TRUE(ClickButton(question, IDNO));
    ASSERT_TRUE(m_setup.WaitForExit(scenario::kTimeoutMs)) << "setup.exe did not end";

    std::vector<LaunchRecord> launches = WaitForLaunches(1, scenario::kTimeoutMs);
    ASSERT_EQ(1u, launches.size());
    EXPECT_TRUE(SamePath(m_earlier.program, launches[0].commandLine)) << launches[0].commandLine;
    EXPECT_TRUE(SamePath(scenario::kCdBin, launches[0].currentDirectory))
        << launches[0].currentDirectory;

    EXPECT_EQ(m_installedBefore, ListTree(m_earlier.folder));
    EXPECT_EQ(m_groupBefore, ListTree(GroupFolder()));
    EXPECT_FALSE(RegistryKeyExists(
        HKEY_CURRENT_USER,
        "SOFTWARE\\" + scenario::CdSetting(scenario::kCdSettings, "ApplicationGroup")));
}

TEST_F(Reinstall, YesGoesOnAsAFirstInstallation) {
    HWND question = WaitForQuestion();
    ASSERT_NE(nullptr, question);
    ASSERT_TRUE(ClickButton(question, IDYES));
    HWND destination = scenario::WaitForDestination(m_setup);
    ASSERT_NE(nullptr, destination);
    ASSERT_TRUE(ClickButton(destination, IDOK));
    ASSERT_TRUE(m_setup.WaitForExit(scenario::kTimeoutMs)) << "setup.exe did not end";

    std::vector<LaunchRecord> launches = WaitForLaunches(1, scenario::kTimeoutMs);
    ASSERT_EQ(1u, launches.size());
    EXPECT_EQ("d:\\_red40\\bin\\search.exe", launches[0].commandLine);
}

TEST_F(Reinstall, CaptionIsTheApplicationNameBesideTheSetup) {
    HWND question = WaitForQuestion();
    ASSERT_NE(nullptr, question);
    EXPECT_NE(scenario::CdSetting(scenario::kCdSettings, "ApplicationName"), WindowText(question))
        << "this scenario needs a CD whose _red40\\bin\\search.ini names another application";
    ASSERT_TRUE(ClickButton(question, IDNO));
    EXPECT_TRUE(m_setup.WaitForExit(scenario::kTimeoutMs));
}

TEST_F(Reinstall, CaptionIsEmptyWithoutSettingsBesideTheSetup) {
    ASSERT_FALSE(FileExists(scenario::kCdBinSettings)) << "this scenario needs a CD without it";
    HWND question = WaitForQuestion();
    ASSERT_NE(nullptr, question);
    EXPECT_EQ("", WindowText(question));
    ASSERT_TRUE(ClickButton(question, IDNO));
    EXPECT_TRUE(m_setup.WaitForExit(scenario::kTimeoutMs));
    EXPECT_FALSE(FileExists(scenario::kCdBinSettings)) << "a file appeared on the read-only CD";
}
