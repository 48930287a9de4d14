// A CD made as a publisher makes one from the setup kit: the kit unpacked into the CD
// folder (make-sample-cd.sh installs the build's kit), the publisher's programs and data
// added, the kit's commented search.ini template kept with its own values, the folder
// pressed into an image. The setup installs from the mounted image.
#include <gtest/gtest.h>

#include "tests/e2e/scenarios/kit.h"

using namespace guidriver;
using namespace scenario;

// The kit's template, by its path from tests/data/cd.
const Runs kKit("Kit.TemplateSettingsInstallFromTheImage",
                {{kWin95, Cd().Ini("../../../kit/search.ini").Set("forceInstall", "y").Image()}});
TEST(Kit, TemplateSettingsInstallFromTheImage) {
    EXPECT_EQ("My Publication Search", CdSetting("ApplicationName"));
    ChildProcess setup;
    ASSERT_TRUE(StartSetup(setup));
    HWND dialog = WaitForSetupWindow(setup, kDestinationTitle);
    ASSERT_NE(nullptr, dialog);
    // "DefaultInstall" of the template is the destination the dialog offers first.
    EXPECT_EQ("c:\\mysearch", Control(dialog, IDC_DEST_PATH).text);
    ASSERT_TRUE(InstallTo(dialog, "c:\\mysearch"));
    ExpectEndWithoutQuestions(setup);

    for (const char* tree : {"_red40\\bin", "data", "templates", "plugins"})
        ExpectCopied("c:\\mysearch", tree);
    EXPECT_TRUE(FileExists("c:\\mysearch\\_red40\\bin\\install.dll"));
    EXPECT_TRUE(FileExists("c:\\mysearch\\plugins\\corvane\\view_ocx.ocx"));
    const std::string settings = "c:\\mysearch\\search.ini";
    EXPECT_EQ("ClientHD", Setting(settings, "CurrentEnv"));
    EXPECT_EQ("msie", Setting(settings, "Browser"));
}
