// The destination dialog's checks: paths that are no directory, a drive without room,
// and a drive that cannot be written.
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

class Destination : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(StartSetup(m_setup));
        m_dialog = WaitForDestination(m_setup);
        ASSERT_NE(nullptr, m_dialog);
    }

    // Install refused: the message, then the dialog still open with the user's path.
    void ExpectRefused(const std::string& path, const std::string& message) {
        ASSERT_TRUE(InstallTo(m_dialog, path));
        EXPECT_EQ(message, AnswerMessageBox(m_setup)) << path;
        EXPECT_TRUE(IsWindowVisible(m_dialog)) << path;
        EXPECT_EQ(path, WindowText(GetDlgItem(m_dialog, kPathId)));
    }

    ChildProcess m_setup;
    HWND m_dialog = nullptr;
};

} // namespace

TEST_F(Destination, EmptyAndUncreatablePathsKeepTheDialog) {
    ExpectRefused("", kInvalidDirectory);
    // Drive Q: does not exist.
    ExpectRefused("q:\\nowhere", kInvalidDirectory);
    ASSERT_TRUE(ClickButton(m_dialog, IDCANCEL));
    ExpectCleanExit(m_setup);
    EXPECT_TRUE(ReadLaunchLog().empty());
}

TEST_F(Destination, NotEnoughSpaceAbandonsTheInstallation) {
    DWORD sectorsPerCluster = 0, bytesPerSector = 0, freeClusters = 0, clusters = 0;
    ASSERT_TRUE(
        GetDiskFreeSpaceA("F:\\", &sectorsPerCluster, &bytesPerSector, &freeClusters, &clusters))
        << "this scenario needs a small drive F:";
    unsigned long long freeBytes = 1ull * sectorsPerCluster * bytesPerSector * freeClusters;
    ASSERT_LT(freeBytes, 40000000ull) << "drive F: is too large for this scenario";
    char expected[512];
    std::snprintf(expected, sizeof expected,
                  "The installation requires 38.1MB free on your hard disk, but there are only "
                  "%.1fMB available on drive f:. Please free some space on your hard disk "
                  "before continuing.",
                  static_cast<double>(freeBytes >> 20));
    ExpectRefused("f:\\lumora", expected);
    // The directory was made before the space was counted.
    EXPECT_TRUE(DirectoryExists("F:\\lumora"));

    // Room elsewhere does not bring the installation back.
    ASSERT_TRUE(InstallTo(m_dialog, "C:\\Roomy"));
    ExpectCleanExit(m_setup);
    EXPECT_TRUE(ListTree("F:\\lumora").empty());
    EXPECT_TRUE(ListTree("C:\\Roomy").empty());
    EXPECT_TRUE(ReadLaunchLog().empty());
}

TEST_F(Destination, ReadOnlyDriveRefusesANewFolderAndFailsTheCopy) {
    ASSERT_TRUE(DirectoryExists("G:\\existing")) << "this scenario needs a read-only drive G:";
    ExpectRefused("g:\\new", kInvalidDirectory);
    ASSERT_TRUE(InstallTo(m_dialog, "g:\\existing"));
    // The first tree whose failure stops the installation is the "_default" one.
    EXPECT_EQ(std::string(kCouldNotCopy) + "d:" + CdSetting(kCdSettings, "_default"),
              AnswerMessageBox(m_setup));
    ExpectCleanExit(m_setup);
    EXPECT_TRUE(ListTree("G:\\existing").empty());
    EXPECT_TRUE(ReadLaunchLog().empty());
}
