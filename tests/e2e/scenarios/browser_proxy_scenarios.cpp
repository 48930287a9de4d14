// 127.0.0.1 in the chosen browser's proxy bypass list: Internet Explorer's list when it
// already holds the address, and Communicator's prefs.js in its three shapes.
#include <gtest/gtest.h>

#include "tools/guidriver/machine_state.h"
#include "tests/e2e/scenarios/browser_fixtures.h"

using namespace guidriver;
using namespace browserfixture;

// CD: Browser = msie.
TEST(BrowserProxy, AListHoldingTheAddressIsLeftAlone) {
    ASSERT_TRUE(SetRegistryString(HKEY_CURRENT_USER, kInternetSettings, "ProxyOverride",
                                  "127.0.0.10;intranet"));
    RunSetupWithoutQuestions();
    EXPECT_EQ("127.0.0.10;intranet",
              RegistryString(HKEY_CURRENT_USER, kInternetSettings, "ProxyOverride"));
}

namespace {

// CD: Browser = communicator. Runs the setup on a prefs.js of this content.
std::string RewrittenPrefs(const std::string& prefs) {
    EXPECT_TRUE(InstallCommunicator());
    EXPECT_TRUE(MakeFile(CommunicatorPrefs(), prefs));
    RunSetupWithoutQuestions();
    EXPECT_EQ("communicator", InstalledBrowserSetting());
    return ReadTextFile(CommunicatorPrefs());
}

const char kHeader[] = "// Netscape User Preferences\r\n"
                       "user_pref(\"network.proxy.http\", \"proxy\");\r\n";
const char kTrailer[] = "user_pref(\"network.proxy.type\", 1);\r\n";

} // namespace

TEST(BrowserProxy, CommunicatorPreferenceGetsTheAddressInItsValue) {
    std::string before = std::string(kHeader) +
                         "user_pref(\"network.proxy.no_proxies_on\", \"intranet\");\r\n" + kTrailer;
    EXPECT_EQ(std::string(kHeader) +
                  "user_pref(\"network.proxy.no_proxies_on\", \"intranet,127.0.0.1\");\r\n" +
                  kTrailer,
              RewrittenPrefs(before));
}

TEST(BrowserProxy, CommunicatorEmptyPreferenceGetsTheAddressAlone) {
    std::string before =
        std::string(kHeader) + "user_pref(\"network.proxy.no_proxies_on\", \"\");\r\n" + kTrailer;
    EXPECT_EQ(std::string(kHeader) +
                  "user_pref(\"network.proxy.no_proxies_on\", \"127.0.0.1\");\r\n" + kTrailer,
              RewrittenPrefs(before));
}

TEST(BrowserProxy, CommunicatorWithoutThePreferenceGetsItsLineAtTheEnd) {
    std::string before = std::string(kHeader) + kTrailer;
    EXPECT_EQ(before + "user_pref(\"network.proxy.no_proxies_on\", \"127.0.0.1\");",
              RewrittenPrefs(before));
}

// CD: Browser = msie. A list far longer than a path keeps every entry.
TEST(BrowserProxy, ALongListIsKeptWhole) {
    std::string list;
    for (int i = 0; list.size() < 600; ++i)
        list += "host" + std::to_string(i) + ".intranet.example;";
    list += "*.local";
    ASSERT_TRUE(SetRegistryString(HKEY_CURRENT_USER, kInternetSettings, "ProxyOverride", list));
    RunSetupWithoutQuestions();
    EXPECT_EQ("127.0.0.1;" + list,
              RegistryString(HKEY_CURRENT_USER, kInternetSettings, "ProxyOverride"));
}
