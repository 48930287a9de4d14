// The product's plug-in tree in every detected browser's plug-in folder, its viewer
// settings in the Windows directory, and the viewer control in Internet Explorer's
// plug-in folder registered at the end of the run.
#include <gtest/gtest.h>

#include "tools/guidriver/machine_state.h"
#include "tests/e2e/scenarios/browser_fixtures.h"

using namespace guidriver;
using namespace browserfixture;

namespace {

const char kViewerClass[] = "CLSID\\{06512320-3A45-4B5B-AA4D-6B1E9FCFC0CD}";
const char kAppPathsKey[] = "SOFTWARE\\MICROSOFT\\Windows\\CurrentVersion\\App Paths\\Iexplore.exe";
const char kLocalServerKey[] =
    "SOFTWARE\\Classes\\CLSID\\{0002DF01-0000-0000-C000-000000000046}\\LocalServer32";

void ExpectRegisteredFrom(const std::string& pluginFolder) {
    EXPECT_TRUE(RegistryKeyExists(HKEY_CLASSES_ROOT, kViewerClass));
    std::string server =
        RegistryString(HKEY_CLASSES_ROOT, std::string(kViewerClass) + "\\InprocServer32", "");
    EXPECT_TRUE(SamePath(pluginFolder + "\\view_ocx.ocx", server)) << server;
}

} // namespace

// Program files left on the CD: no plug-in is copied, yet a control already in Internet
// Explorer's plug-in folder is registered.
TEST(Viewer, ControlInInternetExplorersPluginFolderIsRegistered) {
    const std::string plugins = "C:\\Program Files\\Internet Explorer\\plugins";
    ASSERT_FALSE(RegistryKeyExists(HKEY_CLASSES_ROOT, kViewerClass));
    ASSERT_TRUE(MakeDirectories(plugins));
    ASSERT_TRUE(CopyFileA("D:\\plugins\\corvane\\view_ocx.ocx",
                          (plugins + "\\view_ocx.ocx").c_str(), FALSE));
    RunSetupWithoutQuestions();
    ExpectRegisteredFrom(plugins);
}

// CD: forceInstall = y. Internet Explorer is registered with a quoted program path
// elsewhere than Wine's own; Navigator 3, a Communicator 4.7 and a Netscape 6 are here.
TEST(Plugins, EveryDetectedBrowserGetsThePluginTree) {
    const std::string ie = "C:\\Browsers\\IE 5";
    ASSERT_TRUE(
        SetRegistryString(HKEY_LOCAL_MACHINE, kAppPathsKey, "", "\"" + ie + "\\IEXPLORE.EXE\""));
    ASSERT_TRUE(
        SetRegistryString(HKEY_LOCAL_MACHINE, kLocalServerKey, "", "\"" + ie + "\\IEXPLORE.EXE\""));
    ASSERT_TRUE(InstallNavigator3());
    ASSERT_TRUE(InstallCommunicator());
    ASSERT_TRUE(SetRegistryString(HKEY_LOCAL_MACHINE,
                                  "Software\\Netscape\\Netscape 6\\6.2 (en)\\main",
                                  "Install Directory", "C:\\Netscape 6\\"));
    ASSERT_TRUE(MakeFile("C:\\Netscape 6\\netscp6.exe"));
    const std::string windowsIni = WindowsDirectory() + "\\vuemark.ini";
    ASSERT_FALSE(FileExists(windowsIni));

    RunSetupWithoutQuestions();

    const std::vector<std::string> tree = ListTree("D:\\plugins\\corvane");
    ASSERT_FALSE(tree.empty());
    for (const std::string& folder :
         {ie + "\\plugins", std::string("C:\\Netscape3\\program\\plugins"),
          std::string("C:\\Netscape\\Communicator\\Program\\plugins"),
          std::string("C:\\Netscape 6\\plugins")})
        EXPECT_EQ(tree, ListTree(folder)) << folder;

    // The CD's read-only copy becomes a writable one.
    DWORD attributes = GetFileAttributesA(windowsIni.c_str());
    ASSERT_NE(INVALID_FILE_ATTRIBUTES, attributes);
    EXPECT_EQ(0u, attributes & FILE_ATTRIBUTE_READONLY);
    EXPECT_EQ(ReadTextFile("D:\\plugins\\corvane\\vuemark.ini"), ReadTextFile(windowsIni));

    ExpectRegisteredFrom(ie + "\\plugins");
    EXPECT_EQ("msie", InstalledBrowserSetting("C:\\lumora"));
}
