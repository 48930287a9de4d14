// Browser rules: codes and kinds, the folders derived from registry and iexplore.ini
// values, the bypass list merge, the prefs.js rewrite and the selection dialog's rows.
#include "integration/browser_rules.h"

#include <gtest/gtest.h>

#include <string>

using namespace browser;

TEST(EndsWithNoCase, ComparesTheEndIgnoringCase) {
    EXPECT_TRUE(EndsWithNoCase("C:\\Netscape\\Program", "program"));
    EXPECT_TRUE(EndsWithNoCase("PROGRAM", "program"));
    EXPECT_FALSE(EndsWithNoCase("C:\\Netscape\\Programs", "program"));
    // An empty suffix or one longer than the text never matches.
    EXPECT_FALSE(EndsWithNoCase("abc", ""));
    EXPECT_FALSE(EndsWithNoCase("gram", "program"));
    EXPECT_FALSE(EndsWithNoCase(nullptr, "a"));
}

TEST(BrowserCode, NamesAKindInAnyLetterCase) {
    EXPECT_EQ(kCommunicator, KindFromCode("communicator"));
    EXPECT_EQ(kCommunicator, KindFromCode("NetScape4"));
    EXPECT_EQ(kNavigator, KindFromCode("netscape"));
    EXPECT_EQ(kInternetExplorer, KindFromCode("MSIE"));
    EXPECT_EQ(kInternetExplorer, KindFromCode("msie4"));
    EXPECT_EQ(kOther, KindFromCode("C:\\Browsers\\opera.exe"));
    EXPECT_EQ(kOther, KindFromCode("msie5"));
    EXPECT_EQ(kNoKind, KindFromCode(""));
}

TEST(BrowserFolders, InternetExplorerFromAppPathsAndClassRegistration) {
    EXPECT_EQ("C:\\Program Files\\Internet Explorer",
              DirectoryFromAppPath("\"C:\\Program Files\\Internet Explorer\\IEXPLORE.EXE\""));
    EXPECT_EQ("C:\\IE", DirectoryFromAppPath("C:\\IE\\iexplore.exe"));
    // A backslash in the first place is never taken: the text stays.
    EXPECT_EQ("\\iexplore.exe", DirectoryFromAppPath("\\iexplore.exe"));
    EXPECT_EQ("iexplore.exe", DirectoryFromAppPath("iexplore.exe"));
    EXPECT_EQ("", DirectoryFromAppPath(""));

    EXPECT_EQ("C:\\Program Files\\Internet Explorer",
              DirectoryFromLocalServer("\"C:\\Program Files\\Internet Explorer\\iexplore.exe\""));
    EXPECT_EQ("C:\\IE", DirectoryFromLocalServer("'C:\\IE\\iexplore.exe -embedding"));
}

TEST(BrowserFolders, InternetExplorerFromIExploreIni) {
    EXPECT_EQ("C:\\IEXPLORE", DirectoryFromCacheFolder("C:\\IEXPLORE\\CACHE\\"));
    EXPECT_EQ("C:\\IEXPLORE", DirectoryFromCacheFolder("C:\\IEXPLORE\\CACHE"));
    EXPECT_EQ("C:\\IE", DirectoryFromSignupViewer("C:\\IE\\isignup.exe %1"));
    EXPECT_EQ("C:\\IE\\other.exe", DirectoryFromSignupViewer("C:\\IE\\other.exe"));
}

TEST(BrowserFolders, NavigatorProgramFolder) {
    EXPECT_EQ("C:\\Netscape\\Program", NavigatorProgramFolder("C:\\Netscape\\Program"));
    EXPECT_EQ("C:\\Netscape\\program", NavigatorProgramFolder("C:\\Netscape"));
    // Navigator 4 records the Communicator folder: its program is in the sibling folder.
    EXPECT_EQ("C:\\Program Files\\Netscape\\navigator\\program",
              NavigatorProgramFolder("C:\\Program Files\\Netscape\\Communicator"));
    EXPECT_EQ("C:\\ns\\navigator\\program",
              NavigatorProgramFolder("C:\\ns\\communicator\\Program"));
    // Only the two spellings count.
    EXPECT_EQ("C:\\COMMUNICATOR\\program", NavigatorProgramFolder("C:\\COMMUNICATOR"));
    EXPECT_EQ("C:\\Netscape\\Communicator\\Program",
              CommunicatorProgramFolder("C:\\Netscape\\Communicator\\Program"));
}

TEST(BrowserFolders, DetectedInstallationsAndTheirPluginFolders) {
    EXPECT_EQ("C:\\NS\\PROGRAM\\netscape.exe", Netscape4ProgramPath("C:\\NS\\PROGRAM"));
    EXPECT_EQ("C:\\NS\\program\\netscape.exe", Netscape4ProgramPath("C:\\NS"));
    EXPECT_EQ("C:\\Netscape 6\\netscp6.exe", Netscape6ProgramPath("C:\\Netscape 6\\"));
    EXPECT_EQ("C:\\Netscape 6\\netscp6.exe", Netscape6ProgramPath("C:\\Netscape 6"));

    EXPECT_EQ("C:\\Netscape\\Communicator\\Program\\plugins",
              PluginFolderFromProgramPath("C:\\Netscape\\Communicator\\Program\\netscape.exe"));
    EXPECT_EQ("C:\\Netscape 6\\plugins",
              PluginFolderFromProgramPath("C:\\Netscape 6\\netscp6.exe"));
    EXPECT_EQ("", PluginFolderFromProgramPath("C:\\Browsers\\NETSCAPE.EXE"));
}

TEST(BypassList, InternetExplorerPutsTheAddressFirst) {
    EXPECT_EQ("127.0.0.1", MergeBypassList("", ListOrder::AddressFirst));
    EXPECT_EQ("127.0.0.1;intranet;*.local",
              MergeBypassList("intranet;*.local", ListOrder::AddressFirst));
}

TEST(BypassList, NavigatorPutsTheAddressLast) {
    EXPECT_EQ("127.0.0.1", MergeBypassList("", ListOrder::AddressLast));
    EXPECT_EQ("gateway,127.0.0.1", MergeBypassList("gateway", ListOrder::AddressLast));
}

TEST(BypassList, AListHoldingTheAddressStaysAsItIs) {
    EXPECT_EQ("intranet;127.0.0.1", MergeBypassList("intranet;127.0.0.1", ListOrder::AddressFirst));
    EXPECT_EQ("127.0.0.10", MergeBypassList("127.0.0.10", ListOrder::AddressLast));
}

TEST(BypassList, LongListsAreKeptWhole) {
    std::string list(300, 'x');
    std::string merged = MergeBypassList(list, ListOrder::AddressLast);
    EXPECT_EQ(list + ",127.0.0.1", merged);
}

TEST(PrefsRewrite, AddsTheAddressInsideTheQuotedValue) {
    EXPECT_EQ("first\n"
              "user_pref(\"network.proxy.no_proxies_on\", \"intranet,127.0.0.1\");\n"
              "last\n",
              RewritePrefsText("first\n"
                               "user_pref(\"network.proxy.no_proxies_on\", \"intranet\");\n"
                               "last\n"));
}

TEST(PrefsRewrite, AnEmptyValueGetsTheAddressWithoutAComma) {
    EXPECT_EQ("user_pref(\"network.proxy.no_proxies_on\", \"127.0.0.1\");\n",
              RewritePrefsText("user_pref(\"network.proxy.no_proxies_on\", \"\");\n"));
}

TEST(PrefsRewrite, AMissingPreferenceIsAppendedWithoutALineEnd) {
    EXPECT_EQ(std::string("a\nb\n") + kNoProxiesLine, RewritePrefsText("a\nb\n"));
    EXPECT_EQ(kNoProxiesLine, RewritePrefsText(""));
}

TEST(PrefsRewrite, APresentAddressOrALineWithoutQuotesIsLeftAlone) {
    std::string present = "user_pref(\"network.proxy.no_proxies_on\", \"a,127.0.0.1\");\n";
    EXPECT_EQ(present, RewritePrefsText(present));
    // Named without a quote: counted as present, nothing inserted, nothing appended.
    EXPECT_EQ("network.proxy.no_proxies_on\n", RewritePrefsText("network.proxy.no_proxies_on\n"));
}

TEST(PrefsRewrite, LongLinesArriveInPieces) {
    // The preference's name only in the second piece of a long line: that piece is
    // rewritten on its own.
    std::string line = std::string(kPrefsPieceLength, ' ') +
                       "user_pref(\"network.proxy.no_proxies_on\", \"x\");\n";
    EXPECT_EQ(std::string(kPrefsPieceLength, ' ') +
                  "user_pref(\"network.proxy.no_proxies_on\", \"x,127.0.0.1\");\n",
              RewritePrefsText(line));
}

TEST(SelectionRows, FixedRowsDetectedInstallationsAndOther) {
    BrowserRows rows = BuildRows(true, true, 2, true);
    ASSERT_EQ(5, rows.rows);
    EXPECT_EQ((std::vector<int>{0, 1, 2, 2, 2}), std::vector<int>(rows.codes, rows.codes + 5));
    EXPECT_EQ(-1, DetectedIndexOfRow(rows, 0));
    EXPECT_EQ(-1, DetectedIndexOfRow(rows, 1));
    EXPECT_EQ(0, DetectedIndexOfRow(rows, 2));
    EXPECT_EQ(1, DetectedIndexOfRow(rows, 3));
    EXPECT_EQ(-1, DetectedIndexOfRow(rows, 4)); // Other Browser: the edit field's path
    // Six rows fewer than the template: six tenths of the first-to-last span.
    EXPECT_EQ(60, RowsShrink(100, rows.rows));
}

TEST(SelectionRows, OnlyOtherBrowserWhenNothingWasFound) {
    BrowserRows rows = BuildRows(false, false, 0, true);
    ASSERT_EQ(1, rows.rows);
    EXPECT_EQ(kCodeByPath, rows.codes[0]);
    EXPECT_EQ(-1, DetectedIndexOfRow(rows, 0));
    EXPECT_EQ(100, RowsShrink(100, rows.rows));
}

TEST(SelectionRows, TooManyCandidatesDropTheLastDetected) {
    BrowserRows rows = BuildRows(true, true, 10, true);
    ASSERT_EQ(kMaxRows, rows.rows);
    EXPECT_EQ(8, rows.detectedShown);
    EXPECT_EQ(kCodeIE, rows.codes[0]);
    EXPECT_EQ(kCodeNavigator3, rows.codes[1]);
    EXPECT_EQ(7, DetectedIndexOfRow(rows, 9));
    EXPECT_EQ(-1, DetectedIndexOfRow(rows, 10));
    EXPECT_EQ(0, RowsShrink(100, rows.rows));
}
