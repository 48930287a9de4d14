// CFileMgr against Wine's file system: tree copies over read-only files, exclusion at
// depth, where DelTree leaves the current directory, FindFile's listing order, and the
// refusal of paths that are too long.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "platform/filemgr.h"
#include "tests/wine/platform_test_support.h"

using namespace platform_test;

namespace {

// Names in the order the file system lists them, "." and ".." left out.
std::vector<std::string> Listing(const std::string& dir) {
    std::vector<std::string> names;
    WIN32_FIND_DATAA entry;
    HANDLE find = ::FindFirstFileA((dir + "\\*").c_str(), &entry);
    if (find == INVALID_HANDLE_VALUE)
        return names;
    do {
        const std::string name = entry.cFileName;
        if (name != "." && name != "..")
            names.push_back(name);
    } while (::FindNextFileA(find, &entry));
    ::FindClose(find);
    return names;
}

// The path without its drive ("c:"), i.e. root-relative on the current drive.
std::string WithoutDrive(const std::string& path) {
    return path.substr(2);
}

class FileMgrTest : public ::testing::Test {
protected:
    // src\a.txt, src\b.txt (read-only), src\sub\c.txt, src\sub\deeper\d.txt
    void MakeSourceTree() {
        ::CreateDirectoryA((dir / "src").c_str(), nullptr);
        ::CreateDirectoryA((dir / "src\\sub").c_str(), nullptr);
        ::CreateDirectoryA((dir / "src\\sub\\deeper").c_str(), nullptr);
        WriteFile(dir / "src\\a.txt", "alpha");
        WriteFile(dir / "src\\b.txt", "bravo", true);
        WriteFile(dir / "src\\sub\\c.txt", "charlie");
        WriteFile(dir / "src\\sub\\deeper\\d.txt", "delta");
    }

    ScratchDir dir{"fm"};
    CFileMgr mgr;
};

TEST_F(FileMgrTest, CreateTreeBuildsChainsAndReportsTheOutcome) {
    EXPECT_EQ(1, mgr.CreateTree((dir / "x\\y\\z\\").c_str(), nullptr));
    EXPECT_TRUE(IsDir(dir / "x\\y\\z"));
    EXPECT_EQ(1, mgr.CreateTree((dir / "x\\y").c_str(), nullptr)); // existing

    WriteFile(dir / "file", "");
    EXPECT_EQ(0, mgr.CreateTree((dir / "file").c_str(), nullptr));

    const DWORD drives = ::GetLogicalDrives();
    char missing[] = "?:\\lumora\\x";
    for (char letter = 'Z'; letter > 'C' && missing[0] == '?'; --letter)
        if (!(drives & (1u << (letter - 'A'))))
            missing[0] = letter;
    EXPECT_EQ(0, mgr.CreateTree(missing, nullptr));
}

TEST_F(FileMgrTest, CreateTreeTreatsRootRelativeAndUncPathsAsRelative) {
    ::SetCurrentDirectoryA(dir.Path().c_str());
    EXPECT_EQ(1, mgr.CreateTree("\\rooted\\one", nullptr));
    EXPECT_TRUE(IsDir(dir / "rooted\\one"));
    EXPECT_EQ(1, mgr.CreateTree("\\\\server\\share\\two", nullptr));
    EXPECT_TRUE(IsDir(dir / "server\\share\\two"));
}

TEST_F(FileMgrTest, CopyTreeCopiesEverythingAndRestoresTheCurrentDirectory) {
    MakeSourceTree();
    ::CreateDirectoryA((dir / "src\\empty").c_str(), nullptr);
    const std::string before = CurrentDir();
    ASSERT_EQ(1, mgr.CopyTree((dir / "src").c_str(), (dir / "new\\dst").c_str(), 0, nullptr));
    EXPECT_EQ(before, CurrentDir());
    EXPECT_EQ("alpha", ReadFile(dir / "new\\dst\\a.txt"));
    EXPECT_EQ("delta", ReadFile(dir / "new\\dst\\sub\\deeper\\d.txt"));
    EXPECT_TRUE(IsDir(dir / "new\\dst\\empty"));
    // Without force a copy keeps the source's attributes.
    EXPECT_TRUE(IsReadOnly(dir / "new\\dst\\b.txt"));
    EXPECT_FALSE(IsReadOnly(dir / "new\\dst\\a.txt"));

    EXPECT_EQ(0, mgr.CopyTree((dir / "nowhere").c_str(), (dir / "dst2").c_str(), 1, nullptr));
    EXPECT_FALSE(Exists(dir / "dst2"));
    EXPECT_EQ(before, CurrentDir());
}

TEST_F(FileMgrTest, CopyTreeWithForceReplacesReadOnlyFilesAndLeavesThemWritable) {
    MakeSourceTree();
    ::SetFileAttributesA((dir / "src\\sub\\c.txt").c_str(), FILE_ATTRIBUTE_READONLY);
    ::CreateDirectoryA((dir / "dst").c_str(), nullptr);
    ::CreateDirectoryA((dir / "dst\\sub").c_str(), nullptr);
    WriteFile(dir / "dst\\a.txt", "old", true);
    WriteFile(dir / "dst\\sub\\c.txt", "old", true);

    ASSERT_EQ(1, mgr.CopyTree((dir / "src").c_str(), (dir / "dst").c_str(), 1, nullptr));
    for (const char* name : {"a.txt", "b.txt", "sub\\c.txt", "sub\\deeper\\d.txt"})
        EXPECT_FALSE(IsReadOnly(dir / "dst\\" + name)) << name;
    EXPECT_EQ("alpha", ReadFile(dir / "dst\\a.txt"));
    EXPECT_EQ("charlie", ReadFile(dir / "dst\\sub\\c.txt"));
}

TEST_F(FileMgrTest, CopyTreeWithoutForceStopsAtTheFirstExistingFile) {
    ::CreateDirectoryA((dir / "src").c_str(), nullptr);
    for (const char* name : {"f1", "f2", "f3", "f4", "f5"})
        WriteFile(dir / "src\\" + name, name);
    const std::vector<std::string> order = Listing(dir / "src");
    ASSERT_EQ(5u, order.size());
    const std::string& clash = order[2];
    ::CreateDirectoryA((dir / "dst").c_str(), nullptr);
    WriteFile(dir / "dst\\" + clash, "kept");

    EXPECT_EQ(0, mgr.CopyTree((dir / "src").c_str(), (dir / "dst").c_str(), 0, nullptr));
    EXPECT_EQ("kept", ReadFile(dir / "dst\\" + clash));
    EXPECT_TRUE(Exists(dir / "dst\\" + order[0]));
    EXPECT_TRUE(Exists(dir / "dst\\" + order[1]));
    EXPECT_FALSE(Exists(dir / "dst\\" + order[3]));
    EXPECT_FALSE(Exists(dir / "dst\\" + order[4]));
}

TEST_F(FileMgrTest, CopyTreeSkipsTheExcludedFileNameAtEveryDepth) {
    MakeSourceTree();
    WriteFile(dir / "src\\Search.INI", "top");
    WriteFile(dir / "src\\sub\\deeper\\search.ini", "deep");
    ::CreateDirectoryA((dir / "src\\search.ini.d").c_str(), nullptr);
    ASSERT_EQ(1, mgr.CopyTree((dir / "src").c_str(), (dir / "dst").c_str(), 1, "SEARCH.ini"));
    EXPECT_FALSE(Exists(dir / "dst\\Search.INI"));
    EXPECT_FALSE(Exists(dir / "dst\\sub\\deeper\\search.ini"));
    EXPECT_TRUE(Exists(dir / "dst\\sub\\deeper\\d.txt"));
    EXPECT_TRUE(IsDir(dir / "dst\\search.ini.d"));
}

TEST_F(FileMgrTest, CopyTreeResolvesTargetsWithoutADrive) {
    MakeSourceTree();
    ::SetCurrentDirectoryA(dir.Path().c_str());
    // Relative: against the directory current at the call, not the source.
    ASSERT_EQ(1, mgr.CopyTree("src", "rel", 1, nullptr));
    EXPECT_EQ("alpha", ReadFile(dir / "rel\\a.txt"));
    EXPECT_FALSE(Exists(dir / "src\\rel"));
    // Root-relative: on the drive of the current directory.
    ASSERT_EQ(1, mgr.CopyTree("src", WithoutDrive(dir / "rooted").c_str(), 1, nullptr));
    EXPECT_EQ("delta", ReadFile(dir / "rooted\\sub\\deeper\\d.txt"));
    // UNC form: also given the current drive, where the doubled backslash collapses.
    ASSERT_EQ(1, mgr.CopyTree("src", ("\\" + WithoutDrive(dir / "unc")).c_str(), 1, nullptr));
    EXPECT_EQ("charlie", ReadFile(dir / "unc\\sub\\c.txt"));
    EXPECT_EQ(dir.Path(), CurrentDir());
}

TEST_F(FileMgrTest, DelTreeRemovesReadOnlyTreesWithForceAndLeavesTheParentCurrent) {
    MakeSourceTree();
    ::SetFileAttributesA((dir / "src\\sub\\deeper\\d.txt").c_str(), FILE_ATTRIBUTE_READONLY);
    ::SetCurrentDirectoryA((dir / "src\\sub").c_str());
    ASSERT_EQ(1, mgr.DelTree((dir / "src").c_str(), 1));
    EXPECT_FALSE(Exists(dir / "src"));
    EXPECT_EQ(dir.Path(), CurrentDir());

    // A relative path of several components, and a directory that does not exist.
    ::CreateDirectoryA((dir / "a").c_str(), nullptr);
    ::CreateDirectoryA((dir / "a\\b").c_str(), nullptr);
    WriteFile(dir / "a\\b\\f", "");
    ASSERT_EQ(1, mgr.DelTree("a\\b", 0));
    EXPECT_FALSE(Exists(dir / "a\\b"));
    EXPECT_EQ(dir / "a", CurrentDir());
    EXPECT_EQ(1, mgr.DelTree((dir / "missing").c_str(), 0));
    EXPECT_EQ(dir / "a", CurrentDir());
}

TEST_F(FileMgrTest, DelTreeWithoutForceStopsAtAReadOnlyFile) {
    MakeSourceTree();
    ::SetCurrentDirectoryA(dir.Path().c_str());
    EXPECT_EQ(0, mgr.DelTree((dir / "src").c_str(), 0));
    EXPECT_TRUE(Exists(dir / "src\\b.txt"));
    EXPECT_EQ(dir.Path(), CurrentDir());
}

TEST_F(FileMgrTest, FindFileReturnsTheFirstMatchInListingOrder) {
    ::CreateDirectoryA((dir / "tree").c_str(), nullptr);
    ::CreateDirectoryA((dir / "tree\\sub").c_str(), nullptr);
    ::CreateDirectoryA((dir / "tree\\Key.tbl.d").c_str(), nullptr);
    WriteFile(dir / "tree\\KEY.TBL", "top");
    WriteFile(dir / "tree\\sub\\Key.Tbl", "sub");
    const std::vector<std::string> order = Listing(dir / "tree");
    bool subFirst = false;
    for (const std::string& name : order) {
        if (name == "sub" || name == "KEY.TBL") {
            subFirst = name == "sub";
            break;
        }
    }
    const std::string expected = subFirst ? dir / "tree\\sub\\Key.Tbl" : dir / "tree\\KEY.TBL";

    const std::string before = CurrentDir();
    char out[MAX_PATH + 1] = "unchanged";
    ASSERT_EQ(1, mgr.FindFile((dir / "tree\\").c_str(), "key.tbl", out, sizeof out));
    EXPECT_EQ(expected, out);
    EXPECT_EQ(before, CurrentDir());

    char tiny[8] = "tiny";
    EXPECT_EQ(0, mgr.FindFile((dir / "tree").c_str(), "key.tbl", tiny, sizeof tiny));
    EXPECT_STREQ("tiny", tiny);
    EXPECT_EQ(0, mgr.FindFile((dir / "tree").c_str(), "nothing", out, sizeof out));
    EXPECT_EQ(0, mgr.FindFile((dir / "missing").c_str(), "key.tbl", out, sizeof out));
    EXPECT_EQ(before, CurrentDir());
}

TEST_F(FileMgrTest, SingleFileOperations) {
    WriteFile(dir / "src.txt", "new", true);
    const std::string target = dir / "p\\q\\target.txt";
    ASSERT_EQ(1, mgr.ForceCopyFile((dir / "src.txt").c_str(), target.c_str()));
    EXPECT_TRUE(IsReadOnly(target)); // the copy keeps the source's attributes
    WriteFile(dir / "src.txt", "newer");
    ASSERT_EQ(1, mgr.ForceCopyFile((dir / "src.txt").c_str(), target.c_str()));
    EXPECT_EQ("newer", ReadFile(target));

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
    EXPECT_EQ(0, mgr.FileExists(target.c_str()));

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

    EXPECT_EQ(0, mgr.CreateTree(path, nullptr));
    EXPECT_EQ(0, mgr.CopyTree((dir / "src").c_str(), path, 1, nullptr));
    EXPECT_EQ(0, mgr.CopyTree(path, (dir / "dst").c_str(), 1, nullptr));
    EXPECT_EQ(0, mgr.ForceCopyFile((dir / "src\\a.txt").c_str(), path));
    EXPECT_EQ(0, mgr.CreateDirectoryA(path));
    EXPECT_EQ(0, mgr.DelTree(path, 1));
    EXPECT_EQ(0, mgr.FindFile(path, "a.txt", out, sizeof out));
    EXPECT_EQ(0, mgr.FileExists(path));
    EXPECT_EQ(0, mgr.DirectoryExists(path));
    EXPECT_EQ(0, mgr.ForceDeleteFile(path));
    EXPECT_FALSE(Exists(dir / "long"));
    EXPECT_FALSE(Exists(dir / "dst"));
    EXPECT_STREQ("unchanged", out);
}

} // namespace
