// The engine's text and path rules: source root, yes/no and environment settings, and
// the bounded path building that every fixed buffer relies on.
#include "setup/rules.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

namespace {

std::string SourceRoot(const char* currentDir, std::size_t outSize = rules::kPathSize) {
    std::string out(outSize, 'X');
    rules::MakeSourceRoot(currentDir, &out[0], outSize);
    return std::string(out.c_str());
}

TEST(SourceRoot, CutsAtTheSetupFolderAndLowerCases) {
    EXPECT_EQ("d:", SourceRoot("D:\\_RED40\\BIN"));
    EXPECT_EQ("c:\\cd", SourceRoot("c:\\cd\\_red40\\bin"));
    EXPECT_EQ("c:\\cd", SourceRoot("C:\\CD\\_Red40\\Bin\\"));
    EXPECT_EQ("\\\\server\\share", SourceRoot("\\\\Server\\Share\\_red40\\bin"));
    // The first occurrence counts, even inside a longer name.
    EXPECT_EQ("d:", SourceRoot("D:\\_red40\\binaries\\_red40\\bin"));
}

TEST(SourceRoot, RemovesExactlyOneTrailingBackslash) {
    EXPECT_EQ("e:", SourceRoot("E:\\"));
    EXPECT_EQ("e:\\", SourceRoot("E:\\\\"));
    EXPECT_EQ("e:\\data", SourceRoot("E:\\Data"));
    EXPECT_EQ("", SourceRoot(""));
}

TEST(SourceRoot, NeverWritesPastItsBuffer) {
    std::string longDir = "C:\\" + std::string(400, 'A');
    std::string root = SourceRoot(longDir.c_str());
    EXPECT_EQ(rules::kPathSize - 1, root.size());
    EXPECT_EQ('a', root.back());

    // Only 3 characters fit: "d:\", whose trailing backslash then goes.
    char small[6];
    std::memset(small, 'X', sizeof(small));
    rules::MakeSourceRoot("D:\\_red40\\bin", small, 4);
    EXPECT_STREQ("d:", small);
    EXPECT_EQ('X', small[4]);
    EXPECT_EQ('X', small[5]);
    rules::MakeSourceRoot("E:\\", small, 0);
    EXPECT_EQ('d', small[0]);
}

TEST(Settings, YesIsAnyValueBeginningWithY) {
    EXPECT_TRUE(rules::IsYesSetting("y"));
    EXPECT_TRUE(rules::IsYesSetting("Yes"));
    EXPECT_TRUE(rules::IsYesSetting("yup"));
    EXPECT_FALSE(rules::IsYesSetting(""));
    EXPECT_FALSE(rules::IsYesSetting(" yes"));
    EXPECT_FALSE(rules::IsYesSetting("no"));
    EXPECT_FALSE(rules::IsYesSetting("1"));
    EXPECT_FALSE(rules::IsYesSetting(nullptr));
}

TEST(Settings, ClientEnvironmentIgnoresCaseButNothingElse) {
    EXPECT_TRUE(rules::IsClientEnvironment("ClientCD"));
    EXPECT_TRUE(rules::IsClientEnvironment("clientcd"));
    EXPECT_TRUE(rules::IsClientEnvironment("CLIENTCD"));
    EXPECT_FALSE(rules::IsClientEnvironment("ClientCD "));
    EXPECT_FALSE(rules::IsClientEnvironment("Client"));
    EXPECT_FALSE(rules::IsClientEnvironment("PublisherCD"));
    EXPECT_FALSE(rules::IsClientEnvironment(""));
    EXPECT_FALSE(rules::IsClientEnvironment(nullptr));
}

TEST(BoundedText, AppendLeavesTheBufferAloneWhenTheTextDoesNotFit) {
    char buffer[8] = "abc";
    EXPECT_TRUE(rules::AppendBounded(buffer, sizeof(buffer), "defg"));
    EXPECT_STREQ("abcdefg", buffer);
    EXPECT_FALSE(rules::AppendBounded(buffer, sizeof(buffer), "h"));
    EXPECT_STREQ("abcdefg", buffer);

    char full[4] = {'a', 'b', 'c', 'd'}; // no terminator at all
    EXPECT_FALSE(rules::AppendBounded(full, sizeof(full), ""));
    EXPECT_FALSE(rules::EnsureTrailingBackslash(full, sizeof(full)));
    EXPECT_EQ('d', full[3]);
}

TEST(BoundedText, CutCopyIsAlwaysTerminated) {
    char buffer[4] = "xyz";
    rules::CopyCut(buffer, sizeof(buffer), "abcdef");
    EXPECT_STREQ("abc", buffer);
    rules::CopyCut(buffer, sizeof(buffer), "ab");
    EXPECT_STREQ("ab", buffer);
    rules::CopyCut(buffer, sizeof(buffer), nullptr);
    EXPECT_STREQ("", buffer);
    char one[1] = {'x'};
    rules::CopyCut(one, sizeof(one), "abc");
    EXPECT_EQ('\0', one[0]);
}

TEST(BoundedText, TrailingBackslashIsAddedOnce) {
    char buffer[8] = "c:";
    EXPECT_TRUE(rules::EnsureTrailingBackslash(buffer, sizeof(buffer)));
    EXPECT_TRUE(rules::EnsureTrailingBackslash(buffer, sizeof(buffer)));
    EXPECT_STREQ("c:\\", buffer);
    char empty[2] = "";
    EXPECT_TRUE(rules::EnsureTrailingBackslash(empty, sizeof(empty)));
    EXPECT_STREQ("\\", empty);
}

TEST(ShortcutPath, JoinsProgramsGroupAndName) {
    char path[1024];
    ASSERT_TRUE(rules::BuildShortcutPath("C:\\Start Menu\\Programs", "Lumora", "Atlas", path,
                                         sizeof(path)));
    EXPECT_STREQ("C:\\Start Menu\\Programs\\Lumora\\Atlas.lnk", path);
    ASSERT_TRUE(rules::BuildShortcutPath("C:\\Programs\\", "G", "N", path, sizeof(path)));
    EXPECT_STREQ("C:\\Programs\\G\\N.lnk", path);
    // Missing settings give a file named only ".lnk" below an empty group.
    ASSERT_TRUE(rules::BuildShortcutPath("C:\\Programs", "", "", path, sizeof(path)));
    EXPECT_STREQ("C:\\Programs\\\\.lnk", path);
}

TEST(ShortcutPath, TooLongGivesAnEmptyPathAndFalse) {
    std::string name(1100, 'n');
    char path[1024];
    EXPECT_FALSE(rules::BuildShortcutPath("C:\\Programs", "G", name.c_str(), path, sizeof(path)));
    EXPECT_STREQ("", path);
    // Exactly filling the buffer is allowed.
    std::string exact(1024 - 1 - std::strlen("C:\\P\\G\\.lnk"), 'x');
    EXPECT_TRUE(rules::BuildShortcutPath("C:\\P", "G", exact.c_str(), path, sizeof(path)));
    EXPECT_EQ(1023u, std::strlen(path));
}

} // namespace
