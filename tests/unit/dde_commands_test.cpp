// The Program Manager command texts: exact bytes, argument order, and the buffer bound.
#include "dde/dde_commands.h"

#include <gtest/gtest.h>

#include <string>

namespace {

struct Formatted {
    bool fits;
    std::string text;
};

Formatted CreateGroup(const std::string& group, bool win32s,
                      std::size_t outSize = dde::kCommandSize) {
    std::string out(outSize, 'X');
    bool fits = dde::FormatCreateGroup(group.c_str(), win32s, &out[0], outSize);
    return {fits, std::string(out.c_str())};
}

Formatted AddItem(const std::string& name, const std::string& commandLine,
                  const std::string& iconPath, std::size_t outSize = dde::kCommandSize) {
    std::string out(outSize, 'X');
    bool fits =
        dde::FormatAddItem(name.c_str(), commandLine.c_str(), iconPath.c_str(), &out[0], outSize);
    return {fits, std::string(out.c_str())};
}

TEST(DdeCommands, GroupCommandEndsInOneOnlyOnWin32s) {
    Formatted win32s = CreateGroup("Search Tools", true);
    EXPECT_TRUE(win32s.fits);
    EXPECT_EQ("[creategroup(\"Search Tools\", \"1\")]", win32s.text);

    Formatted other = CreateGroup("Search Tools", false);
    EXPECT_TRUE(other.fits);
    EXPECT_EQ("[creategroup(\"Search Tools\", \"0\")]", other.text);
}

TEST(DdeCommands, ItemCommandListsTheCommandLineBeforeTheName) {
    Formatted item = AddItem("My App", "C:\\APP\\SEARCH.EXE", "c:\\app\\search.ico");
    EXPECT_TRUE(item.fits);
    EXPECT_EQ("[additem(\"C:\\APP\\SEARCH.EXE\",\"My App\",\"c:\\app\\search.ico\",0)]", item.text);
}

TEST(DdeCommands, ArgumentsAreSentAsGivenWithoutQuoting) {
    EXPECT_EQ("[creategroup(\"a\"b,c)\", \"0\")]", CreateGroup("a\"b,c)", false).text);
    EXPECT_EQ("[creategroup(\"\", \"0\")]", CreateGroup("", false).text);
    EXPECT_EQ("[additem(\"\",\"\",\"\",0)]", AddItem("", "", "").text);
}

TEST(DdeCommands, MissingArgumentsCountAsEmpty) {
    char out[dde::kCommandSize];
    EXPECT_TRUE(dde::FormatCreateGroup(nullptr, true, out, sizeof out));
    EXPECT_STREQ("[creategroup(\"\", \"1\")]", out);
    EXPECT_TRUE(dde::FormatAddItem(nullptr, "p", nullptr, out, sizeof out));
    EXPECT_STREQ("[additem(\"p\",\"\",\"\",0)]", out);
}

TEST(DdeCommands, CommandOfExactlyTheBufferSizeMinusOneFits) {
    // The characters that the group command puts around the name.
    const std::size_t frame = std::string("[creategroup(\"\", \"0\")]").size();
    std::string group(dde::kCommandSize - 1 - frame, 'g');
    Formatted full = CreateGroup(group, false);
    EXPECT_TRUE(full.fits);
    EXPECT_EQ(dde::kCommandSize - 1, full.text.size());

    Formatted over = CreateGroup(group + "g", false);
    EXPECT_FALSE(over.fits);
    EXPECT_EQ("", over.text);
}

TEST(DdeCommands, CommandThatDoesNotFitLeavesAnEmptyBuffer) {
    std::string longPath = "C:\\" + std::string(300, 'p');
    Formatted item = AddItem("name", longPath, "icon");
    EXPECT_FALSE(item.fits);
    EXPECT_EQ("", item.text);

    // A small buffer is never written past, even where every argument is short.
    std::string guarded(16, 'X');
    EXPECT_FALSE(dde::FormatAddItem("n", "c", "i", &guarded[0], 8));
    EXPECT_EQ('\0', guarded[0]);
    EXPECT_EQ(std::string(8, 'X'), guarded.substr(8));

    EXPECT_FALSE(dde::FormatCreateGroup("g", false, nullptr, 10));
    char one[1] = {'X'};
    EXPECT_FALSE(dde::FormatCreateGroup("", false, one, 0));
    EXPECT_EQ('X', one[0]);
}

} // namespace
