// initool's exit codes and output, by running the built tool.
#include <gtest/gtest.h>

#include <string>

#include "tests/unit/ini_test_files.h"
#include "tests/unit/run_shell.h"

using ini_test::ReadBytes;
using ini_test::ScratchDir;
using ini_test::WriteBytes;

namespace {

struct ToolResult {
    int code;
    std::string out;
    std::string err;
};

// Arguments must be free of blanks and quotes: the command goes through the shell.
ToolResult Tool(const ScratchDir& dir, const std::string& arguments) {
    const std::string out = dir.File("stdout.txt");
    const std::string err = dir.File("stderr.txt");
    std::string command =
        ini_test::HostPath(LUMORA_INITOOL) + " " + arguments + " >" + out + " 2>" + err;
    return {ini_test::RunShell(command, err), ReadBytes(out), ReadBytes(err)};
}

} // namespace

TEST(IniTool, ReadingCommands) {
    ScratchDir dir;
    const std::string file = dir.File("s.ini");
    WriteBytes(file, "[Common]\nPath = c:\\x\nEmpty=\nItem=plain\n;c\nafter=1\n");
    EXPECT_EQ(0, Tool(dir, "get " + file + " common PATH").code);
    EXPECT_EQ("c:\\x\n", Tool(dir, "get " + file + " common PATH").out);
    ToolResult empty = Tool(dir, "get " + file + " Common Empty");
    EXPECT_EQ(0, empty.code);
    EXPECT_EQ("\n", empty.out);
    EXPECT_EQ(1, Tool(dir, "get " + file + " Common Absent").code);
    EXPECT_EQ("plain\n", Tool(dir, "get " + file + " Common Item 1").out);
    EXPECT_EQ(1, Tool(dir, "get " + file + " Common Item 2").code);
    ToolResult list = Tool(dir, "list " + file + " common");
    EXPECT_EQ(0, list.code);
    EXPECT_EQ("Path=c:\\x&Empty=&Item=plain&\n", list.out);

    // An empty file holds no settings; it loads like any other.
    const std::string blank = dir.File("empty.ini");
    WriteBytes(blank, "");
    EXPECT_EQ(1, Tool(dir, "get " + blank + " a b").code) << "an empty file taken for no file";
    EXPECT_EQ(0, Tool(dir, "list " + blank + " a").code) << "an empty file taken for no file";

    // Reading a missing file neither succeeds nor creates it.
    const std::string missing = dir.File("missing.ini");
    EXPECT_EQ(2, Tool(dir, "get " + missing + " a b").code);
    EXPECT_EQ(2, Tool(dir, "list " + missing + " a").code);
    EXPECT_EQ(2, Tool(dir, "check " + missing).code);
    EXPECT_FALSE(std::filesystem::exists(missing));
}

TEST(IniTool, EditingCommandsAndRefusedFiles) {
    ScratchDir dir;
    const std::string file = dir.File("s.ini");
    EXPECT_EQ(0, Tool(dir, "set " + file + " New Key value").code); // created when missing
    EXPECT_EQ(0, Tool(dir, "set " + file + " New Other 2").code);
    EXPECT_EQ(0, Tool(dir, "delete " + file + " new key").code);
    EXPECT_EQ("\r\n[New]\r\nOther=2\r\n\r\n", ReadBytes(file));
    EXPECT_EQ(0, Tool(dir, "delete " + file + " NEW").code);
    EXPECT_EQ("\r\n", ReadBytes(file));

    const std::string bad = dir.File("bad.ini");
    WriteBytes(bad, "[ok]\na=1\n[broken\n");
    ToolResult check = Tool(dir, "check " + bad);
    EXPECT_EQ(2, check.code);
    EXPECT_NE(std::string::npos, check.err.find(":3: header without ']'")) << check.err;
    EXPECT_EQ(2, Tool(dir, "set " + bad + " ok a 2").code);
    EXPECT_EQ(2, Tool(dir, "delete " + bad + " ok").code);
    EXPECT_EQ("[ok]\na=1\n[broken\n", ReadBytes(bad));
    EXPECT_EQ(0, Tool(dir, "check " + file).code);

    EXPECT_EQ(64, Tool(dir, "").code);
    EXPECT_EQ(64, Tool(dir, "get " + file + " onlysection").code);
    EXPECT_EQ(64, Tool(dir, "frobnicate " + file).code);
    EXPECT_EQ(64, Tool(dir, "get " + file + " s k notanumber").code);
}

// set rewrites the changed line with its key and separator bytes, and takes a value only
// when every line it makes holds at most 2047 bytes (each kind of line at the limit:
// IniFileEdit.LinesOfASetValueAtTheLengthLimit), so that the file loads again.
TEST(IniTool, SetKeepsTheSeparatorAndTakesLinesUpToTheLimit) {
    ScratchDir dir;
    const std::string file = dir.File("s.ini");
    WriteBytes(file, "[Common]\r\nCurrentEnv = ClientCD\r\nKey\t=\tv\r\n");
    EXPECT_EQ(0, Tool(dir, "set " + file + " common currentenv ClientHD").code);
    EXPECT_EQ("\r\n[Common]\r\nCurrentEnv = ClientHD\r\nKey\t=\tv\r\n\r\n", ReadBytes(file))
        << "a changed line keeps its key and separator bytes: read as \"CurrentEnv = ClientCD\"";

    // "Key\t=\t" takes 6 bytes of the line.
    const std::string fits(2041, 'x');
    EXPECT_EQ(1, Tool(dir, "set " + file + " Common Key " + fits + "y").code)
        << "a line of 2048 bytes taken";
    EXPECT_EQ(0, Tool(dir, "set " + file + " Common Key " + fits).code)
        << "a line of 2047 bytes refused";
    EXPECT_EQ(0, Tool(dir, "check " + file).code) << "the file no longer loads";
    EXPECT_TRUE(Tool(dir, "get " + file + " Common Key").out == fits + "\n")
        << "get does not give the value of 2041 bytes back";
}
