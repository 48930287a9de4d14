// The engine's source root, the bounded text and path module every fixed buffer relies
// on, and the two paths built from the CD's group and name: the Start-menu shortcut and
// the application key.
#include "setup/rules.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <tuple>
#include <utility>

#include "integration/shortcut_rules.h"
#include "platform/bounded_text.h"

namespace {

// Paths and texts live in buffers of 260 characters and the terminator.
constexpr std::size_t kPathBuffer = 261;

std::string SourceRoot(const char* currentDir, std::size_t outSize = kPathBuffer) {
    std::string out(outSize, 'X');
    rules::MakeSourceRoot(currentDir, &out[0], outSize);
    return std::string(out.c_str());
}

TEST(SourceRoot, CutAtTheSetupFolderLowerCasedWithoutOneTrailingBackslash) {
    const std::pair<const char*, const char*> cases[] = {
        // current directory, source root
        {"D:\\_RED40\\BIN", "d:"},
        {"C:\\CD\\_Red40\\Bin\\", "c:\\cd"},
        {"\\\\Server\\Share\\_red40\\bin", "\\\\server\\share"},
        {"D:\\_red40\\binaries\\_red40\\bin", "d:"}, // the first occurrence counts
        {"E:\\", "e:"},
        {"E:\\\\", "e:\\"},
        {"", ""},
    };
    for (const auto& [currentDir, root] : cases)
        EXPECT_EQ(root, SourceRoot(currentDir)) << currentDir;

    std::string longDir = "C:\\" + std::string(400, 'A');
    EXPECT_EQ(kPathBuffer - 1, SourceRoot(longDir.c_str()).size());
    char small[6];
    std::memset(small, 'X', sizeof(small));
    rules::MakeSourceRoot("D:\\_red40\\bin", small, 4); // "d:\" fits, its backslash goes
    EXPECT_STREQ("d:", small);
    EXPECT_EQ('X', small[4]);
}

TEST(BoundedText, WholeOrNothingForPathsCutOnlyForShownText) {
    char buffer[8] = "abc";
    EXPECT_TRUE(bounded::Append(buffer, sizeof(buffer), "defg"));
    EXPECT_FALSE(bounded::Append(buffer, sizeof(buffer), "h"));
    EXPECT_STREQ("abcdefg", buffer);
    EXPECT_FALSE(bounded::Copy(buffer, sizeof(buffer), "12345678"));
    EXPECT_STREQ("", buffer);
    bounded::CopyCut(buffer, 4, "abcdef");
    EXPECT_STREQ("abc", buffer);

    char full[4] = {'a', 'b', 'c', 'd'}; // no terminator: never read or written past
    EXPECT_FALSE(bounded::Append(full, sizeof(full), ""));
    EXPECT_FALSE(bounded::EnsureTrailingBackslash(full, sizeof(full)));
    EXPECT_FALSE(bounded::AppendName(full, sizeof(full), "x"));
    EXPECT_EQ('d', full[3]);

    char dir[8] = "c:";
    EXPECT_TRUE(bounded::EnsureTrailingBackslash(dir, sizeof(dir)));
    EXPECT_TRUE(bounded::EnsureTrailingBackslash(dir, sizeof(dir)));
    EXPECT_STREQ("c:\\", dir);
    bounded::StripTrailingBackslash(dir);
    EXPECT_STREQ("c:", dir);
}

TEST(BoundedText, NamesJoinWithOneBackslashAndStayBelowTheirFolder) {
    const std::tuple<const char*, const char*, bool> cases[] = {
        // name, joined to "c:\dest", stays below it
        {"data", "c:\\dest\\data", true},
        {"\\data\\", "c:\\dest\\data", true},
        {"\\\\data\\\\sub\\", "c:\\dest\\data\\sub", true},
        {"data/sub", "c:\\dest\\data\\sub", true},
        {"\\", "c:\\dest", true},
        {"..data\\x..", "c:\\dest\\..data\\x..", true},
        {"\\..\\windows", "c:\\dest\\..\\windows", false},
        {"\\...", "c:\\dest\\...", false},
        {"\\. .. \\x", "c:\\dest\\. .. \\x", false},
        {"data/../..", "c:\\dest\\data\\..\\..", false},
        {"c:\\windows", "c:\\dest\\c:\\windows", false},
        {"\\c:x", "c:\\dest\\c:x", false},
    };
    for (const auto& [name, joined, staysBelow] : cases) {
        char path[32] = "c:\\dest";
        EXPECT_TRUE(bounded::AppendName(path, sizeof(path), name)) << name;
        EXPECT_STREQ(joined, path) << name;
        EXPECT_EQ(staysBelow, bounded::StaysBelow(name)) << name;
    }
    char path[12] = "c:\\dest";
    EXPECT_FALSE(bounded::AppendName(path, sizeof(path), "\\abcd"));
    EXPECT_STREQ("c:\\dest", path);
}

TEST(ShortcutPath, OnePathForTheShortcutMadeAndTheShortcutLookedFor) {
    const char* programs = "C:\\Start Menu\\Programs";
    // group, prefix, name, path ("" when there is none)
    const std::tuple<const char*, const char*, const char*, const char*> cases[] = {
        {"Atlas", "", "Atlas", "C:\\Start Menu\\Programs\\Atlas\\Atlas.lnk"},
        {"\\Atlas", "Uninstall ", "\\Atlas",
         "C:\\Start Menu\\Programs\\Atlas\\Uninstall Atlas.lnk"},
        {"Corvane\\\\Atlas", "", "Atlas\\", "C:\\Start Menu\\Programs\\Corvane\\Atlas\\Atlas.lnk"},
        {"..\\Startup", "", "Atlas", ""},
        {"Atlas", "", "..\\..\\x", ""},
        {"c:\\Atlas", "", "Atlas", ""},
    };
    for (const auto& [group, prefix, name, expected] : cases) {
        char path[1024] = "x";
        EXPECT_EQ(expected[0] != '\0',
                  shortcuts::BuildShortcutPath(programs, group, prefix, name, path, sizeof(path)))
            << group;
        EXPECT_STREQ(expected, path) << group;
    }
    char group[1024];
    ASSERT_TRUE(shortcuts::BuildGroupFolder("C:\\Programs\\", "\\Atlas\\", group, sizeof(group)));
    EXPECT_STREQ("C:\\Programs\\Atlas", group);
    std::string name(1100, 'n');
    char path[1024];
    EXPECT_FALSE(shortcuts::BuildShortcutPath("C:\\P", "G", "", name.c_str(), path, sizeof(path)));
    EXPECT_STREQ("", path);
}

TEST(ApplicationKey, OneKeyAndOneBoundForTheValuesAndTheParametersSubkey) {
    // root, group, name, key; in a registry key "/" is a character of the name.
    const std::tuple<const char*, const char*, const char*, const char*> cases[] = {
        {"SOFTWARE", "Group\\", "\\Name", "SOFTWARE\\Group\\Name"},
        {"SOFTWARE\\", "Maps/Charts", "Atlas", "SOFTWARE\\Maps/Charts\\Atlas"},
    };
    for (const auto& [root, group, name, expected] : cases) {
        char key[kPathBuffer];
        ASSERT_TRUE(
            shortcuts::BuildApplicationKey(root, false, group, name, nullptr, key, sizeof(key)));
        EXPECT_STREQ(expected, key);
        ASSERT_TRUE(shortcuts::BuildApplicationKey(root, false, group, name,
                                                   shortcuts::kParametersSubkey, key, sizeof(key)));
        EXPECT_EQ(std::string(expected) + "\\Parameters", key);
    }
    // The longest key still has room for its subkey; one more character and neither is
    // written, so no "Parameters" stands under a key without its values.
    const std::size_t longest = kPathBuffer - 1 - std::strlen("\\Parameters");
    for (std::size_t length : {longest, longest + 1}) {
        std::string name(length - std::strlen("SOFTWARE\\G\\"), 'n');
        char key[kPathBuffer] = "x";
        bool fits = length == longest;
        EXPECT_EQ(fits, shortcuts::BuildApplicationKey("SOFTWARE\\", false, "G", name.c_str(),
                                                       nullptr, key, sizeof(key)));
        EXPECT_EQ(fits,
                  shortcuts::BuildApplicationKey("SOFTWARE\\", false, "G", name.c_str(),
                                                 shortcuts::kParametersSubkey, key, sizeof(key)));
        EXPECT_EQ(fits ? kPathBuffer - 1 : 0u, std::strlen(key));
    }
}

} // namespace
