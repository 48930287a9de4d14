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
    const char* name;
    // Questions and messages in order (see AnswerUntilExit). In each list, "text*"
    // matches a text that begins with "text", "*text" one that ends with it.
    std::vector<std::string> asked;
    std::vector<std::string> addedToDriveC; // the new names at C:\, sorted
    std::vector<std::string> addedKeys;     // the new subkeys of HKCU\SOFTWARE
    std::vector<std::string> launches;      // programs started, in order
    Run run;
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
const char kServer[] = "Tarnx\\2.0.0\\Primary\\Server";

// Every key the run reads holds a hostile value, in lines the settings store still loads
// (under 2,048 bytes). Each kind comes twice: files left on the CD (the names reach the
// browser, key and shortcut steps) and copied (the tree names reach the copy, which stops
// at the first failure); forceInstall decides.
// Values longer than the setup's buffers (paths and texts 261 bytes), and a group that
// fits its buffer but no path below Programs.
Cd Overlong(const std::string& forceInstall) {
    const std::string n1900(1900, 'N');
    return Cd().Set("CurrentEnv", "cLiEnTcD").Set("DefaultInstall", "c:\\" + n1900)
        .Set("MultiCD", n1900).Set("ApplicationGroup", std::string(250, 'G'))
        .Set("ApplicationName", "A" + n1900).Set("LicenseFile", "L" + n1900)
        .Set("Browser", "B" + n1900).Set("_default", "\\" + n1900)
        .Set(kServer, "TemplateDir", "\\T" + n1900).Set("forceInstall", forceInstall);
}
// Quotes, brackets, percent signs and non-ASCII bytes. On Windows NT 3.51 the group's
// quote would close its field in the Program Manager command and run the rest as
// commands of their own, here deleting the group "V".
Cd Odd(const std::string& forceInstall) {
    return Cd().Set("DefaultInstall", "c:\\" + kOddFolder).Set("MultiCD", "%s[n]\"\xC3\x84")
        .Set("ApplicationGroup", "x\")][deletegroup(\"V\")][x(\" %s \xC3\x84")
        .Set("ApplicationName", kOddName)
        .Set("LicenseFile", "missing %s%n [1] \"q\" \xC3\x84.txt")
        .Set("Browser", "C:\\Br\"ow[s]er %s \xC3\x84\\x.exe")
        .Set("_default", "\\da\"ta %s%n [1] \xC3\x84")
        .Set(kServer, "TemplateDir", "\\te\"mp %d [2] \xC3\x96").Set("forceInstall", forceInstall);
}
// Every name climbs out of the place it belongs to.
Cd Escape(const std::string& forceInstall) {
    return Cd().Set("DefaultInstall", "c:\\lumora\\" + kUp + "\\Escaped").Set("MultiCD", kUp)
        .Set("ApplicationGroup", kUp + "\\Escaped").Set("ApplicationName", kUp + "\\Escaped\\app")
        .Set("LicenseFile", kUp + "\\windows\\win.ini").Set("Browser", kUp + "\\windows\\notepad.exe")
        .Set("_default", "\\..\\..\\data").Set(kServer, "TemplateDir", "\\..\\..\\" + kUp + "\\templates")
        .Set("forceInstall", forceInstall);
}
// Binary bytes in every value of a file that loads: a publisher's CD (its workspace's
// settings too), and a client CD whose program files stay on it.
Cd Binary(const char* settings, bool workspace) {
    Cd cd;
    cd.File("search.ini", settings).File("_red40/bin/search.ini", settings);
    return workspace ? cd.File("publish/search.ini", settings) : cd;
}

// clang-format off
const std::vector<HostileRow>& Rows() {
    static const std::vector<HostileRow> rows = {
        // The over-long default is no default; a name longer than its buffer reads as
        // empty; a group that fits its buffer but no path makes neither key nor shortcut;
        // the source path of the tree is cut to the copy's 261 bytes.
        {"OverlongOnCd", {kLongName + kAgreement, kDestination + "]", kBrowserTitle},
         {}, {}, {kCdProgram}, {kWin2000, Overlong(std::string(1900, 'N'))}},
        {"OverlongCopy",
         {kLongName + kAgreement, kDestination + "]", kCopyFrom + std::string(257, 'N')},
         {"common", "common20", "forms", "key.tbl", "plugins"}, {}, {},
         {kWin2000, Overlong("y" + std::string(1900, 'N'))}},
        // Shown as written: nothing is taken as a format, and no group is made.
        {"OddOnCd", {kOddName + kAgreement, kDestination + kOddFolder + "]", kBrowserTitle},
         {kOddFolder}, {"x\")][deletegroup(\"V\")][x(\" %s \xC3\x84"}, {kCdProgram},
         {kNt351, Odd("n\"[%s]\xC3\x84")}},
        {"OddCopy",
         {kOddName + kAgreement, kDestination + kOddFolder + "]",
          kCopyFrom + "da\"ta %s%n [1] \xC3\x84"},
         {kOddFolder}, {}, {}, {kWineOwn, Odd("y\"[%s]\xC3\x84")}},
        // The destination is the user's to choose; the trees and shortcuts stay inside;
        // ".." is a plain key name in the registry.
        {"EscapeOnCd",
         {kUp + "\\Escaped\\app" + kAgreement, kDestination + "lumora\\" + kUp + "\\Escaped]",
          kBrowserTitle},
         {"Escaped", "lumora"}, {".."}, {kCdProgram}, {kWin2000, Escape(kUp)}},
        {"EscapeCopy",
         {kUp + "\\Escaped\\app" + kAgreement, kDestination + "lumora\\" + kUp + "\\Escaped]",
          kCopyFrom + "..\\..\\data"},
         {"Escaped", "lumora"}, {}, {}, {kWin2000, Escape("y\\" + kUp)}},
        // Binary bytes: a publisher's CD, whose agreement is named in binary, and a client
        // CD whose destination folder and application key are named in high bytes.
        {"Binary", {"*" + kAgreement, kDestination + "nodra30]", kCopyFrom + "*"},
         {"nodra30"}, {}, {}, {kWineOwn, Binary("search-binary.ini", true)}},
        {"BinaryOnCd", {"*" + kAgreement, kDestination + "*", kBrowserTitle}, {"*"}, {"*"},
         {kCdProgram}, {kWin2000, Binary("search-binary-client.ini", false)}},
    };
    return rows;
}
// clang-format on

const bool kRowsHaveRuns = [] {
    for (const HostileRow& row : Rows())
        Runs(std::string("Rows/HostileCd.AnsweredToTheEnd/") + row.name, {row.run});
    return true;
}();

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
    std::vector<WindowInfo> messageBoxes;
    ASSERT_TRUE(AnswerUntilExit(setup, 3 * kTimeoutMs, &asked, &messageBoxes))
        << "setup.exe did not end";
    ExpectCleanExit(setup);

    ExpectMatching(row.asked, asked, "asked");
    for (const WindowInfo& box : messageBoxes) // their texts are the row's
        ExpectMessageBox(box, kAppTitle, nullptr, {IDOK});
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
