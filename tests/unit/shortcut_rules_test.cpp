// The shortcut step where the end-to-end runs do not reach: settings from the CD too long
// for the engine's buffers, bare drives, and names that must not become commands. The
// browser codes, the links' programs and icons and the Program Manager name cuts are
// checked by the runs that make them.
#include "integration/shortcut_rules.h"

#include <gtest/gtest.h>

#include <string>

namespace {

constexpr std::size_t kPath = 261;

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
