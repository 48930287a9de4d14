// Browser rules: the folders derived from registry and iexplore.ini
// values, the bypass list merge, the prefs.js rewrite and the selection dialog's rows.
#include "integration/browser_rules.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "tests/unit/ini_test_files.h"

using namespace browser;

namespace {

// prefs.js through the proxy step's own rewrite, file to file.
std::string RewritePrefs(const std::string& text) {
    ini_test::ScratchDir dir;
    ini_test::WriteBytes(dir.File("prefs.js"), text);
    std::FILE* prefs = std::fopen(dir.File("prefs.js").c_str(), "rb");
    std::FILE* rewritten = std::fopen(dir.File("rewritten.js").c_str(), "wb");
    EXPECT_TRUE(prefs != nullptr && rewritten != nullptr);
    if (prefs != nullptr && rewritten != nullptr)
        RewritePrefsFile(prefs, rewritten);
    for (std::FILE* file : {prefs, rewritten}) {
        if (file != nullptr)
            std::fclose(file);
    }
    return ini_test::ReadBytes(dir.File("rewritten.js"));
}

const std::string kPref = "user_pref(\"network.proxy.no_proxies_on\", ";
// The line a browser reads when the preference was missing.
const std::string kFixedLine = kPref + "\"127.0.0.1\");";

} // namespace

TEST(BrowserFolders, FromRegistryAndIExploreIniValues) {
    using Rule = std::string (*)(const std::string&, const chars::CodePage&);
    const std::tuple<Rule, const char*, const char*> cases[] = {
        // rule, input, expected
        {DirectoryFromAppPath, "C:\\IE\\iexplore.exe", "C:\\IE"},
        // A backslash in the first place is never taken: the text stays.
        {DirectoryFromAppPath, "\\iexplore.exe", "\\iexplore.exe"},
        {DirectoryFromAppPath, "", ""},
        {DirectoryFromLocalServer, "'C:\\IE\\iexplore.exe -embedding", "C:\\IE"},
        {DirectoryFromCacheFolder, "C:\\IEXPLORE\\CACHE", "C:\\IEXPLORE"},
        {DirectoryFromSignupViewer, "C:\\IE\\other.exe", "C:\\IE\\other.exe"},
        {NavigatorProgramFolder, "C:\\Netscape\\Program", "C:\\Netscape\\Program"},
        {NavigatorProgramFolder, "C:\\ns\\communicator\\Program", "C:\\ns\\navigator\\program"},
        // Only the two spellings count.
        {NavigatorProgramFolder, "C:\\COMMUNICATOR", "C:\\COMMUNICATOR\\program"},
        {CommunicatorProgramFolder, "C:\\NS\\Programs", "C:\\NS\\Programs\\program"},
        {Netscape4ProgramPath, "C:\\NS", "C:\\NS\\program\\netscape.exe"},
        // An empty "Install Directory" is no exception: "\program" is appended all the same.
        {Netscape4ProgramPath, "", "\\program\\netscape.exe"},
        {PluginFolderFromProgramPath, "C:\\Browsers\\NETSCAPE.EXE", ""},
    };
    for (const auto& [rule, input, expected] : cases)
        EXPECT_EQ(expected, rule(input, chars::kSingleByte)) << input;
}

TEST(BypassList, AddressFirstForInternetExplorerLastForNavigatorNeverCut) {
    const std::string longList(300, 'x');
    const std::tuple<std::string, ListOrder, std::string> cases[] = {
        // list, order, merged
        {"intranet;127.0.0.1", ListOrder::AddressFirst, "intranet;127.0.0.1"},
        {"127.0.0.10", ListOrder::AddressLast, "127.0.0.10"},
        {longList, ListOrder::AddressLast, longList + ",127.0.0.1"},
    };
    for (const auto& [list, order, merged] : cases)
        EXPECT_EQ(merged, MergeBypassList(list, order)) << list;
}

TEST(PrefsRewrite, TheAddressGoesIntoTheValueOrAFixedLineIsAppended) {
    // A line reaches the rewrite in pieces of 511 characters.
    const std::string pad(511, ' ');
    const std::pair<std::string, std::string> cases[] = {
        {kPref + "\"\");\n", kPref + "\"127.0.0.1\");\n"},
        // Appended without a line end.
        {"a\nb\n", "a\nb\n" + kFixedLine},
        {"", kFixedLine},
        {kPref + "\"a,127.0.0.1\");\n", kPref + "\"a,127.0.0.1\");\n"},
        // Named without a quote: counted as present, nothing inserted or appended.
        {"network.proxy.no_proxies_on\n", "network.proxy.no_proxies_on\n"},
        // A long line arrives in pieces: the name only in the second one.
        {pad + kPref + "\"x\");\n", pad + kPref + "\"x,127.0.0.1\");\n"},
        // A NUL ends the piece's text; the rest of its line is lost.
        {std::string("a\0b\n", 4) + kPref + "\"\");\n", "a" + kPref + "\"127.0.0.1\");\n"},
    };
    for (const auto& [input, expected] : cases)
        EXPECT_EQ(expected, RewritePrefs(input)) << input;
}

// Five rows of every kind are the browser dialog's end-to-end run's.
TEST(SelectionRows, OtherBrowserAloneTakesTheWholeSpan) {
    BrowserRows other = BuildRows(false, false, 0, true);
    ASSERT_EQ(1, other.rows);
    EXPECT_EQ(-1, DetectedIndexOfRow(other, 0));
    EXPECT_EQ(100, RowsShrink(100, other.rows));
}

TEST(SelectionRows, TooManyCandidatesDropTheLastDetected) {
    BrowserRows rows = BuildRows(true, true, 10, true);
    ASSERT_EQ(11, rows.rows); // the template's eleven radio buttons
    EXPECT_EQ(8, rows.detectedShown);
    EXPECT_EQ(0, rows.codes[0]);
    EXPECT_EQ(1, rows.codes[1]);
    EXPECT_EQ(7, DetectedIndexOfRow(rows, 9));
    EXPECT_EQ(-1, DetectedIndexOfRow(rows, 10));
    EXPECT_EQ(0, RowsShrink(100, rows.rows));
}
