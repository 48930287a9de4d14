// CFileMgr against Wine's file system: tree copies over read-only files, exclusion at
// depth, where DelTree leaves the current directory, FindFile's listing order, and the
// refusal of paths that are too long.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/filemgr.h"
#include "tests/wine/wine_test_kit.h"

using namespace wine_test;

namespace {

class FileMgrTest : public ::testing::Test {
protected:
    // src\a.txt, src\b.txt (read-only), src\sub\c.txt, src\sub\deeper\d.txt
    void MakeSourceTree() {
        guidriver::MakeDirectories(dir / "src\\sub\\deeper");
        WriteBytes(dir / "src\\a.txt", "alpha");
        WriteReadOnly(dir / "src\\b.txt", "bravo");
        WriteBytes(dir / "src\\sub\\c.txt", "charlie");
        WriteBytes(dir / "src\\sub\\deeper\\d.txt", "delta");
    }
    void EnterDir() { ::SetCurrentDirectoryA(dir.Path().c_str()); }

    ScratchDir dir;
    CFileMgr mgr;
};

TEST_F(FileMgrTest, CreateTreeBuildsChainsAndTakesRootRelativeAndUncPathsAsRelative) {
    EXPECT_EQ(1, mgr.CreateTree((dir / "x\\y\\z\\").c_str(), nullptr));
    EXPECT_TRUE(DirectoryExists(dir / "x\\y\\z"));
    EXPECT_EQ(1, mgr.CreateTree((dir / "x\\y").c_str(), nullptr)); // existing
    WriteBytes(dir / "file", "");
    EXPECT_EQ(0, mgr.CreateTree((dir / "file").c_str(), nullptr));
    char missing[] = "?:\\lumora\\x";
    for (char letter = 'Z'; letter > 'C' && missing[0] == '?'; --letter)
        if (!(::GetLogicalDrives() & (1u << (letter - 'A'))))
            missing[0] = letter;
    EXPECT_EQ(0, mgr.CreateTree(missing, nullptr));

    EnterDir();
    EXPECT_EQ(1, mgr.CreateTree("\\rooted\\one", nullptr));
    EXPECT_TRUE(DirectoryExists(dir / "rooted\\one"));
    EXPECT_EQ(1, mgr.CreateTree("\\\\server\\share\\two", nullptr));
    EXPECT_TRUE(DirectoryExists(dir / "server\\share\\two"));
}

TEST_F(FileMgrTest, CopyTreeCopiesEverythingAndRestoresTheCurrentDirectory) {
    MakeSourceTree();
    ::CreateDirectoryA((dir / "src\\empty").c_str(), nullptr);
    const std::string before = CurrentDir();
    ASSERT_EQ(1, mgr.CopyTree((dir / "src").c_str(), (dir / "new\\dst").c_str(), 0, nullptr));
    EXPECT_EQ(before, CurrentDir());
    EXPECT_EQ("alpha", ReadBytes(dir / "new\\dst\\a.txt"));
    EXPECT_EQ("delta", ReadBytes(dir / "new\\dst\\sub\\deeper\\d.txt"));
    EXPECT_TRUE(DirectoryExists(dir / "new\\dst\\empty"));
    // Without force a copy keeps the source's attributes.
    EXPECT_TRUE(IsReadOnly(dir / "new\\dst\\b.txt"));
    EXPECT_FALSE(IsReadOnly(dir / "new\\dst\\a.txt"));

    EXPECT_EQ(0, mgr.CopyTree((dir / "nowhere").c_str(), (dir / "dst2").c_str(), 1, nullptr));
    EXPECT_FALSE(Exists(dir / "dst2"));
    EXPECT_EQ(before, CurrentDir());
}

TEST_F(FileMgrTest, CopyTreeWithForceReplacesReadOnlyFilesAndSkipsTheExcludedName) {
    MakeSourceTree();
    ::SetFileAttributesA((dir / "src\\sub\\c.txt").c_str(), FILE_ATTRIBUTE_READONLY);
    WriteBytes(dir / "src\\Search.INI", "top");
    WriteBytes(dir / "src\\sub\\deeper\\search.ini", "deep");
    ::CreateDirectoryA((dir / "src\\search.ini.d").c_str(), nullptr);
    guidriver::MakeDirectories(dir / "dst\\sub");
    WriteReadOnly(dir / "dst\\a.txt", "old");
    WriteReadOnly(dir / "dst\\sub\\c.txt", "old");

    char excluded[] = "SEARCH.ini";
    ASSERT_EQ(1, mgr.CopyTree((dir / "src").c_str(), (dir / "dst").c_str(), 1, excluded));
    for (const char* name : {"a.txt", "b.txt", "sub\\c.txt", "sub\\deeper\\d.txt"})
        EXPECT_FALSE(IsReadOnly(dir / "dst\\" + name)) << name;
    EXPECT_EQ("alpha", ReadBytes(dir / "dst\\a.txt"));
    EXPECT_EQ("charlie", ReadBytes(dir / "dst\\sub\\c.txt"));
    EXPECT_TRUE(Exists(dir / "dst\\sub\\deeper\\d.txt"));
    EXPECT_FALSE(Exists(dir / "dst\\Search.INI"));
    EXPECT_FALSE(Exists(dir / "dst\\sub\\deeper\\search.ini"));
    EXPECT_TRUE(DirectoryExists(dir / "dst\\search.ini.d"));
}

TEST_F(FileMgrTest, CopyTreeWithoutForceStopsAtTheFirstExistingFile) {
    ::CreateDirectoryA((dir / "src").c_str(), nullptr);
    for (const char* name : {"f1", "f2", "f3", "f4", "f5"})
        WriteBytes(dir / "src\\" + name, name);
    const std::vector<std::string> order = ListFolder(dir / "src");
    ASSERT_EQ(5u, order.size());
    ::CreateDirectoryA((dir / "dst").c_str(), nullptr);
    WriteBytes(dir / "dst\\" + order[2], "kept");

    EXPECT_EQ(0, mgr.CopyTree((dir / "src").c_str(), (dir / "dst").c_str(), 0, nullptr));
    EXPECT_EQ("kept", ReadBytes(dir / "dst\\" + order[2]));
    for (std::size_t i : {0, 1, 3, 4})
        EXPECT_EQ(i < 2, Exists(dir / "dst\\" + order[i])) << order[i];
}

TEST_F(FileMgrTest, CopyTreeResolvesTargetsWithoutADrive) {
    MakeSourceTree();
    EnterDir();
    auto withoutDrive = [this](const char* name) { return (dir / name).substr(2); };
    // Relative: against the directory current at the call, not the source. Root-relative:
    // on the current drive. UNC form: also given the current drive, where the doubled
    // backslash collapses.
    const std::pair<std::string, const char*> cases[] = {
        {"rel", "rel"}, {withoutDrive("rooted"), "rooted"}, {"\\" + withoutDrive("unc"), "unc"}};
    for (const auto& [target, folder] : cases) {
        ASSERT_EQ(1, mgr.CopyTree("src", target.c_str(), 1, nullptr)) << target;
        EXPECT_EQ("delta", ReadBytes(dir / folder + "\\sub\\deeper\\d.txt")) << target;
    }
    EXPECT_FALSE(Exists(dir / "src\\rel"));
    EXPECT_EQ(dir.Path(), CurrentDir());
}

TEST_F(FileMgrTest, DelTreeRemovesReadOnlyTreesWithForceAndLeavesTheParentCurrent) {
    MakeSourceTree();
    EnterDir();
    EXPECT_EQ(0, mgr.DelTree((dir / "src").c_str(), 0)); // stops at the read-only file
    EXPECT_TRUE(Exists(dir / "src\\b.txt"));
    EXPECT_EQ(dir.Path(), CurrentDir());
    ::SetCurrentDirectoryA((dir / "src\\sub").c_str());
    ASSERT_EQ(1, mgr.DelTree((dir / "src").c_str(), 1));
    EXPECT_FALSE(Exists(dir / "src"));
    EXPECT_EQ(dir.Path(), CurrentDir());

    // A relative path of several components is removed as given, from the parent it
    // ends in, where it names nothing: the emptied directory stays. And a directory
    // that does not exist.
    guidriver::MakeDirectories(dir / "a\\b");
    WriteBytes(dir / "a\\b\\f", "");
    EXPECT_EQ(0, mgr.DelTree("a\\b", 0));
    EXPECT_FALSE(Exists(dir / "a\\b\\f"));
    EXPECT_TRUE(DirectoryExists(dir / "a\\b"));
    EXPECT_EQ(dir / "a", CurrentDir());
    EXPECT_EQ(1, mgr.DelTree((dir / "missing").c_str(), 0));
    EXPECT_EQ(dir / "a", CurrentDir());
}

TEST_F(FileMgrTest, FindFileReturnsTheFirstMatchInListingOrder) {
    guidriver::MakeDirectories(dir / "tree\\sub");
    ::CreateDirectoryA((dir / "tree\\Key.tbl.d").c_str(), nullptr);
    WriteBytes(dir / "tree\\KEY.TBL", "top");
    WriteBytes(dir / "tree\\sub\\Key.Tbl", "sub");
    std::string expected;
    for (const std::string& name : ListFolder(dir / "tree")) {
        if (expected.empty() && (name == "sub" || name == "KEY.TBL"))
            expected = name == "sub" ? dir / "tree\\sub\\Key.Tbl" : dir / "tree\\KEY.TBL";
    }

    const std::string before = CurrentDir();
    char out[MAX_PATH + 1] = "unchanged";
    ASSERT_EQ(1, mgr.FindFile((dir / "tree\\").c_str(), "key.tbl", out, sizeof out));
    EXPECT_EQ(expected, out);
    char tiny[8] = "tiny";
    EXPECT_EQ(0, mgr.FindFile((dir / "tree").c_str(), "key.tbl", tiny, sizeof tiny));
    EXPECT_STREQ("tiny", tiny);
    EXPECT_EQ(0, mgr.FindFile((dir / "tree").c_str(), "nothing", out, sizeof out));
    EXPECT_EQ(0, mgr.FindFile((dir / "missing").c_str(), "key.tbl", out, sizeof out));
    EXPECT_EQ(before, CurrentDir());
}

TEST_F(FileMgrTest, SingleFileOperations) {
    WriteReadOnly(dir / "src.txt", "new");
    const std::string target = dir / "p\\q\\target.txt";
    ASSERT_EQ(1, mgr.ForceCopyFile((dir / "src.txt").c_str(), target.c_str()));
    EXPECT_TRUE(IsReadOnly(target)); // the copy keeps the source's attributes
    ::SetFileAttributesA((dir / "src.txt").c_str(), FILE_ATTRIBUTE_NORMAL);
    WriteBytes(dir / "src.txt", "newer");
    ASSERT_EQ(1, mgr.ForceCopyFile((dir / "src.txt").c_str(), target.c_str()));
    EXPECT_EQ("newer", ReadBytes(target));

    EXPECT_EQ(1, mgr.FileExists(target.c_str()));
    EXPECT_EQ(0, mgr.FileExists((dir / "p").c_str()));
    EXPECT_EQ(0, mgr.DirectoryExists(target.c_str()));
    const std::string before = CurrentDir();
    EXPECT_EQ(1, mgr.DirectoryExists((dir / "p").c_str()));
    EXPECT_EQ(before, CurrentDir());

    ::SetFileAttributesA(target.c_str(), FILE_ATTRIBUTE_READONLY);
    EXPECT_EQ(1, mgr.ForceDeleteFile(target.c_str()));
    EXPECT_FALSE(Exists(target));
    EXPECT_EQ(0, mgr.ForceDeleteFile(target.c_str()));

    EXPECT_NE(0, mgr.CreateDirectoryA((dir / "one").c_str()));
    EXPECT_EQ(0, mgr.CreateDirectoryA((dir / "one").c_str()));
    EXPECT_EQ(0, mgr.CreateDirectoryA((dir / "two\\three").c_str()));
}

TEST_F(FileMgrTest, PathsLongerThan255CharactersAreRefusedUntouched) {
    MakeSourceTree();
    std::string tooLong = dir / "long";
    while (tooLong.size() < 256)
        tooLong += "\\segment";
    tooLong.resize(256);
    const char* path = tooLong.c_str();
    char out[MAX_PATH + 1] = "unchanged";
    const int results[] = {
        mgr.CreateTree(path, nullptr),
        mgr.CopyTree((dir / "src").c_str(), path, 1, nullptr),
        mgr.CopyTree(path, (dir / "dst").c_str(), 1, nullptr),
        mgr.ForceCopyFile((dir / "src\\a.txt").c_str(), path),
        mgr.CreateDirectoryA(path),
        mgr.DelTree(path, 1),
        mgr.FindFile(path, "a.txt", out, sizeof out),
        mgr.FileExists(path),
        mgr.DirectoryExists(path),
        mgr.ForceDeleteFile(path),
    };
    EXPECT_EQ(std::vector<int>(10, 0), std::vector<int>(std::begin(results), std::end(results)));
    EXPECT_FALSE(Exists(dir / "long"));
    EXPECT_FALSE(Exists(dir / "dst"));
    EXPECT_STREQ("unchanged", out);
}

} // namespace
