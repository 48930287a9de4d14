// Installations from a client CD: the program files left on the CD, copied to a folder
// and run again (No starts the copy, Yes installs over it), copied from a CD of several
// volumes, and a CD without its link library or the settings beside the setup.
#include <gtest/gtest.h>

#include "tests/e2e/scenarios/kit.h"

using namespace guidriver;
using namespace scenario;

namespace {

const char kParametersKey[] = "SOFTWARE\\Lumora Sample\\Lumora Sample Search\\Parameters";
const char kAppPathsKey[] = "SOFTWARE\\MICROSOFT\\Windows\\CurrentVersion\\App Paths\\Iexplore.exe";
const char kLocalServerKey[] =
    "SOFTWARE\\Classes\\CLSID\\{0002DF01-0000-0000-C000-000000000046}\\LocalServer32";
const char kIEPlugins[] = "C:\\Program Files\\Internet Explorer\\plugins";

// The names a copy is installed under, in the run's code page. In a double-byte one the
// destination, the group and the application's name end in a character whose second
// byte is that of a backslash, which a rule reading bytes takes for a separator.
struct CopyNames {
    const char* destination;
    const char* group; // as the settings write it: with a trailing backslash
    const char* name;  // the application's; empty: the CD's
};

CopyNames CopyNamesFor(const char* language) {
    const std::string in = language ? language : "";
    if (in == kJapanese) // C:\検索 ソ, サンプル表, 検索表
        return {"C:\\\x8C\x9F\x8D\xF5 \x83\x5C", "\x83\x54\x83\x93\x83\x76\x83\x8B\x95\x5C\\",
                "\x8C\x9F\x8D\xF5\x95\x5C"};
    if (in == kTraditionalChinese) // C:\搜尋 功, 範例功, 搜尋功
        return {"C:\\\xB7\x6A\xB4\x4D \xA5\x5C", "\xBD\x64\xA8\xD2\xA5\x5C\\",
                "\xB7\x6A\xB4\x4D\xA5\x5C"};
    return {"C:\\My Search  Files", "Lumora Sample\\", ""};
}

// The client CD whose settings write the tree names and the group with trailing
// backslashes, with the language's names.
Run CopiedRun(const char* windows, const char* language = nullptr) {
    Cd cd = Cd().Ini("search-client-backslashes.ini");
    const CopyNames names = CopyNamesFor(language);
    if (language != nullptr)
        cd.Set("ApplicationGroup", names.group).Set("ApplicationName", names.name);
    return {windows, cd, language};
}

} // namespace

// CD: writable, no DefaultInstall, Browser = MSIE. Internet Explorer's bypass list is far
// longer than a path, and the viewer control already sits in its plug-in folder.
const Runs kIconOnly("ClientCd.IconOnlyLeavesTheProgramOnTheCd",
                     {{kWin95, Cd().Writable().Unset("DefaultInstall").Set("Browser", "MSIE")}});
TEST(ClientCd, IconOnlyLeavesTheProgramOnTheCd) {
    std::string bypass;
    for (int i = 0; bypass.size() < 600; ++i)
        bypass += "host" + std::to_string(i) + ".intranet.example;";
    ASSERT_TRUE(SetRegistryString(HKEY_CURRENT_USER, kInternetSettings, "ProxyOverride", bypass));
    ASSERT_TRUE(MakeDirectories(kIEPlugins));
    ASSERT_TRUE(CopyFileA("D:\\plugins\\corvane\\view_ocx.ocx",
                          (std::string(kIEPlugins) + "\\view_ocx.ocx").c_str(), FALSE));
    const std::vector<std::string> driveC = DriveC();

    ChildProcess setup;
    ASSERT_TRUE(StartSetup(setup));
    HWND dialog = WaitForSetupWindow(setup, kDestinationTitle);
    ASSERT_NE(nullptr, dialog);
    // The plain default offers the choice, ticked, with the path field locked.
    EXPECT_EQ("c:\\", Control(dialog, IDC_DEST_PATH).text);
    EXPECT_FALSE(Control(dialog, IDC_DEST_PATH).enabled);
    ControlInfo iconOnly = Control(dialog, IDC_SETUP_ICON_ONLY);
    EXPECT_TRUE(iconOnly.visible && iconOnly.enabled) << Format(Describe(dialog));
    EXPECT_EQ(BST_CHECKED, iconOnly.check);
    ASSERT_TRUE(SetCheck(dialog, IDC_SETUP_ICON_ONLY, false));
    EXPECT_TRUE(Control(dialog, IDC_DEST_PATH).enabled);
    ASSERT_TRUE(SetCheck(dialog, IDC_SETUP_ICON_ONLY, true));
    EXPECT_FALSE(Control(dialog, IDC_DEST_PATH).enabled);
    ASSERT_TRUE(ClickButton(dialog, IDOK));
    ExpectEndWithoutQuestions(setup);

    // The source root is the lower-cased current directory, cut at \_red40\bin.
    ExpectLaunches({"d:\\_red40\\bin\\search.exe"}, {kCdBin});
    EXPECT_EQ("d:\\_red40\\bin\\search.exe", ReadLaunchLog().at(0).commandLine);
    EXPECT_EQ("ClientCD", CdSetting("CurrentEnv"));
    EXPECT_EQ("MSIE", CdSetting("Browser"));
    const std::string group = CdSetting("ApplicationGroup"), name = CdSetting("ApplicationName");
    // Only the shortcuts: no plug-ins, no viewer settings, no copied tree.
    ExpectAddedOnlyTo(driveC, {ProgramsPlace(group)});
    // The key records the browser code in lower case.
    ExpectApplicationKey(false, "msie");
    ExpectStartMenuLinks(group, name, kCd, ProgramFile(kCd, "search.exe"));
    EXPECT_EQ("127.0.0.1;" + bypass,
              RegistryString(HKEY_CURRENT_USER, kInternetSettings, "ProxyOverride"));
    EXPECT_EQ(0u, RegistryDword(HKEY_CURRENT_USER, kInternetSettings, "EnableAutodial", 1));
    EXPECT_EQ("3.0 is a self-contained package. All parameters are stored in file search.ini",
              RegistryString(HKEY_CURRENT_USER, kParametersKey, ""));
    ExpectViewerRegisteredFrom(kIEPlugins);
}

// CD: forceInstall = y; "_default" ("\data\"), "TemplateDir" ("\templates\\") and the group
// end in backslashes. Internet Explorer is registered with a quoted program path elsewhere
// than Wine's own; Navigator 3, a Communicator 4.7 and a Netscape 6 are here.
// The destination holds blanks. Run twice more: No starts the copy, Yes installs over it.
// On a Japanese Windows 95 and a Traditional Chinese Windows 2000 the destination, the
// group and the name are theirs (CopyNamesFor).
const Runs kCopied("ClientCd.CopiedInstallationRunsAgain",
                   {CopiedRun(kNt40), {kWin2000, CopiedRun(kWin2000).cd.Image()},
                    CopiedRun(kWin95, kJapanese), CopiedRun(kWin2000, kTraditionalChinese)});
TEST(ClientCd, CopiedInstallationRunsAgain) {
    const std::string ie = "C:\\Browsers\\IE 5";
    for (const char* key : {kAppPathsKey, kLocalServerKey})
        ASSERT_TRUE(SetRegistryString(HKEY_LOCAL_MACHINE, key, "", "\"" + ie + "\\IEXPLORE.EXE\""));
    ASSERT_TRUE(InstallNavigator3() && InstallCommunicator() && InstallNetscape6());
    const std::vector<std::string> driveC = DriveC();

    ChildProcess first;
    ASSERT_TRUE(StartSetup(first));
    HWND dialog = WaitForSetupWindow(first, kDestinationTitle);
    ASSERT_NE(nullptr, dialog);
    EXPECT_EQ(CdSetting("DefaultInstall"), Control(dialog, IDC_DEST_PATH).text);
    EXPECT_FALSE(Control(dialog, IDC_SETUP_ICON_ONLY).visible);
    const CopyNames names = CopyNamesFor(ThisRun().language);
    const std::string dest = names.destination;
    ASSERT_TRUE(InstallTo(dialog, dest));
    ExpectEndWithoutQuestions(first);

    for (const char* tree : {"common", "common20", "plugins", "forms", "docs", "data", "templates",
                             "_red40\\bin", "_red40\\filters", "_red40\\perl"})
        ExpectCopied(dest, tree);
    for (const char* file : {"key.tbl", "search.ini", "setup.exe"})
        EXPECT_TRUE(FileExists(dest + "\\" + file)) << file;
    // Only the client's trees: no other platform, no publishing, no Unix start script.
    for (const char* absent : {"publish", "cgi-bin", "_ssol26", "_mac", "search", "_red40\\lang"})
        EXPECT_FALSE(FileExists(dest + "\\" + absent) || DirectoryExists(dest + "\\" + absent))
            << absent;
    const std::string settings = dest + "\\search.ini";
    EXPECT_EQ("ClientHD", Setting(settings, "CurrentEnv"));
    EXPECT_EQ("d:", Setting(settings, "SourceDrive"));
    EXPECT_EQ("msie", Setting(settings, "Browser"));
    EXPECT_EQ(0u, GetFileAttributesA(settings.c_str()) & FILE_ATTRIBUTE_READONLY);
    EXPECT_EQ("ClientCD", CdSetting("CurrentEnv"));

    // The group is written with a trailing backslash; its folder is named without it.
    const std::string written = names.group, group = written.substr(0, written.size() - 1);
    const std::string name = CdSetting("ApplicationName");
    ASSERT_EQ(written, CdSetting("ApplicationGroup"));
    ExpectAddedOnlyTo(driveC, {BelowDriveC(dest), "Browsers\\IE 5\\plugins",
                               "Netscape3\\program\\plugins",
                               "Netscape\\Communicator\\Program\\plugins",
                               "Netscape 6\\plugins", "windows\\vuemark.ini", ProgramsPlace(group)});
    ExpectApplicationKey(false, "");
    // The application's shortcut gets the short form of its target, the uninstaller's
    // keeps the long path.
    const std::string program = ProgramFile(dest, "search.exe");
    const std::string shortProgram = ShortPath(program);
    ASSERT_FALSE(shortProgram.empty() || SamePath(program, shortProgram)) << shortProgram;
    ExpectStartMenuLinks(group, name, dest, shortProgram);

    // Every detected browser gets the plug-in tree; the viewer's settings file arrives
    // writable; the control is registered from Internet Explorer's plug-in folder.
    for (const std::string& folder :
         {ie + "\\plugins", std::string("C:\\Netscape3\\program\\plugins"),
          std::string("C:\\Netscape\\Communicator\\Program\\plugins"),
          std::string("C:\\Netscape 6\\plugins")})
        ExpectPlugins(folder);
    ExpectViewerSettings();
    ExpectViewerRegisteredFrom(ie + "\\plugins");
    // The search program starts from its own folder, its path unquoted on the command line.
    ExpectLaunches({program}, {dest + "\\_red40\\bin"});

    // Run again, No: what the shortcut points to starts, from the setup's folder.
    const std::vector<std::string> installed = ListTree(dest);
    const std::vector<std::string> links = ListTree(ProgramsFolder() + "\\" + group);
    ChildProcess second;
    ASSERT_TRUE(StartAndAnswerReinstall(second, IDNO));
    ExpectCleanExit(second);
    ExpectLaunches({program, shortProgram}, {dest + "\\_red40\\bin", kCdBin});
    EXPECT_EQ(installed, ListTree(dest));
    EXPECT_EQ(links, ListTree(ProgramsFolder() + "\\" + group));

    // The user's own work in the data and template folders, and a changed program file.
    const std::string ownData = dest + "\\data\\own.idx";
    const std::string sampleData = dest + "\\data\\sample.idx";
    const std::string programFile = dest + "\\common\\search.cfg";
    ASSERT_TRUE(WriteTextFile(ownData, kStandIn) &&
                WriteTextFile(dest + "\\templates\\own.htm", kStandIn));
    SetFileAttributesA(sampleData.c_str(), FILE_ATTRIBUTE_NORMAL);
    ASSERT_TRUE(DeleteFileA(sampleData.c_str()));
    SetFileAttributesA(programFile.c_str(), FILE_ATTRIBUTE_NORMAL);
    ASSERT_TRUE(WriteTextFile(programFile, "changed"));
    const std::vector<std::string> data = ListTree(dest + "\\data");
    const std::vector<std::string> templates = ListTree(dest + "\\templates");

    // Run again, Yes: a first installation over the copy keeps data and templates.
    ChildProcess third;
    ASSERT_TRUE(StartAndAnswerReinstall(third, IDYES));
    ASSERT_TRUE(AnswerDestination(third, dest));
    ExpectEndWithoutQuestions(third);
    EXPECT_EQ(data, ListTree(dest + "\\data"));
    EXPECT_EQ(templates, ListTree(dest + "\\templates"));
    EXPECT_EQ(ReadTextFile("D:\\common\\search.cfg"), ReadTextFile(programFile));
    ExpectLaunches({program, shortProgram, program});
}

// CD: MultiCD = Y, a path in "common" longer than any path the copy can make, and an
// agreement beside the setup, not in the root, which the setup finds from its own folder.
const std::string kDeep(150, 'D');
const Runs kMultiCd("ClientCd.MultiCdCopiesAndSkipsOverlongCdPaths",
                    {{kWin2000, Cd().Set("MultiCD", "Y")
                                  .File("common/" + kDeep + "/" + kDeep + ".txt", "agree.txt")
                                  .Set("LicenseFile", "agree.txt")
                                  .File("_red40/bin/agree.txt", "agree.txt")}});
TEST(ClientCd, MultiCdCopiesAndSkipsOverlongCdPaths) {
    ASSERT_FALSE(FileExists("D:\\agree.txt"));
    const std::vector<std::string> driveC = DriveC();
    ChildProcess setup;
    ASSERT_TRUE(StartSetup(setup));
    HWND agreement = WaitForAgreement(setup, "D:\\_red40\\bin\\agree.txt");
    ASSERT_NE(nullptr, agreement);
    ASSERT_TRUE(ClickButton(agreement, IDOK));
    ASSERT_TRUE(AnswerDestination(setup, "C:\\Deep"));
    ExpectEndWithoutQuestions(setup);
    // The tree holding the over-long path is skipped; its failure does not count.
    for (const char* tree : {"_red40\\bin", "_red40\\filters", "_red40\\perl", "forms", "docs"})
        ExpectCopied("C:\\Deep", tree);
    EXPECT_EQ("ClientHD", Setting("C:\\Deep\\search.ini", "CurrentEnv"));
    const std::string group = CdSetting("ApplicationGroup");
    ExpectAddedOnlyTo(driveC, {"Deep", "Program Files\\Internet Explorer\\plugins",
                               "windows\\vuemark.ini", ProgramsPlace(group)});
    ExpectLaunches({"C:\\Deep\\_red40\\bin\\search.exe"});
}

// CD: without _red40\bin\install.dll and without the search.ini beside the setup.
const Runs kWithoutLibrary("ClientCd.WithoutLinkLibraryAndLocalSettings",
                           {{kWin2000, Cd().Remove("_red40/bin/install.dll")
                                        .Remove("_red40/bin/search.ini")}});
TEST(ClientCd, WithoutLinkLibraryAndLocalSettings) {
    const std::vector<std::string> driveC = DriveC();
    RunToTheEnd();
    const std::string group = CdSetting("ApplicationGroup");
    EXPECT_EQ(std::vector<std::string>(), ListFolder(ProgramsFolder() + "\\" + group));
    // The program files stay on the CD: the folder the destination dialog makes for its
    // path and an empty group folder are all, and without a control in Internet
    // Explorer's plug-in folder nothing is registered.
    ExpectAddedOnlyTo(driveC, {BelowDriveC(CdSetting("DefaultInstall")), ProgramsPlace(group)});
    EXPECT_FALSE(RegistryKeyExists(HKEY_CLASSES_ROOT, kViewerClass));
    ExpectApplicationKey(false, "msie");
    ExpectLaunches({ProgramFile(kCd, "search.exe")});

    // With a shortcut made by hand, the reinstall question has an empty caption.
    EarlierInstallation earlier;
    ASSERT_TRUE(MakeEarlierInstallation(&earlier));
    ChildProcess second;
    ASSERT_TRUE(StartSetup(second));
    HWND question = WaitForReinstallQuestion(second);
    ASSERT_NE(nullptr, question);
    ASSERT_TRUE(ClickButton(question, IDNO));
    ExpectCleanExit(second);
    ExpectLaunches({ProgramFile(kCd, "search.exe"), earlier.program});
    EXPECT_FALSE(FileExists(kCdBinSettings)) << "a file appeared on the read-only CD";
}
