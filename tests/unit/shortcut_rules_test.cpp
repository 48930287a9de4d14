// The application key, the browser code and the paths of the shortcut step, including
// what happens when a setting from the CD is too long for the engine's buffers.
#include "integration/shortcut_rules.h"

#include <gtest/gtest.h>

#include <string>

namespace {

constexpr std::size_t kPath = 261;

TEST(ApplicationKey, PublisherKeyHasTheMakerBetweenRootAndGroup) {
    char key[kPath];
    ASSERT_TRUE(shortcuts::BuildApplicationKey("SOFTWARE\\", true, "Atlas Group", "Atlas", key,
                                               sizeof key));
    EXPECT_STREQ("SOFTWARE\\Corvane\\Atlas Group\\Atlas", key);
    ASSERT_TRUE(shortcuts::BuildApplicationKey("SOFTWARE\\", false, "Atlas Group", "Atlas", key,
                                               sizeof key));
    EXPECT_STREQ("SOFTWARE\\Atlas Group\\Atlas", key);
}

TEST(ApplicationKey, BackslashesAreEnsuredNotDoubled) {
    char key[kPath];
    ASSERT_TRUE(
        shortcuts::BuildApplicationKey("SOFTWARE", false, "Group\\", "Name", key, sizeof key));
    EXPECT_STREQ("SOFTWARE\\Group\\Name", key);
    // The defaults of an empty search.ini.
    ASSERT_TRUE(shortcuts::BuildApplicationKey("SOFTWARE\\", true, shortcuts::kDefaultName,
                                               shortcuts::kDefaultName, key, sizeof key));
    EXPECT_STREQ("SOFTWARE\\Corvane\\Corvane Publisher\\Corvane Publisher", key);
}

TEST(ApplicationKey, TooLongForTheBufferGivesNoKeyAtAll) {
    std::string longName(300, 'N');
    char key[kPath];
    key[0] = 'x';
    EXPECT_FALSE(
        shortcuts::BuildApplicationKey("SOFTWARE\\", true, "G", longName.c_str(), key, sizeof key));
    EXPECT_STREQ("", key);
    // Exactly 260 characters still fit.
    std::string name(260 - std::string("SOFTWARE\\G\\").size(), 'n');
    EXPECT_TRUE(
        shortcuts::BuildApplicationKey("SOFTWARE\\", false, "G", name.c_str(), key, sizeof key));
    EXPECT_EQ(260u, std::string(key).size());
}

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

TEST(ShortcutPaths, LinkNamesIncludingTheEmptyName) {
    char path[kPath];
    ASSERT_TRUE(shortcuts::BuildLinkPath("C:\\Programs\\Atlas", shortcuts::kUninstallPrefix,
                                         "Atlas", path, sizeof path));
    EXPECT_STREQ("C:\\Programs\\Atlas\\Uninstall Atlas.lnk", path);
    // Settings without group and name put a file called only ".lnk" in Programs.
    ASSERT_TRUE(shortcuts::BuildLinkPath("C:\\Programs\\", "", "", path, sizeof path));
    EXPECT_STREQ("C:\\Programs\\\\.lnk", path);
}

TEST(ShortcutPaths, DestinationTooLongLeavesThePathEmpty) {
    // 250 characters fit as a destination but not with the program folder after them.
    std::string dest = "c:\\" + std::string(247, 'd');
    char path[kPath];
    path[0] = 'x';
    EXPECT_FALSE(shortcuts::BuildProgramFolderPath(dest.c_str(), shortcuts::kUninstallProgram, path,
                                                   sizeof path));
    EXPECT_STREQ("", path);
    char tiny[4];
    EXPECT_FALSE(shortcuts::BuildLinkPath("C:\\P", "", "n", tiny, sizeof tiny));
    EXPECT_STREQ("", tiny);
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
    ASSERT_TRUE(shortcuts::CopyBounded(group, sizeof group, group35.c_str()));
    shortcuts::CutToLength(group, shortcuts::kGroupNameLimit);
    EXPECT_EQ(std::string(30, 'g'), group);

    std::string name45(45, 'n');
    char item[kPath];
    ASSERT_TRUE(shortcuts::CopyBounded(item, sizeof item, name45.c_str()));
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

TEST(StartMenuNames, OnlyNamesBelowTheFolderStayInside) {
    for (const char* inside : {"", "Atlas", "Corvane\\Atlas", "Corvane/Atlas", "a.b", "..x",
                               "Uninstall Atlas", "x..", ".hidden", "...", "."})
        EXPECT_TRUE(shortcuts::StaysInStartMenu(inside)) << inside;
    for (const char* outside : {"..", "..\\..\\Startup", "Corvane\\..\\..\\x", "\\Atlas", "Atlas\\",
                                "a\\\\b", "c:Atlas", "c:\\Atlas", "\\\\server\\share", "../x"})
        EXPECT_FALSE(shortcuts::StaysInStartMenu(outside)) << outside;
    EXPECT_TRUE(shortcuts::StaysInStartMenu(nullptr));
}

} // namespace
