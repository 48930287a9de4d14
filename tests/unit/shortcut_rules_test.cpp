// The application key, the browser code and the paths of the shortcut step, including
// what happens when a setting from the CD is too long for the engine's buffers.
#include "integration/shortcut_rules.h"

#include <gtest/gtest.h>

#include <string>

#include "platform/bounded_text.h"

namespace {

constexpr std::size_t kPath = 261;

TEST(BrowserCode, KindsGiveTheirCodesAndOtherKeepsTheText) {
    EXPECT_STREQ("netscape", shortcuts::BrowserCodeForKind(0, "ignored"));
    EXPECT_STREQ("msie", shortcuts::BrowserCodeForKind(1, "ignored"));
    EXPECT_STREQ("netscape4", shortcuts::BrowserCodeForKind(2, "communicator"));
    EXPECT_STREQ("c:\\opera\\opera.exe", shortcuts::BrowserCodeForKind(4, "c:\\opera\\opera.exe"));
}

TEST(ShortcutPaths, ProgramsIconsAndLinkLibrary) {
    char path[kPath];
    ASSERT_TRUE(shortcuts::BuildProgramFolderPath("c:\\Program Files\\Search App",
                                                  shortcuts::kSearchProgram, path, sizeof path));
    EXPECT_STREQ("c:\\Program Files\\Search App\\_red40\\bin\\search.exe", path);
    ASSERT_TRUE(
        shortcuts::BuildProgramFolderPath("d:", shortcuts::kUninstallIcon, path, sizeof path));
    EXPECT_STREQ("d:\\_red40\\bin\\uninstal.ico", path);
    ASSERT_TRUE(shortcuts::BuildLinkLibraryPath("d:", path, sizeof path));
    EXPECT_STREQ("d:\\_red40\\bin\\install.dll", path);
}

TEST(ShortcutPaths, DestinationTooLongLeavesThePathEmpty) {
    // 250 characters fit as a destination but not with the program folder after them.
    std::string dest = "c:\\" + std::string(247, 'd');
    char path[kPath];
    path[0] = 'x';
    EXPECT_FALSE(shortcuts::BuildProgramFolderPath(dest.c_str(), shortcuts::kUninstallProgram, path,
                                                   sizeof path));
    EXPECT_STREQ("", path);
}

TEST(ShortcutWorkingDir, BareDriveGetsItsRoot) {
    char dir[kPath];
    ASSERT_TRUE(shortcuts::BuildShortcutWorkingDir("d:", dir, sizeof dir));
    EXPECT_STREQ("d:\\", dir);
    ASSERT_TRUE(shortcuts::BuildShortcutWorkingDir("c:\\Search", dir, sizeof dir));
    EXPECT_STREQ("c:\\Search", dir);
    ASSERT_TRUE(shortcuts::BuildShortcutWorkingDir("dd", dir, sizeof dir));
    EXPECT_STREQ("dd", dir);
    char small[3];
    EXPECT_FALSE(shortcuts::BuildShortcutWorkingDir("d:", small, sizeof small));
}

TEST(ProgramManagerNames, CutsAtTheLimitsOnly) {
    std::string group35(35, 'g');
    char group[kPath];
    ASSERT_TRUE(bounded::Copy(group, sizeof group, group35.c_str()));
    shortcuts::CutToLength(group, shortcuts::kGroupNameLimit);
    EXPECT_EQ(std::string(30, 'g'), group);

    std::string name45(45, 'n');
    char item[kPath];
    ASSERT_TRUE(bounded::Copy(item, sizeof item, name45.c_str()));
    shortcuts::CutToLength(item, shortcuts::kItemNameLimit);
    EXPECT_EQ(std::string(40, 'n'), item);

    char shortName[] = "Atlas";
    shortcuts::CutToLength(shortName, shortcuts::kItemNameLimit);
    EXPECT_STREQ("Atlas", shortName);
}

TEST(ProgramManagerNames, BlankDecidesTheShortForm) {
    EXPECT_TRUE(shortcuts::HasBlank("c:\\Program Files\\x.exe"));
    EXPECT_FALSE(shortcuts::HasBlank("c:\\search\\x.exe"));
    EXPECT_FALSE(shortcuts::HasBlank(""));
}

// Names from a hostile CD: a quote would close the command's field and turn the rest
// of the name into commands of their own; brackets and commas stay inside the quotes.
TEST(ProgramManagerNames, QuotesAndControlCharactersAreNotPlain) {
    EXPECT_TRUE(shortcuts::IsPlainCommandText("Atlas [1], (x) 100% \xC4"));
    EXPECT_TRUE(shortcuts::IsPlainCommandText(""));
    EXPECT_TRUE(shortcuts::IsPlainCommandText(nullptr));
    EXPECT_FALSE(shortcuts::IsPlainCommandText("x\")][deletegroup(\"Accessories\")][x(\""));
    EXPECT_FALSE(shortcuts::IsPlainCommandText("\""));
    EXPECT_FALSE(shortcuts::IsPlainCommandText("two\r\nlines"));
    EXPECT_FALSE(shortcuts::IsPlainCommandText("tab\there"));
}

} // namespace
