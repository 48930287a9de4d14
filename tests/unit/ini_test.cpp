// CIni over real files: when the file is read, created, rewritten or left alone, and how
// results reach the caller's fixed buffers.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "platform/ini.h"
#include "tests/unit/ini_test_files.h"

using ini_test::ReadBytes;
using ini_test::ScratchDir;
using ini_test::WriteBytes;

namespace {

std::string Get(CIni& ini, const char* section, const char* key, int expected = 1) {
    char out[261];
    EXPECT_EQ(expected, ini.GetValue(section, key, out)) << section << "/" << key;
    return out;
}

std::string GetIndexed(CIni& ini, const char* section, const char* key, int index) {
    char out[261] = "not cleared";
    ini.GetValue(section, key, out, sizeof out, index);
    return out;
}

// Each test's own folder and its settings file.
class CIniFiles : public ::testing::Test {
protected:
    ScratchDir dir;
    const std::string file = dir.File("search.ini");
};
using CIniValues = CIniFiles;

} // namespace

// Edits reach the file once, when the object goes (an edit that changes nothing writes
// nothing: the store's own tests).
TEST_F(CIniFiles, WritesBackAtDestruction) {
    const std::string before = "top=1\r\n[Keep]\r\nEmpty=\r\nGone=x\r\n[Drop]\r\n;c\r\na=b\r\n";
    WriteBytes(file, before);
    {
        CIni ini(file.c_str());
        ASSERT_EQ(1, ini.Status());
        EXPECT_EQ("", Get(ini, "Keep", "Empty")); // found, with an empty value
        EXPECT_EQ("", Get(ini, "Keep", "Absent", 0));
        ini.DeleteValue("keep", "gone");
        ini.DeleteSection("DROP");
        EXPECT_EQ(1, ini.SetValue("Added", "Key", nullptr));
        EXPECT_EQ(before, ReadBytes(file)); // nothing before destruction
    }
    EXPECT_EQ("top=1\r\n\r\n[Keep]\r\nEmpty=\r\n\r\n[Added]\r\nKey=\r\n\r\n", ReadBytes(file));
}

// The parser's refusals are the store's tests; here a refused file read and edited.
TEST_F(CIniFiles, MalformedFileHasNoStoreAndIsNeverWritten) {
    const std::string text = "[Common]\nno equals sign\nk=v\n";
    WriteBytes(file, text);
    {
        CIni ini(file.c_str());
        EXPECT_EQ(0, ini.Status());
        EXPECT_EQ("", Get(ini, "Common", "k", 0));
        EXPECT_EQ(0, ini.SetValue("Common", "k", "v"));
        char all[64] = "x";
        EXPECT_EQ(0, ini.GetAllValues("Common", all, sizeof all));
        EXPECT_STREQ("", all);
        ini.DeleteSection("Common");
    }
    EXPECT_EQ(text, ReadBytes(file));
}

TEST_F(CIniFiles, TwoObjectsOnOneFileLastDestroyedWins) {
    {
        CIni first(file.c_str());
        CIni second(file.c_str());
        first.SetValue("s", "who", "first");
        second.SetValue("s", "who", "second");
        EXPECT_EQ("", Get(first, "s", "other", 0));
    }
    CIni ini(file.c_str());
    EXPECT_EQ("first", Get(ini, "s", "who"));
}

TEST_F(CIniValues, IndexedKeysFallBackOnlyForIndexOneAndAllValuesStopAtAComment) {
    WriteBytes(file, "[P]\nItem=plain\nItem(2)=second\nEmpty(1)=\n;stop\nb=2\n[T]\nx=\ny=2 = 3\n");
    CIni ini(file.c_str());
    EXPECT_EQ("plain", GetIndexed(ini, "P", "Item", 0));
    EXPECT_EQ("plain", GetIndexed(ini, "P", "Item", 1)); // no Item(1): the plain key
    EXPECT_EQ("second", GetIndexed(ini, "p", "ITEM", 2));
    EXPECT_EQ("", GetIndexed(ini, "P", "Item", 3));
    EXPECT_EQ("", GetIndexed(ini, "P", "Empty", 1));
    char out[64];
    EXPECT_EQ(3, ini.GetAllValues("p", out, sizeof out));
    EXPECT_STREQ("Item=plain&Item(2)=second&Empty(1)=&", out);
    EXPECT_EQ(2, ini.GetAllValues("T", out, sizeof out));
    EXPECT_STREQ("x=&y=2 = 3&", out);
    EXPECT_EQ(0, ini.GetAllValues("Missing", out, sizeof out));
    EXPECT_STREQ("", out);
    // Longer than the 127-byte name allows: no indexed key, and no truncated one.
    WriteBytes(file, "");
    const std::string longKey(125, 'k');
    CIni other(file.c_str());
    other.SetValue("P", (longKey.substr(0, 124) + "(1").c_str(), "truncated");
    EXPECT_EQ("", GetIndexed(other, "P", longKey.c_str(), 12));
}

// A result fits a buffer of exactly its size with the terminator; one byte less refuses
// it whole, and not one byte lands past the size given (the sanitizer build catches a
// stray write past an allocation; the guard bytes catch it inside one).
TEST_F(CIniValues, ResultsFitExactlyOrAreRefusedWhole) {
    WriteBytes(file, "[S]\nk=12345\n[P]\na=1\nbc=\n");
    CIni ini(file.c_str());
    const struct {
        const char* what;
        int (*read)(CIni&, char*, std::size_t);
        const char* result;
    } cases[] = {
        {"GetValue", [](CIni& i, char* o, std::size_t n) { return i.GetValue("S", "k", o, n); },
         "12345"},
        {"indexed GetValue",
         [](CIni& i, char* o, std::size_t n) {
             i.GetValue("S", "k", o, n, 1);
             return o[0] != '\0' ? 1 : 0;
         },
         "12345"},
        {"GetAllValues", [](CIni& i, char* o, std::size_t n) { return i.GetAllValues("P", o, n); },
         "a=1&bc=&"},
    };
    for (const auto& c : cases) {
        const std::size_t fits = std::strlen(c.result) + 1;
        for (const std::size_t size : {fits, fits - 1}) {
            char buffer[32];
            std::memset(buffer, '#', sizeof buffer);
            const int result = c.read(ini, buffer, size);
            EXPECT_EQ(size == fits ? std::string(c.result) : "",
                      std::string(buffer, strnlen(buffer, sizeof buffer)))
                << c.what << " into " << size << " bytes";
            EXPECT_EQ(size == fits, result != 0) << c.what << " into " << size << " bytes";
            EXPECT_EQ(std::string(sizeof buffer - size, '#'),
                      std::string(buffer + size, sizeof buffer - size))
                << c.what << " wrote past the " << size << " bytes given";
        }
    }
    char none[1] = {'#'};
    EXPECT_EQ(0, ini.GetValue("S", "k", none, std::size_t{0}));
    EXPECT_EQ('#', none[0]) << "GetValue wrote into a buffer of 0 bytes";
    // The exported forms take no size: the caller's buffer holds whatever the store holds.
    WriteBytes(file, "[S]\nlong=" + std::string(2000, 'x') + "\n");
    CIni longValue(file.c_str());
    char big[4096];
    EXPECT_EQ(1, longValue.GetValue("S", "long", big));
    EXPECT_EQ(2000u, std::strlen(big));
}
