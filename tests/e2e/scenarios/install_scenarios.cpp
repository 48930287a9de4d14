// The publisher's workstation installation, the destination dialog's refusals on drives
// of the scenario's own, and the licence agreement before the destination.
#include <gtest/gtest.h>

#include <cstdio>

#include "tests/e2e/scenarios/kit.h"

using namespace guidriver;
using namespace scenario;

namespace {

// Install refused: the message, then the dialog still open with the user's path.
void ExpectRefused(const ChildProcess& setup, HWND dialog, const std::string& path,
                   const std::string& message) {
    ASSERT_TRUE(SetEditText(dialog, IDC_DEST_PATH, path) && ClickButton(dialog, IDOK));
    AnswerMessageBox(setup, message);
    EXPECT_TRUE(IsWindowVisible(dialog)) << path;
    EXPECT_EQ(path, WindowText(GetDlgItem(dialog, IDC_DEST_PATH)));
}

// Wine's own Internet Explorer, as the App Paths key names it: its plug-in folder.
const char kIEPlugins[] = "Program Files\\Internet Explorer\\plugins";

Cd Agreement() {
    return Cd().Set("LicenseFile", "agree.txt").File("agree.txt", "agree.txt");
}

// The data and template trees a publisher's CD names, as its settings write them (in the
// run's code page) and as its folders are named (UTF-8, the CD's Joliet names).
struct Trees {
    const char* data;
    const char* templates;
    const char* dataFolder;
    const char* templatesFolder;
};

Trees TreesFor(const char* language) {
    // データ表 and テンプレ表: the second bytes of ー and 表 are those of "[" and "\".
    if (language != nullptr && std::string(language) == kJapanese)
        return {"\x83\x66\x81\x5B\x83\x5E\x95\x5C", "\x83\x65\x83\x93\x83\x76\x83\x8C\x95\x5C",
                "\xE3\x83\x87\xE3\x83\xBC\xE3\x82\xBF\xE8\xA1\xA8",
                "\xE3\x83\x86\xE3\x83\xB3\xE3\x83\x97\xE3\x83\xAC\xE8\xA1\xA8"};
    return {"data", "templates", "data", "templates"};
}

// A publisher's CD whose trees are renamed to the language's names.
Run PublisherRun(const char* windows, const char* language = nullptr) {
    Cd cd = Agreement().Publisher();
    const Trees trees = TreesFor(language);
    if (language != nullptr) {
        cd.Set("_default", std::string("\\") + trees.data)
            .Set("Tarnx\\2.0.0\\Primary\\Server", "TemplateDir",
                 std::string("\\") + trees.templates)
            .File(std::string(trees.dataFolder) + "/sample.idx", "agree.txt")
            .File(std::string(trees.templatesFolder) + "/page.htm", "agree.txt")
            .Remove("data").Remove("templates");
    }
    return {windows, cd, language};
}

} // namespace

// A publisher's CD whose root settings name an agreement (the workspace's do not); the
// user adds the Solaris platform. Internet Explorer is the one browser. On a Japanese
// Windows 2000 its data and template trees have Japanese names (TreesFor).
const Runs kSolaris("PublisherCd.SolarisWorkstationIsCopiedWithItsFilters",
                    {PublisherRun(kNt40), {kWin2000, PublisherRun(kWin2000).cd.Image()},
                     PublisherRun(kWin2000, kJapanese)});
TEST(PublisherCd, SolarisWorkstationIsCopiedWithItsFilters) {
    ASSERT_FALSE(CdSetting("LicenseFile").empty());
    const std::vector<std::string> driveC = DriveC();
    ChildProcess setup;
    ASSERT_TRUE(StartSetup(setup));
    HWND dialog = WaitForSetupWindow(setup, kDestinationTitle);
    ASSERT_NE(nullptr, dialog);
    EXPECT_EQ("c:\\nodra30", Control(dialog, IDC_DEST_PATH).text);
    ControlInfo solaris = Control(dialog, IDC_SOLARIS);
    EXPECT_TRUE(solaris.visible && solaris.enabled && solaris.check == BST_UNCHECKED);
    ASSERT_TRUE(SetCheck(dialog, IDC_SOLARIS, true));
    ASSERT_TRUE(ClickButton(dialog, IDOK));
    ExpectEndWithoutQuestions(setup);

    const std::string dest = "c:\\nodra30";
    const Trees trees = TreesFor(ThisRun().language);
    for (const char* tree : {"common", trees.data, trees.templates, "publish", "cgi-bin",
                             "_red40\\bin", "_red40\\filters", "_ssol26\\bin", "_ssol26\\filters"})
        ExpectCopied(dest, tree);
    EXPECT_TRUE(FileExists(dest + "\\search"));
    for (const char* absent : {"_red40\\perl", "_sun441", "_isvr4", "_mac"})
        EXPECT_FALSE(FileExists(dest + "\\" + absent) || DirectoryExists(dest + "\\" + absent))
            << absent;
    // The publisher's settings live below "publish"; the root copy stays as on the CD.
    const std::string settings = dest + "\\publish\\search.ini";
    EXPECT_EQ("PublisherHD", Setting(settings, "CurrentEnv"));
    EXPECT_EQ("d:", Setting(settings, "SourceDrive"));
    EXPECT_EQ(CdSetting("CurrentEnv"), Setting(dest + "\\search.ini", "CurrentEnv"));
    EXPECT_EQ("", Setting(dest + "\\search.ini", "SourceDrive"));

    const std::string group = CdSetting("ApplicationGroup"), name = CdSetting("ApplicationName");
    ExpectAddedOnlyTo(driveC,
                      {"nodra30", kIEPlugins, "windows\\vuemark.ini", ProgramsPlace(group)});
    ExpectPlugins(std::string("C:\\") + kIEPlugins);
    ExpectViewerSettings();
    ExpectViewerRegisteredFrom(std::string("C:\\") + kIEPlugins);
    ExpectApplicationKey(true, "");
    EXPECT_FALSE(RegistryKeyExists(HKEY_CURRENT_USER, ApplicationKey(false, group, name)));
    ExpectStartMenuLinks(group, name, dest, ProgramFile(dest, "search.exe"));
    ExpectLaunches({ProgramFile(dest, "search.exe")}, {dest + "\\_red40\\bin"});
}

// A publisher's CD without _ssol26\bin.
const Runs kMissingBin("PublisherCd.MissingPlatformBinStopsWithThePlatformName",
                       {{kWineOwn, Cd().Publisher().Remove("_ssol26/bin")}});
TEST(PublisherCd, MissingPlatformBinStopsWithThePlatformName) {
    ASSERT_FALSE(DirectoryExists("D:\\_ssol26\\bin"));
    ChildProcess setup;
    ASSERT_TRUE(StartSetup(setup));
    HWND dialog = WaitForSetupWindow(setup, kDestinationTitle);
    ASSERT_NE(nullptr, dialog);
    ASSERT_TRUE(SetCheck(dialog, IDC_SOLARIS, true));
    ASSERT_TRUE(ClickButton(dialog, IDOK));
    AnswerMessageBox(setup, std::string(kCouldNotCopy) + "_solaris/");
    ExpectCleanExit(setup);

    ExpectCopied("c:\\nodra30", "_red40\\bin");
    // The root files come after the platforms: the copy stopped before them.
    EXPECT_FALSE(FileExists("c:\\nodra30\\search.ini"));
    EXPECT_FALSE(FileExists("c:\\nodra30\\search"));
    ExpectLaunches({});
}

// A publisher's CD whose settings the store refuses whole (a line too long): no names,
// no browser. The key takes the defaults, the shortcut steps do not and make
// "Programs\.lnk"; the trees named by the settings are not copied. Windows 2000, the
// first version above 4, takes the Start menu and Internet Explorer's App Paths key.
const Runs kUnloadable("PublisherCd.UnloadableSettingsGiveTheDefaults",
                       {{kWin2000, Cd().Publisher().Set("ApplicationName", std::string(10000, 'L'))}});
TEST(PublisherCd, UnloadableSettingsGiveTheDefaults) {
    const std::vector<std::string> driveC = DriveC();
    ChildProcess setup;
    ASSERT_TRUE(StartSetup(setup));
    HWND dialog = WaitForSetupWindow(setup, kDestinationTitle);
    ASSERT_NE(nullptr, dialog);
    EXPECT_EQ("c:\\nodra30", WindowText(GetDlgItem(dialog, IDC_DEST_PATH)));
    const std::string dest = "C:\\Workstation";
    ASSERT_TRUE(InstallTo(dialog, dest));
    HWND browsers = WaitForSetupWindow(setup, kBrowserTitle);
    ASSERT_NE(nullptr, browsers);
    ASSERT_TRUE(ClickButton(browsers, IDOK));
    ExpectCleanExit(setup);

    EXPECT_TRUE(FileExists(ProgramFile(dest, "search.exe")));
    EXPECT_FALSE(DirectoryExists(dest + "\\data"));
    EXPECT_FALSE(DirectoryExists(dest + "\\templates"));
    EXPECT_EQ("msie", Setting(dest + "\\publish\\search.ini", "Browser"));
    // Internet Explorer's bypass list did not exist: it is made with the address.
    EXPECT_EQ("127.0.0.1", RegistryString(HKEY_CURRENT_USER, kInternetSettings, "ProxyOverride"));
    const std::string fallback = "Corvane Publisher";
    ExpectApplicationKey(true, "", fallback, fallback);
    ShellLink app;
    ASSERT_TRUE(ReadShellLink(ProgramsFolder() + "\\.lnk", &app))
        << ::testing::PrintToString(ListFolder(ProgramsFolder()));
    EXPECT_TRUE(SamePath(ProgramFile(dest, "search.exe"), app.target)) << app.target;
    EXPECT_EQ("Shortcut to ", app.description);
    EXPECT_TRUE(FileExists(ProgramsFolder() + "\\Uninstall .lnk"));
    ExpectAddedOnlyTo(driveC, {"Workstation", kIEPlugins, "windows\\vuemark.ini",
                               ProgramsPlace(".lnk"), ProgramsPlace("Uninstall .lnk")});
    ExpectLaunches({ProgramFile(dest, "search.exe")});
}

// CD: forceInstall = y; drive E: an empty folder, F: a 30 MB drive, G: a read-only drive
// holding the folder "existing". Three runs, as a user would try one after the other.
const Runs kDestination("Destination.RefusalsFailuresAndADriveRoot",
                        {{kWineOwn, Cd().Set("forceInstall", "y")
                                        .DriveFolder("E").DriveTmpfs("F", "30m").DriveReadOnly("G")}});
TEST(Destination, RefusalsFailuresAndADriveRoot) {
    ChildProcess setup;
    ASSERT_TRUE(StartSetup(setup));
    HWND dialog = WaitForSetupWindow(setup, kDestinationTitle);
    ASSERT_NE(nullptr, dialog);
    // The path field takes as many characters as a path has, and no more.
    EXPECT_EQ(260, SendMessageA(GetDlgItem(dialog, IDC_DEST_PATH), EM_GETLIMITTEXT, 0, 0))
        << "characters the path field takes";
    ExpectRefused(setup, dialog, "", kInvalidDirectory);
    ExpectRefused(setup, dialog, "q:\\nowhere", kInvalidDirectory); // no drive Q:
    ExpectRefused(setup, dialog, "g:\\new", kInvalidDirectory);     // read-only
    DWORD sectorsPerCluster = 0, bytesPerSector = 0, freeClusters = 0, clusters = 0;
    ASSERT_TRUE(
        GetDiskFreeSpaceA("F:\\", &sectorsPerCluster, &bytesPerSector, &freeClusters, &clusters));
    unsigned long long freeBytes = 1ull * sectorsPerCluster * bytesPerSector * freeClusters;
    ASSERT_LT(freeBytes, 40000000ull);
    char noRoom[512];
    std::snprintf(noRoom, sizeof noRoom,
                  "The installation requires 38.1MB free on your hard disk, but there are only "
                  "%.1fMB available on drive f:. Please free some space on your hard disk "
                  "before continuing.",
                  static_cast<double>(freeBytes >> 20));
    ExpectRefused(setup, dialog, "f:\\lumora", noRoom);
    EXPECT_TRUE(DirectoryExists("F:\\lumora")) << "made before the space was counted";
    // Room elsewhere does not bring the installation back.
    ASSERT_TRUE(InstallTo(dialog, "C:\\Roomy"));
    ExpectCleanExit(setup);
    EXPECT_TRUE(ListTree("F:\\lumora").empty());
    EXPECT_TRUE(ListTree("C:\\Roomy").empty());

    // An existing folder on the read-only drive: the first tree whose failure stops the
    // installation is the "_default" one.
    ChildProcess second;
    ASSERT_TRUE(StartSetup(second));
    ASSERT_TRUE(InstallTo(WaitForSetupWindow(second, kDestinationTitle), "g:\\existing"));
    AnswerMessageBox(second, std::string(kCouldNotCopy) + "d:" + CdSetting("_default"));
    ExpectCleanExit(second);
    ExpectLaunches({});

    // A drive root: its backslash goes before the copy, no doubled backslash anywhere.
    ChildProcess third;
    ASSERT_TRUE(StartSetup(third));
    ASSERT_TRUE(AnswerDestination(third, "e:\\"));
    ExpectEndWithoutQuestions(third);
    ExpectCopied("E:", "common");
    ExpectCopied("E:", "_red40\\bin");
    EXPECT_EQ("ClientHD", Setting("E:\\search.ini", "CurrentEnv"));
    ExpectLaunches({"e:\\_red40\\bin\\search.exe"});
    EXPECT_EQ("e:\\_red40\\bin\\search.exe", ReadLaunchLog().at(0).commandLine);
}

// CD: an agreement, no ApplicationName. Declined (accepted: the next run and
// ClientCd.MultiCdCopiesAndSkipsOverlongCdPaths).
const Runs kDeclined("License.DeclinedInstallsNothing",
                     {{kWin2000, Agreement().Unset("ApplicationName")}});
TEST(License, DeclinedInstallsNothing) {
    const std::vector<std::string> driveC = DriveC();
    ChildProcess setup;
    ASSERT_TRUE(StartSetup(setup));
    HWND agreement = WaitForAgreement(setup, "D:\\agree.txt");
    ASSERT_NE(nullptr, agreement);
    ASSERT_TRUE(ClickButton(agreement, IDCANCEL));
    ASSERT_TRUE(WaitForWindowGone(agreement, kTimeoutMs));
    std::vector<std::string> shown;
    ASSERT_TRUE(setup.WatchUntilExit(kTimeoutMs, &shown));
    EXPECT_EQ(std::vector<std::string>(), shown) << "shown after the agreement was declined";
    ExpectAddedOnlyTo(driveC, {});
    EXPECT_FALSE(
        RegistryKeyExists(HKEY_CURRENT_USER, "SOFTWARE\\" + CdSetting("ApplicationGroup")));
    EXPECT_FALSE(DirectoryExists(ProgramsFolder() + "\\" + CdSetting("ApplicationGroup")));
    ExpectLaunches({});
}

// CD: an agreement file larger than the 16 MB the dialog shows.
const Runs kLarge("License.LargeAgreementIsCutAtSixteenMegabytes",
                  {{kWin2000, Cd().Set("LicenseFile", "big.txt")
                               .Text("big.txt", "This line repeats the sample licence agreement.",
                                     17000000)}});
TEST(License, LargeAgreementIsCutAtSixteenMegabytes) {
    ChildProcess setup;
    ASSERT_TRUE(StartSetup(setup));
    HWND agreement = WaitForSetupWindow(setup, kLicenseTitle);
    ASSERT_NE(nullptr, agreement);
    DWORD_PTR length = 0;
    ASSERT_TRUE(SendMessageTimeoutA(GetDlgItem(agreement, IDC_LICENSE_TEXT), WM_GETTEXTLENGTH, 0, 0,
                                    SMTO_ABORTIFHUNG, kTimeoutMs, &length));
    EXPECT_EQ(16u * 1024 * 1024, length);
    ASSERT_TRUE(ClickButton(agreement, IDOK));
    HWND destination = WaitForSetupWindow(setup, kDestinationTitle);
    ASSERT_NE(nullptr, destination);
    EXPECT_FALSE(IsWindow(agreement));
    ASSERT_TRUE(ClickButton(destination, IDCANCEL));
    ExpectCleanExit(setup);
    ExpectLaunches({});
}
