// CDs whose settings no publisher should ship: every key the run reads holds a value
// longer than the setup's buffers, quotes, brackets, percent signs, non-ASCII or binary
// bytes, or climbs out with "..". Every question is answered to the end; the setup may
// refuse or fail a step, but it never crashes, never writes outside the places the row
// allows, sends no Program Manager command of the CD's making and starts only what the
// row expects.
#include <gtest/gtest.h>

#include "tests/e2e/scenarios/kit.h"

using namespace guidriver;
using namespace scenario;

namespace {

struct HostileRow {
    const char* name; // the CD variant (see CMakeLists.txt)
    // Questions and messages in order (see AnswerUntilExit). In each list, "text*"
    // matches a text that begins with "text", "*text" one that ends with it.
    std::vector<std::string> asked;
    std::vector<std::string> addedToDriveC; // the new names at C:\, sorted
    std::vector<std::string> addedKeys;     // the new subkeys of HKCU\SOFTWARE
    std::vector<std::string> launches;      // programs started, in order
    const char* windowsVersion = "";        // empty: Wine's own
};

// No agreement file of these names exists: an empty text.
const std::string kAgreement = " : License Agreement [no text]";
const std::string kDestination = std::string(kDestinationTitle) + " [c:\\";
const std::string kLongName = "A" + std::string(1900, 'N');
const std::string kOddName = "Atl%s%n [x] \"q\" \xC3\x84";
const std::string kOddFolder = "odd [1] %s%n \xC3\x84";
const std::string kUp = "..\\..\\..\\..\\..\\..\\..\\..\\..\\..";
const std::string kCdProgram = "d:\\_red40\\bin\\search.exe";
const std::string kCopyFrom = std::string(kCouldNotCopy) + "d:\\";

// clang-format off
const std::vector<HostileRow>& Rows() {
    static const std::vector<HostileRow> rows = {
        // The over-long default is no default; a name longer than its buffer reads as
        // empty; a group that fits its buffer but no path makes neither key nor shortcut;
        // the source path of the tree is cut to the copy's 261 bytes.
        {"OverlongOnCd", {kLongName + kAgreement, kDestination + "]", kBrowserTitle},
         {}, {}, {kCdProgram}},
        {"OverlongCopy",
         {kLongName + kAgreement, kDestination + "]", kCopyFrom + std::string(257, 'N')},
         {"common", "common20", "forms", "key.tbl", "plugins"}, {}, {}},
        // Shown as written: nothing is taken as a format, and no group is made.
        {"OddOnCd", {kOddName + kAgreement, kDestination + kOddFolder + "]", kBrowserTitle},
         {kOddFolder}, {"x\")][deletegroup(\"V\")][x(\" %s \xC3\x84"}, {kCdProgram}, "nt351"},
        {"OddCopy",
         {kOddName + kAgreement, kDestination + kOddFolder + "]",
          kCopyFrom + "da\"ta %s%n [1] \xC3\x84"},
         {kOddFolder}, {}, {}},
        // The destination is the user's to choose; the trees and shortcuts stay inside;
        // ".." is a plain key name in the registry.
        {"EscapeOnCd",
         {kUp + "\\Escaped\\app" + kAgreement, kDestination + "lumora\\" + kUp + "\\Escaped]",
          kBrowserTitle},
         {"Escaped", "lumora"}, {".."}, {kCdProgram}},
        {"EscapeCopy",
         {kUp + "\\Escaped\\app" + kAgreement, kDestination + "lumora\\" + kUp + "\\Escaped]",
          kCopyFrom + "..\\..\\data"},
         {"Escaped", "lumora"}, {}, {}},
        // Binary bytes: a publisher's CD, whose agreement is named in binary, and a client
        // CD whose destination folder and application key are named in high bytes.
        {"Binary", {"*" + kAgreement, kDestination + "nodra30]", kCopyFrom + "*"},
         {"nodra30"}, {}, {}},
        {"BinaryOnCd", {"*" + kAgreement, kDestination + "*", kBrowserTitle}, {"*"}, {"*"},
         {kCdProgram}},
    };
    return rows;
}
// clang-format on

bool Matches(const std::string& expected, const std::string& text) {
    if (!expected.empty() && expected.back() == '*')
        return text.compare(0, expected.size() - 1, expected, 0, expected.size() - 1) == 0;
    if (!expected.empty() && expected.front() == '*')
        return text.size() >= expected.size() - 1 &&
               text.compare(text.size() - (expected.size() - 1), std::string::npos, expected, 1,
                            std::string::npos) == 0;
    return expected == text;
}

void ExpectMatching(const std::vector<std::string>& expected, const std::vector<std::string>& found,
                    const char* what) {
    std::string shown;
    for (const std::string& text : found)
        shown += "\n  " + std::to_string(text.size()) + " bytes: \"" + text.substr(0, 300) + "\"";
    EXPECT_EQ(expected.size(), found.size()) << what << shown;
    for (size_t i = 0; i < expected.size() && i < found.size(); ++i)
        EXPECT_TRUE(Matches(expected[i], found[i])) << what << ": " << expected[i] << shown;
}

class HostileCd : public ::testing::TestWithParam<HostileRow> {};

} // namespace

TEST_P(HostileCd, AnsweredToTheEnd) {
    const HostileRow& row = GetParam();
    if (row.windowsVersion[0] != '\0') {
        ASSERT_TRUE(SetWindowsVersionFor("setup.exe", row.windowsVersion));
    }
    // A group the CD's group name would delete through a Program Manager command.
    const std::string victim = ProgramsFolder() + "\\V";
    ASSERT_TRUE(MakeDirectories(victim));
    const std::vector<std::string> driveC = ListFolder("C:\\");
    const std::vector<std::string> windows = ListFolder(WindowsDirectory());
    const std::vector<std::string> programs = ListTree(ProgramsFolder());
    const std::vector<std::string> keys = RegistrySubkeys(HKEY_CURRENT_USER, "SOFTWARE");

    ChildProcess setup;
    ASSERT_TRUE(StartSetup(setup));
    std::vector<std::string> asked;
    ASSERT_TRUE(AnswerUntilExit(setup, 3 * kTimeoutMs, &asked)) << "setup.exe did not end";
    ExpectCleanExit(setup);

    ExpectMatching(row.asked, asked, "asked");
    const std::vector<std::string> added = Added(driveC, ListFolder("C:\\"));
    ExpectMatching(row.addedToDriveC, added, "added to C:");
    // A shortcut lives only below the Programs folder.
    for (const std::string& name : added) {
        for (const std::string& path : ListTree("C:\\" + name))
            EXPECT_EQ(std::string::npos, path.find(".lnk")) << name << "\\" << path;
    }
    // Windows' own folder gains nothing but the viewer's settings that the plug-in step
    // puts there.
    for (const std::string& name : Added(windows, ListFolder(WindowsDirectory())))
        EXPECT_TRUE(SamePath("vuemark.ini", name)) << name << " appeared in Windows' folder";
    EXPECT_TRUE(DirectoryExists(victim));
    EXPECT_EQ(std::vector<std::string>(), Added(programs, ListTree(ProgramsFolder())));
    ExpectMatching(row.addedKeys, Added(keys, RegistrySubkeys(HKEY_CURRENT_USER, "SOFTWARE")),
                   "added to HKCU\\SOFTWARE");
    ExpectLaunches(row.launches);
}

INSTANTIATE_TEST_SUITE_P(Rows, HostileCd, ::testing::ValuesIn(Rows()),
                         [](const ::testing::TestParamInfo<HostileRow>& row) {
                             return std::string(row.param.name);
                         });
