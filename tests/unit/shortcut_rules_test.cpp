// The application key, the browser code and the paths of the shortcut step, including
// what happens when a setting from the CD is too long for the engine's buffers, and the
// names that may reach a Program Manager command or the Start menu.
#include "integration/shortcut_rules.h"

#include <gtest/gtest.h>

#include <string>

using namespace shortcuts;

namespace {

constexpr std::size_t kPath = 261;

// What a rule wrote; "<refused>" when it returned false and left its buffer empty.
std::string Written(bool fits, const char* out) {
    if (fits)
        return out;
    return out[0] == '\0' ? "<refused>" : "<refused, but wrote " + std::string(out) + ">";
}

TEST(ShortcutRules, BuiltTextsAndWhatDoesNotFit) {
    char o[kPath] = "x";
    const std::size_t n = sizeof o;
    EXPECT_EQ("SOFTWARE\\Corvane\\Atlas Group\\Atlas",
              Written(BuildApplicationKey("SOFTWARE\\", true, "Atlas Group", "Atlas", o, n), o));
    EXPECT_EQ("SOFTWARE\\Group\\Name",
              Written(BuildApplicationKey("SOFTWARE", false, "Group\\", "Name", o, n), o));
    const std::string longName(300, 'N');
    EXPECT_EQ("<refused>",
              Written(BuildApplicationKey("SOFTWARE\\", true, "G", longName.c_str(), o, n), o));
    // Exactly 260 characters still fit.
    const std::string name(260 - 11, 'n');
    EXPECT_EQ("SOFTWARE\\G\\" + name,
              Written(BuildApplicationKey("SOFTWARE\\", false, "G", name.c_str(), o, n), o));

    EXPECT_EQ(
        "c:\\Program Files\\Search App\\_red40\\bin\\search.exe",
        Written(BuildProgramFolderPath("c:\\Program Files\\Search App", kSearchProgram, o, n), o));
    EXPECT_EQ("d:\\_red40\\bin\\uninstal.ico",
              Written(BuildProgramFolderPath("d:", kUninstallIcon, o, n), o));
    // 250 characters fit as a destination but not with the program folder after them.
    const std::string dest = "c:\\" + std::string(247, 'd');
    EXPECT_EQ("<refused>",
              Written(BuildProgramFolderPath(dest.c_str(), kUninstallProgram, o, n), o));
    EXPECT_EQ("d:\\_red40\\bin\\install.dll", Written(BuildLinkLibraryPath("d:", o, n), o));

    EXPECT_EQ("C:\\Programs\\Atlas\\Uninstall Atlas.lnk",
              Written(BuildLinkPath("C:\\Programs\\Atlas", kUninstallPrefix, "Atlas", o, n), o));
    // Settings without group and name put a file called only ".lnk" in Programs.
    EXPECT_EQ("C:\\Programs\\\\.lnk", Written(BuildLinkPath("C:\\Programs\\", "", "", o, n), o));
    EXPECT_EQ("<refused>", Written(BuildLinkPath("C:\\P", "", "n", o, 4), o));

    // A bare drive gets its root: "d:" alone is that drive's current folder.
    EXPECT_EQ("d:\\", Written(BuildShortcutWorkingDir("d:", o, n), o));
    EXPECT_EQ("c:\\Search", Written(BuildShortcutWorkingDir("c:\\Search", o, n), o));
    EXPECT_EQ("dd", Written(BuildShortcutWorkingDir("dd", o, n), o));
    EXPECT_FALSE(BuildShortcutWorkingDir("d:", o, 3));
}

TEST(ShortcutRules, BrowserCodeOfEachKindAndOtherKeepsTheText) {
    EXPECT_STREQ("netscape", BrowserCodeForKind(0, "ignored"));
    EXPECT_STREQ("msie", BrowserCodeForKind(1, "ignored"));
    EXPECT_STREQ("netscape4", BrowserCodeForKind(2, "communicator"));
    EXPECT_STREQ("c:\\opera\\opera.exe", BrowserCodeForKind(4, "c:\\opera\\opera.exe"));
}

// Program Manager keeps group names to 30 characters and item names to 40.
TEST(ProgramManagerNames, CutsAtTheLimitsOnly) {
    const struct {
        std::size_t length, limit, kept;
    } cases[] = {{35, kGroupNameLimit, 30}, {45, kItemNameLimit, 40}, {5, kItemNameLimit, 5}};
    for (const auto& c : cases) {
        char name[kPath];
        ASSERT_TRUE(CopyBounded(name, sizeof name, std::string(c.length, 'n').c_str()));
        CutToLength(name, c.limit);
        EXPECT_EQ(std::string(c.kept, 'n'), name);
    }
}

// HasBlank decides the short form of a path. Names from a hostile CD: a quote would close
// a Program Manager command's field and turn the rest into commands of their own;
// brackets and commas stay inside the quotes. Start-menu names stay below the folder.
TEST(ShortcutRules, NamesThatMayStandWhereTheyGo) {
    const struct {
        bool (*rule)(const char*);
        const char* text;
        bool expected;
    } cases[] = {
        {HasBlank, "c:\\Program Files\\x.exe", true},
        {HasBlank, "c:\\search\\x.exe", false},
        {HasBlank, "", false},
        {IsPlainCommandText, "Atlas [1], (x) 100% \xC4", true},
        {IsPlainCommandText, "", true},
        {IsPlainCommandText, nullptr, true},
        {IsPlainCommandText, "x\")][deletegroup(\"Accessories\")][x(\"", false},
        {IsPlainCommandText, "two\r\nlines", false},
        {IsPlainCommandText, "tab\there", false},
        {StaysInStartMenu, nullptr, true},
    };
    for (const auto& c : cases)
        EXPECT_EQ(c.expected, c.rule(c.text)) << (c.text ? c.text : "(null)");
    for (const char* inside : {"", "Atlas", "Corvane\\Atlas", "Corvane/Atlas", "a.b", "..x",
                               "Uninstall Atlas", "x..", ".hidden", "...", "."})
        EXPECT_TRUE(StaysInStartMenu(inside)) << inside;
    for (const char* outside : {"..", "..\\..\\Startup", "Corvane\\..\\..\\x", "\\Atlas", "Atlas\\",
                                "a\\\\b", "c:Atlas", "c:\\Atlas", "\\\\server\\share", "../x"})
        EXPECT_FALSE(StaysInStartMenu(outside)) << outside;
}

} // namespace
