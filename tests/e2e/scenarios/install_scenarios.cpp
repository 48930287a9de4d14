// Installations from the sample CD: files left on the CD, copies to a new folder, to a
// drive root and over an earlier copy, the publisher's platforms, and a platform whose
// files are missing from the CD.
#include <gtest/gtest.h>

#include "tools/guidriver/child_process.h"
#include "tools/guidriver/gui_driver.h"
#include "tools/guidriver/machine_state.h"
#include "tests/e2e/scenarios/install_steps.h"
#include "tests/e2e/scenarios/sample_cd.h"

using namespace guidriver;
using namespace scenario;

namespace {

ControlInfo Control(HWND dialog, int id) {
    for (const ControlInfo& control : Controls(dialog)) {
        if (control.id == id)
            return control;
    }
    ADD_FAILURE() << "no control " << id << " in " << Format(Describe(dialog));
    return ControlInfo();
}

// A tree arrived whole: the same names below the destination as on the CD.
void ExpectCopied(const std::string& destination, const std::string& tree) {
    std::vector<std::string> onCd = ListTree("D:\\" + tree);
    EXPECT_FALSE(onCd.empty()) << tree << " is empty on the CD";
    EXPECT_EQ(onCd, ListTree(destination + "\\" + tree)) << tree;
}

void ExpectLaunchedFrom(const std::string& destination) {
    std::vector<LaunchRecord> launches = WaitForLaunches(1, kTimeoutMs);
    ASSERT_EQ(1u, launches.size()) << "search.exe was not started once";
    EXPECT_TRUE(SamePath(destination + "\\_red40\\bin\\search.exe", launches[0].commandLine))
        << launches[0].commandLine;
    EXPECT_TRUE(SamePath(destination + "\\_red40\\bin", launches[0].currentDirectory))
        << launches[0].currentDirectory;
}

class Install : public ::testing::Test {
protected:
    void SetUp() override { m_driveC = ListFolder("C:\\"); }

    // Nothing but `expected` appeared in the top folder of drive C:.
    void ExpectAddedToDriveC(const std::vector<std::string>& expected) {
        EXPECT_EQ(expected, Added(m_driveC, ListFolder("C:\\")));
    }

    std::vector<std::string> m_driveC;
    ChildProcess m_setup;
};

} // namespace

TEST_F(Install, IconOnlyLeftSetStartsTheProgramFromTheCd) {
    ASSERT_TRUE(StartSetup(m_setup));
    HWND dialog = WaitForDestination(m_setup);
    ASSERT_NE(nullptr, dialog);
    // The plain default offers the choice, ticked, with the path field locked.
    EXPECT_EQ("c:\\", Control(dialog, kPathId).text);
    EXPECT_FALSE(Control(dialog, kPathId).enabled);
    ControlInfo iconOnly = Control(dialog, kIconOnlyId);
    EXPECT_TRUE(iconOnly.visible && iconOnly.enabled) << Format(Describe(dialog));
    EXPECT_EQ(BST_CHECKED, iconOnly.check);
    ASSERT_TRUE(SetCheck(dialog, kIconOnlyId, false));
    EXPECT_TRUE(Control(dialog, kPathId).enabled);
    ASSERT_TRUE(SetCheck(dialog, kIconOnlyId, true));
    EXPECT_FALSE(Control(dialog, kPathId).enabled);

    ASSERT_TRUE(ClickButton(dialog, IDOK));
    ExpectCleanExit(m_setup);
    ExpectLaunchedFrom("d:");
    ExpectAddedToDriveC({});
    EXPECT_EQ("ClientCD", CdSetting(kCdSettings, "CurrentEnv"));
}

TEST_F(Install, ForceInstallCopiesTheProgramFilesToANewDirectory) {
    ASSERT_TRUE(StartSetup(m_setup));
    HWND dialog = WaitForDestination(m_setup);
    ASSERT_NE(nullptr, dialog);
    EXPECT_EQ(CdSetting(kCdSettings, "DefaultInstall"), Control(dialog, kPathId).text);
    EXPECT_FALSE(Control(dialog, kIconOnlyId).visible);
    const std::string destination = "C:\\Apps\\Lumora";
    ASSERT_TRUE(InstallTo(dialog, destination));
    ExpectCleanExit(m_setup);

    for (const char* tree : {"common", "common20", "plugins", "forms", "docs", "data", "templates",
                             "_red40\\bin", "_red40\\filters", "_red40\\perl"})
        ExpectCopied(destination, tree);
    for (const char* file : {"key.tbl", "search.ini", "setup.exe"})
        EXPECT_TRUE(FileExists(destination + "\\" + file)) << file;
    // Only the publisher's trees, no other platform, no Unix start script.
    for (const char* absent : {"publish", "cgi-bin", "_ssol26", "_mac", "search", "_red40\\lang"})
        EXPECT_FALSE(FileExists(destination + "\\" + absent)) << absent;

    const std::string settings = destination + "\\search.ini";
    EXPECT_EQ("ClientHD", InstalledSetting(settings, "CurrentEnv"));
    EXPECT_EQ("d:", InstalledSetting(settings, "SourceDrive"));
    EXPECT_EQ(CdSetting(kCdSettings, "ApplicationName"),
              InstalledSetting(settings, "ApplicationName"));
    EXPECT_EQ(0u, GetFileAttributesA(settings.c_str()) & FILE_ATTRIBUTE_READONLY);
    EXPECT_EQ("ClientCD", CdSetting(kCdSettings, "CurrentEnv"));
    ExpectLaunchedFrom(destination);
    ExpectAddedToDriveC({"Apps"});
}

TEST_F(Install, PublisherWithSolarisCopiesItsFoldersAndFiltersAfterwards) {
    ASSERT_TRUE(StartSetup(m_setup));
    HWND dialog = WaitForDestination(m_setup);
    ASSERT_NE(nullptr, dialog);
    EXPECT_EQ("c:\\nodra30", Control(dialog, kPathId).text);
    ControlInfo solaris = Control(dialog, kSolarisId);
    EXPECT_TRUE(solaris.visible && solaris.enabled);
    EXPECT_EQ(BST_UNCHECKED, solaris.check);
    ASSERT_TRUE(SetCheck(dialog, kSolarisId, true));
    ASSERT_TRUE(ClickButton(dialog, IDOK));
    ExpectCleanExit(m_setup);

    const std::string destination = "c:\\nodra30";
    for (const char* tree : {"common", "data", "templates", "publish", "cgi-bin", "_red40\\bin",
                             "_red40\\filters", "_ssol26\\bin", "_ssol26\\filters"})
        ExpectCopied(destination, tree);
    EXPECT_TRUE(FileExists(destination + "\\search"));
    for (const char* absent : {"_red40\\perl", "_sun441", "_isvr4", "_mac"})
        EXPECT_FALSE(FileExists(destination + "\\" + absent)) << absent;

    // The publisher's settings live below "publish"; the root copy stays as on the CD.
    const std::string settings = destination + "\\publish\\search.ini";
    EXPECT_EQ("PublisherHD", InstalledSetting(settings, "CurrentEnv"));
    EXPECT_EQ("d:", InstalledSetting(settings, "SourceDrive"));
    EXPECT_EQ(CdSetting(kCdSettings, "CurrentEnv"),
              InstalledSetting(destination + "\\search.ini", "CurrentEnv"));
    EXPECT_EQ("", InstalledSetting(destination + "\\search.ini", "SourceDrive"));
    ExpectLaunchedFrom(destination);
    ExpectAddedToDriveC({"nodra30"});
}

TEST_F(Install, DriveRootInstallsToTheTopOfTheDrive) {
    std::vector<std::string> driveE = ListFolder("E:\\");
    ASSERT_TRUE(driveE.empty()) << "this scenario needs an empty drive E:";
    ASSERT_TRUE(StartSetup(m_setup));
    HWND dialog = WaitForDestination(m_setup);
    ASSERT_NE(nullptr, dialog);
    ASSERT_TRUE(InstallTo(dialog, "e:\\"));
    ExpectCleanExit(m_setup);

    ExpectCopied("E:", "common");
    ExpectCopied("E:", "_red40\\bin");
    EXPECT_EQ("ClientHD", InstalledSetting("E:\\search.ini", "CurrentEnv"));
    std::vector<LaunchRecord> launches = WaitForLaunches(1, kTimeoutMs);
    ASSERT_EQ(1u, launches.size());
    // The root's backslash went before the copy: no doubled backslash anywhere.
    EXPECT_EQ("e:\\_red40\\bin\\search.exe", launches[0].commandLine);
    ExpectAddedToDriveC({});
}

TEST_F(Install, SecondInstallationKeepsDataAndTemplates) {
    const std::string destination = "C:\\Lumora2";
    ASSERT_TRUE(StartSetup(m_setup));
    HWND dialog = WaitForDestination(m_setup);
    ASSERT_NE(nullptr, dialog);
    ASSERT_TRUE(InstallTo(dialog, destination));
    ExpectCleanExit(m_setup);
    ExpectCopied(destination, "data");

    // The user's own work in the data and template folders, and a changed program file.
    const std::string ownData = destination + "\\data\\own.idx";
    const std::string ownTemplate = destination + "\\templates\\own.htm";
    const std::string sampleData = destination + "\\data\\sample.idx";
    const std::string programFile = destination + "\\common\\search.cfg";
    ASSERT_TRUE(CopyFileA(sampleData.c_str(), ownData.c_str(), FALSE));
    ASSERT_TRUE(CopyFileA(sampleData.c_str(), ownTemplate.c_str(), FALSE));
    SetFileAttributesA(sampleData.c_str(), FILE_ATTRIBUTE_NORMAL);
    ASSERT_TRUE(DeleteFileA(sampleData.c_str()));
    SetFileAttributesA(programFile.c_str(), FILE_ATTRIBUTE_NORMAL);
    ASSERT_TRUE(CopyFileA(ownData.c_str(), programFile.c_str(), FALSE));
    std::vector<std::string> data = ListTree(destination + "\\data");
    std::vector<std::string> templates = ListTree(destination + "\\templates");

    ChildProcess second;
    ASSERT_TRUE(StartSetup(second));
    // Once the first run made its shortcut, the second asks whether to reinstall.
    WindowQuery query;
    query.processId = second.Id();
    query.className = "#32770";
    HWND first = WaitForWindow(query, kTimeoutMs);
    if (first != nullptr && GetDlgItem(first, IDYES) != nullptr) {
        ASSERT_TRUE(ClickButton(first, IDYES));
    }
    dialog = WaitForDestination(second);
    ASSERT_NE(nullptr, dialog);
    ASSERT_TRUE(InstallTo(dialog, destination));
    ExpectCleanExit(second);

    EXPECT_EQ(data, ListTree(destination + "\\data"));
    EXPECT_EQ(templates, ListTree(destination + "\\templates"));
    EXPECT_FALSE(FileExists(sampleData));
    EXPECT_EQ(ReadTextFile("D:\\common\\search.cfg"), ReadTextFile(programFile));
    EXPECT_EQ(2u, WaitForLaunches(2, kTimeoutMs).size());
}

TEST_F(Install, MissingPlatformBinStopsWithThePlatformName) {
    ASSERT_FALSE(DirectoryExists("D:\\_ssol26\\bin")) << "this scenario needs a CD without it";
    ASSERT_TRUE(StartSetup(m_setup));
    HWND dialog = WaitForDestination(m_setup);
    ASSERT_NE(nullptr, dialog);
    ASSERT_TRUE(SetCheck(dialog, kSolarisId, true));
    ASSERT_TRUE(ClickButton(dialog, IDOK));
    EXPECT_EQ(std::string(kCouldNotCopy) + "_solaris/", AnswerMessageBox(m_setup));
    ExpectCleanExit(m_setup);

    const std::string destination = "c:\\nodra30";
    ExpectCopied(destination, "_red40\\bin");
    // The root files come after the platforms: the copy stopped before them.
    EXPECT_FALSE(FileExists(destination + "\\search.ini"));
    EXPECT_FALSE(FileExists(destination + "\\search"));
    EXPECT_TRUE(ReadLaunchLog().empty());
}
