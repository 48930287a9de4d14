// CRegistry on the Win32s platform: Wine reports platform 0 for this program because
// run-in-rig.sh sets its per-program Windows version to "win31" before it runs.
// Strings then live in the fallback INI file, with the key path as section; DWORDs
// still go to the registry.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "platform/registry.h"
#include "tests/wine/wine_test_kit.h"

using namespace wine_test;

namespace {

constexpr char kInternetSettings[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Internet "
                                     "Settings";

std::string WindowsIni() {
    char windows[MAX_PATH + 1] = "";
    ::GetWindowsDirectoryA(windows, sizeof windows);
    return std::string(windows) + "\\search.ini";
}

TEST(Win32sPlatform, LocalIniIsChosenOnceAndStaysRelative) {
    ScratchDir first;
    ScratchDir second;
    WriteBytes(first / "search.ini", "; CD settings\r\n");
    ::SetCurrentDirectoryA(first.Path().c_str());
    CRegistry registry;

    ::SetCurrentDirectoryA(second.Path().c_str());
    ASSERT_EQ(1, registry.SetString(HKEY_CURRENT_USER, kInternetSettings, "ProxyOverride",
                                    "127.0.0.1", KEY_ALL_ACCESS));
    EXPECT_EQ("; CD settings\r\n", ReadBytes(first / "search.ini"));
    const std::string written = ReadBytes(second / "search.ini");
    EXPECT_NE(std::string::npos, written.find(std::string("[") + kInternetSettings + "]\r\n"));
    EXPECT_NE(std::string::npos, written.find("ProxyOverride=127.0.0.1\r\n"));

    // The root key plays no part: what HKEY_CURRENT_USER wrote, HKEY_LOCAL_MACHINE reads.
    char out[16] = "";
    ASSERT_EQ(1, registry.GetString(HKEY_LOCAL_MACHINE, kInternetSettings, "proxyoverride", out,
                                    sizeof out, KEY_READ));
    EXPECT_STREQ("127.0.0.1", out);
    char tiny[4] = "abc";
    EXPECT_EQ(0, registry.GetString(HKEY_LOCAL_MACHINE, kInternetSettings, "ProxyOverride", tiny,
                                    sizeof tiny, KEY_READ));
    EXPECT_STREQ("abc", tiny);
}

TEST(Win32sPlatform, WindowsDirectoryIniWhenNoneIsBesideTheProgram) {
    const std::string ini = WindowsIni();
    ASSERT_FALSE(Exists(ini)) << "left over from an earlier run: " << ini;
    ScratchDir dir;
    ::SetCurrentDirectoryA(dir.Path().c_str());
    CRegistry registry;

    char out[16] = "keep";
    EXPECT_EQ(0,
              registry.GetString(HKEY_CURRENT_USER, "Software\\X", "v", out, sizeof out, KEY_READ));
    EXPECT_FALSE(Exists(ini)); // reading never creates the fallback file
    const bool written =
        registry.SetString(HKEY_CURRENT_USER, "Software\\X", "v", "w", KEY_ALL_ACCESS) == 1;
    const std::string text = ReadBytes(ini);
    ::DeleteFileA(ini.c_str());
    EXPECT_TRUE(written);
    EXPECT_NE(std::string::npos, text.find("[Software\\X]\r\nv=w\r\n"));
    EXPECT_FALSE(Exists(dir / "search.ini"));
}

TEST(Win32sPlatform, DWordsStillGoToTheRegistry) {
    const std::string key =
        "Software\\LumoraPlatformTest\\w32s" + std::to_string(::GetCurrentProcessId());
    ScratchDir dir;
    WriteBytes(dir / "search.ini", "");
    ::SetCurrentDirectoryA(dir.Path().c_str());
    CRegistry registry;
    const int result =
        registry.SetDWord(HKEY_CURRENT_USER, key.c_str(), "EnableAutodial", 0, KEY_ALL_ACCESS);
    DWORD value = 1, size = sizeof value;
    const LONG status = ::RegGetValueA(HKEY_CURRENT_USER, key.c_str(), "EnableAutodial",
                                       RRF_RT_REG_DWORD, nullptr, &value, &size);
    ::RegDeleteTreeA(HKEY_CURRENT_USER, key.c_str());
    ::RegDeleteKeyA(HKEY_CURRENT_USER, "Software\\LumoraPlatformTest"); // when empty
    EXPECT_EQ(1, result);
    EXPECT_EQ(ERROR_SUCCESS, status);
    EXPECT_EQ(0u, value);
    EXPECT_EQ("", ReadBytes(dir / "search.ini"));
}

} // namespace
