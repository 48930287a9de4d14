// The publisher's licence agreement before the destination is asked for.
#include <gtest/gtest.h>

#include "tools/guidriver/child_process.h"
#include "tools/guidriver/gui_driver.h"
#include "tools/guidriver/machine_state.h"
#include "tests/e2e/scenarios/install_steps.h"
#include "tests/e2e/scenarios/sample_cd.h"

using namespace guidriver;
using namespace scenario;

namespace {

class License : public ::testing::Test {
protected:
    void SetUp() override {
        m_driveC = ListFolder("C:\\");
        ASSERT_TRUE(StartSetup(m_setup));
    }

    // The agreement, checked for its caption and the text of the CD's agreement file.
    HWND WaitForAgreement() {
        HWND agreement = WaitForSetupWindow(m_setup, kLicenseTitle);
        if (agreement == nullptr)
            return nullptr;
        std::string name = CdSetting(kCdSettings, "ApplicationName");
        std::string caption = name.empty() ? kLicenseTitle : name + " : " + kLicenseTitle;
        EXPECT_EQ(caption, WindowText(agreement));
        std::string file = CdSetting(kCdSettings, "LicenseFile");
        // Shown as stored: line ends and bytes unchanged.
        EXPECT_EQ(ReadTextFile("D:\\" + file), WindowText(GetDlgItem(agreement, kLicenseTextId)));
        return agreement;
    }

    std::vector<std::string> m_driveC;
    ChildProcess m_setup;
};

} // namespace

TEST_F(License, AcceptedGoesOnToTheDestination) {
    HWND agreement = WaitForAgreement();
    ASSERT_NE(nullptr, agreement);
    ASSERT_TRUE(ClickButton(agreement, IDOK));
    HWND destination = WaitForDestination(m_setup);
    ASSERT_NE(nullptr, destination);
    EXPECT_FALSE(IsWindow(agreement));
    ASSERT_TRUE(ClickButton(destination, IDCANCEL));
    ExpectCleanExit(m_setup);
    EXPECT_TRUE(ReadLaunchLog().empty());
}

TEST_F(License, DeclinedInstallsNothing) {
    HWND agreement = WaitForAgreement();
    ASSERT_NE(nullptr, agreement);
    std::vector<std::string> shown;
    ASSERT_TRUE(ClickButton(agreement, IDCANCEL));
    ASSERT_TRUE(WaitForWindowGone(agreement, kTimeoutMs));
    ASSERT_TRUE(m_setup.WatchUntilExit(kTimeoutMs, &shown));
    for (const std::string& title : shown)
        ADD_FAILURE() << "setup.exe showed \"" << title << "\" after the agreement was declined";
    EXPECT_TRUE(ReadLaunchLog().empty());
    EXPECT_EQ(std::vector<std::string>(), Added(m_driveC, ListFolder("C:\\")));
}

TEST_F(License, PublisherAgreementIsNamedBelowPublish) {
    // The root's settings name an agreement, the publishing workspace's do not.
    ASSERT_FALSE(CdSetting(kCdSettings, "LicenseFile").empty());
    HWND destination = WaitForDestination(m_setup);
    ASSERT_NE(nullptr, destination);
    WindowQuery query;
    query.processId = m_setup.Id();
    query.titlePart = kLicenseTitle;
    EXPECT_EQ(nullptr, FindWindowMatching(query));
    ASSERT_TRUE(ClickButton(destination, IDCANCEL));
    ExpectCleanExit(m_setup);
}

TEST_F(License, LargeAgreementIsCutAtSixteenMegabytes) {
    HWND agreement = WaitForSetupWindow(m_setup, kLicenseTitle);
    ASSERT_NE(nullptr, agreement);
    DWORD_PTR length = 0;
    ASSERT_TRUE(SendMessageTimeoutA(GetDlgItem(agreement, kLicenseTextId), WM_GETTEXTLENGTH, 0, 0,
                                    SMTO_ABORTIFHUNG, kTimeoutMs, &length));
    EXPECT_EQ(16u * 1024 * 1024, length);
    ASSERT_TRUE(ClickButton(agreement, IDOK));
    HWND destination = WaitForDestination(m_setup);
    ASSERT_NE(nullptr, destination);
    ASSERT_TRUE(ClickButton(destination, IDCANCEL));
    ExpectCleanExit(m_setup);
}
