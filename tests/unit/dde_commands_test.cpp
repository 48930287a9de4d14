// The Program Manager command texts: exact bytes, argument order, and the buffer bound.
#include "dde/dde_commands.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>

namespace {

// Commands are formatted into a path-sized buffer: 260 characters and the terminator.
constexpr std::size_t kCommandBuffer = 261;

// The command, or "<refused>" when it did not fit and the buffer was left empty.
std::string Written(bool fits, const char* out) {
    if (fits)
        return out;
    return out[0] == '\0' ? "<refused>" : "<refused, but wrote " + std::string(out) + ">";
}

std::string CreateGroup(const char* group, bool win32s) {
    char out[kCommandBuffer] = "x";
    return Written(dde::FormatCreateGroup(group, win32s, out, sizeof out), out);
}

std::string AddItem(const char* name, const char* commandLine, const char* iconPath) {
    char out[kCommandBuffer] = "x";
    return Written(dde::FormatAddItem(name, commandLine, iconPath, out, sizeof out), out);
}

TEST(DdeCommands, ExactBytesInTheServersArgumentOrder) {
    // The group's second field is "1" only on Win32s; the item lists the command line
    // before the name. Arguments go as given, without quoting; missing ones are empty.
    const std::pair<std::string, std::string> cases[] = {
        {"[creategroup(\"Search Tools\", \"0\")]", CreateGroup("Search Tools", false)},
        {"[additem(\"C:\\APP\\SEARCH.EXE\",\"My App\",\"c:\\app\\search.ico\",0)]",
         AddItem("My App", "C:\\APP\\SEARCH.EXE", "c:\\app\\search.ico")},
        {"[creategroup(\"a\"b,c)\", \"0\")]", CreateGroup("a\"b,c)", false)},
        {"[creategroup(\"\", \"1\")]", CreateGroup(nullptr, true)},
        {"[additem(\"p\",\"\",\"\",0)]", AddItem(nullptr, "p", nullptr)},
    };
    for (const auto& [expected, written] : cases)
        EXPECT_EQ(expected, written);
}

TEST(DdeCommands, ACommandThatDoesNotFitLeavesAnEmptyBuffer) {
    // The characters that the group command puts around the name.
    const std::size_t frame = std::string("[creategroup(\"\", \"0\")]").size();
    const std::string group(kCommandBuffer - 1 - frame, 'g');
    EXPECT_EQ(kCommandBuffer - 1, CreateGroup(group.c_str(), false).size());
    EXPECT_EQ("<refused>", CreateGroup((group + "g").c_str(), false));
    EXPECT_EQ("<refused>", AddItem("name", ("C:\\" + std::string(300, 'p')).c_str(), "icon"));

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
