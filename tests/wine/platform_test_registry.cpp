// CRegistry on a registry platform, against Wine's registry: values that do not fit,
// data without a terminator, DWORDs read as strings, and the INI helpers on explicit
// files (which never create a file when only reading).
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "platform/registry.h"
#include "tests/wine/wine_test_kit.h"

using namespace wine_test;

namespace {

class RegistryTest : public ::testing::Test {
protected:
    RegistryTest()
        : key_("Software\\LumoraPlatformTest\\" + std::to_string(::GetCurrentProcessId())) {}
    ~RegistryTest() override {
        ::RegDeleteTreeA(HKEY_CURRENT_USER, key_.c_str());
        ::RegDeleteKeyA(HKEY_CURRENT_USER, "Software\\LumoraPlatformTest"); // when empty
    }

    void SetRaw(const char* name, DWORD type, const void* data, DWORD size) {
        HKEY key = nullptr;
        ASSERT_EQ(ERROR_SUCCESS, ::RegCreateKeyExA(HKEY_CURRENT_USER, key_.c_str(), 0, nullptr, 0,
                                                   KEY_ALL_ACCESS, nullptr, &key, nullptr));
        ::RegSetValueExA(key, name, 0, type, static_cast<const BYTE*>(data), size);
        ::RegCloseKey(key);
    }

    const char* Key() const { return key_.c_str(); }

    std::string key_;
    CRegistry registry;
};

TEST_F(RegistryTest, StringsRoundTripThroughTheRegistryNotTheIniFile) {
    ScratchDir dir;
    WriteBytes(dir / "search.ini", "[x]\r\na=b\r\n");
    ::SetCurrentDirectoryA(dir.Path().c_str());
    CRegistry withLocalIni; // a registry platform ignores the INI file beside it

    ASSERT_EQ(1,
              withLocalIni.SetString(HKEY_CURRENT_USER, Key(), "Path", "c:\\red", KEY_ALL_ACCESS));
    char out[261] = "unchanged";
    ASSERT_EQ(1,
              withLocalIni.GetString(HKEY_CURRENT_USER, Key(), "Path", out, sizeof out, KEY_READ));
    EXPECT_STREQ("c:\\red", out);
    EXPECT_EQ("[x]\r\na=b\r\n", ReadBytes(dir / "search.ini"));

    HKEY key = nullptr;
    ASSERT_EQ(ERROR_SUCCESS, ::RegOpenKeyExA(HKEY_CURRENT_USER, Key(), 0, KEY_READ, &key));
    char keyClass[64] = "";
    DWORD classSize = sizeof keyClass;
    ::RegQueryInfoKeyA(key, keyClass, &classSize, nullptr, nullptr, nullptr, nullptr, nullptr,
                       nullptr, nullptr, nullptr, nullptr);
    ::RegCloseKey(key);
    EXPECT_STREQ("Application Global Data", keyClass);
}

TEST_F(RegistryTest, FailedReadsLeaveTheBufferAsItWas) {
    char out[8] = "keep";
    EXPECT_EQ(0, registry.GetString(HKEY_CURRENT_USER, "Software\\LumoraPlatformTest\\none", "Path",
                                    out, sizeof out, KEY_READ));
    ASSERT_EQ(1, registry.SetString(HKEY_CURRENT_USER, Key(), "Long", "12345678", KEY_ALL_ACCESS));
    EXPECT_EQ(0,
              registry.GetString(HKEY_CURRENT_USER, Key(), "Missing", out, sizeof out, KEY_READ));
    EXPECT_EQ(0, registry.GetString(HKEY_CURRENT_USER, Key(), "Long", out, sizeof out, KEY_READ));
    EXPECT_EQ(0, std::memcmp(out, "keep\0\0\0", sizeof out));

    ASSERT_EQ(1, registry.SetString(HKEY_CURRENT_USER, Key(), "Fits", "1234567", KEY_ALL_ACCESS));
    EXPECT_EQ(1, registry.GetString(HKEY_CURRENT_USER, Key(), "Fits", out, sizeof out, KEY_READ));
    EXPECT_STREQ("1234567", out);
}

TEST_F(RegistryTest, DataWithoutTerminatorIsTerminatedWithinTheBuffer) {
    SetRaw("Bare", REG_SZ, "abcd", 4);
    char exact[5];
    std::memset(exact, 'x', sizeof exact);
    ASSERT_EQ(1,
              registry.GetString(HKEY_CURRENT_USER, Key(), "Bare", exact, sizeof exact, KEY_READ));
    EXPECT_STREQ("abcd", exact);
    char small[4] = "zzz";
    EXPECT_EQ(0,
              registry.GetString(HKEY_CURRENT_USER, Key(), "Bare", small, sizeof small, KEY_READ));
    EXPECT_STREQ("zzz", small);
}

TEST_F(RegistryTest, DWordsAreWrittenAsDWordsAndReadAsBytes) {
    ASSERT_EQ(1, registry.SetDWord(HKEY_CURRENT_USER, Key(), "Number", 0x00434241, KEY_ALL_ACCESS));
    DWORD type = 0, value = 0, size = sizeof value;
    ASSERT_EQ(ERROR_SUCCESS,
              ::RegGetValueA(HKEY_CURRENT_USER, Key(), "Number", RRF_RT_ANY, &type, &value, &size));
    EXPECT_EQ(static_cast<DWORD>(REG_DWORD), type);
    EXPECT_EQ(0x00434241u, value);
    char out[16] = "";
    ASSERT_EQ(1, registry.GetString(HKEY_CURRENT_USER, Key(), "Number", out, sizeof out, KEY_READ));
    EXPECT_STREQ("ABC", out);
}

TEST_F(RegistryTest, IniHelpersCreateOnlyWhenWriting) {
    ScratchDir dir;
    const std::string ini = dir / "other.ini";
    char out[16] = "keep";
    EXPECT_EQ(0, registry.ReadIniString("S", "k", out, sizeof out, ini.c_str()));
    EXPECT_FALSE(Exists(ini));

    ASSERT_EQ(1, registry.WriteIniString("S", "k", "value", ini.c_str()));
    ASSERT_EQ(1, registry.WriteIniString("S", "empty", "", ini.c_str()));
    ASSERT_EQ(1, registry.WriteIniString("S", "long", "0123456789abcdef", ini.c_str()));
    EXPECT_EQ(1, registry.ReadIniString("s", "K", out, sizeof out, ini.c_str()));
    EXPECT_STREQ("value", out);
    EXPECT_EQ(1, registry.ReadIniString("S", "empty", out, sizeof out, ini.c_str()));
    EXPECT_STREQ("value", out); // an empty value leaves `out` as it was
    EXPECT_EQ(0, registry.ReadIniString("S", "long", out, sizeof out, ini.c_str()));
    EXPECT_STREQ("value", out);
    EXPECT_EQ(0, registry.ReadIniString("S", "none", out, sizeof out, ini.c_str()));

    // A file the INI store refuses is neither read nor rewritten.
    WriteBytes(ini, "[S]\r\nno equals sign\r\n");
    EXPECT_EQ(0, registry.ReadIniString("S", "k", out, sizeof out, ini.c_str()));
    EXPECT_EQ(0, registry.WriteIniString("S", "k", "v", ini.c_str()));
    EXPECT_EQ("[S]\r\nno equals sign\r\n", ReadBytes(ini));
}

} // namespace
