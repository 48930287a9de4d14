// The INI store itself: parsing, lookups, edits, the exact bytes it writes, and its
// behaviour on hostile input and exhausted memory.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <tuple>
#include <utility>

#include "platform/ini_pool.h"
#include "platform/inifile.h"
#include "tests/unit/ini_test_files.h"

using ini_test::Dump;
using ini_test::ReadBytes;
using ini_test::ScratchDir;
using ini_test::WriteBytes;
using inifile::IniFile;

namespace {

// Owns a store for the length of a test.
struct Store {
    IniFile* ini = nullptr;
    inifile::LoadDiagnostic diag;
    int result = 0;

    explicit Store(const std::string& text, const std::string& fileName = "unused.ini") {
        result = IniFile::LoadFromMemory(text.data(), text.size(), fileName.c_str(), &ini, &diag);
    }
    ~Store() { IniFile::Release(ini); }
    IniFile* operator->() const { return ini; }

    std::string Get(const char* section, const char* key, int expected = inifile::kOk) const {
        const char* value = nullptr;
        EXPECT_EQ(expected, ini->Find(section, key, &value)) << section << "/" << key;
        return value ? value : "<none>";
    }
};

} // namespace

TEST(IniFileParse, LinesTrimmingCommentsAndContinuations) {
    Store s("; leading comment\rlead = 1\n\n \t \r\n  [ Main Section ]  \r\n"
            ".dropped after a header\nPath =  c:\\x \t\n.  second piece\n\n.third\n"
            "# hash comment\n.dropped after a comment\n=empty key\nempty value=\n"
            "a=b=c ; not a comment\n[]\nx=1");
    ASSERT_EQ(inifile::kOk, s.result);
    EXPECT_EQ("[<leading>]\ncomment:; leading comment\nlead=1\n[ Main Section ]\n"
              "Path=c:\\x|  second piece|third\ncomment:# hash comment\n=empty key\n"
              "empty value=\na=b=c ; not a comment\n[]\nx=1\n",
              Dump(*s.ini));
}

// Stored strings are zero-terminated: a NUL ends a line's text before it is trimmed,
// so that a rewrite reads back the same.
TEST(IniFileParse, NulByteEndsTheLineText) {
    const char text[] = "# c \0hidden\n[s \0]\nk=v \0x\n\0\n";
    Store s(std::string(text, sizeof text - 1));
    // "[s " has lost its bracket: a syntax error like any other unclosed header.
    EXPECT_EQ(inifile::kSyntaxError, s.result);
    const char fine[] = "# c \0hidden\n[s]\nk=v \0x\n\0 no equals\n";
    Store t(std::string(fine, sizeof fine - 1));
    ASSERT_EQ(inifile::kOk, t.result);
    EXPECT_EQ("[<leading>]\ncomment:# c\n[s]\nk=v\n", Dump(*t.ini));
}

TEST(IniFileParse, SyntaxErrorsRefuseTheWholeFile) {
    const std::tuple<std::string, int, const char*> cases[] = {
        // text, line, reason
        {"[a]\nk=v\nno equals here\n", 3, "no '=' in line"},
        {"k=v\r\n[unclosed\r\n", 2, "header without ']'"},
        {"[closed] trailing\n", 1, "header without ']'"},
        {"[", 1, "header without ']'"},
        // A byte-order mark hides the bracket: the line becomes a pair without '='.
        {"\xEF\xBB\xBF[Common]\nk=v\n", 1, "no '=' in line"},
        // A line holds at most 2047 bytes, trailing blanks included (cut after the check).
        {"[a]\nk=" + std::string(2046, 'v') + "\r\nz=1\n", 2, "line longer than 2047 bytes"},
        {"[a]\nk=v" + std::string(2045, ' ') + "\nz=1\n", 2, "line longer than 2047 bytes"},
    };
    for (const auto& [text, line, reason] : cases) {
        Store s(text);
        EXPECT_EQ(inifile::kSyntaxError, s.result) << text;
        EXPECT_EQ(nullptr, s.ini);
        EXPECT_EQ(line, s.diag.line) << text;
        EXPECT_STREQ(reason, s.diag.reason);
    }
    EXPECT_EQ(inifile::kOk, Store("[a]\nk=" + std::string(2045, 'v') + "\r\nz=1\n").result);
}

TEST(IniFileLookup, CaseInsensitiveFirstMatchAndResultCodes) {
    Store s("top=leading\n"
            "[Common]\nSourceDrive=d:\nDup=first\nDup=second\n"
            "[COMMON]\nOther=in the second section\n"
            "[Last]\ntop=last\n");
    ASSERT_EQ(inifile::kOk, s.result);
    EXPECT_EQ("d:", s.Get("common", "SOURCEDRIVE"));
    EXPECT_EQ("first", s.Get("Common", "dup"));
    // Only the first section of a name is searched.
    EXPECT_EQ("<none>", s.Get("common", "Other", inifile::kNoKey));
    EXPECT_EQ("<none>", s.Get("Missing", "x", inifile::kNoSection));
    // The leading section has no name, not even the empty one.
    EXPECT_EQ("<none>", s.Get("", "top", inifile::kNoSection));
    // A null section searches every section in file order, the leading one first.
    EXPECT_EQ("leading", s.Get(nullptr, "TOP"));
    EXPECT_EQ("in the second section", s.Get(nullptr, "other"));
    EXPECT_EQ("<none>", s.Get(nullptr, "nowhere", inifile::kNoKey));

    const char* key = nullptr;
    const char* value = nullptr;
    EXPECT_EQ(inifile::kOk, s->EntryAt("LAST", 0, &key, &value));
    EXPECT_STREQ("top", key);
    EXPECT_EQ(inifile::kNoKey, s->EntryAt("Last", 1, &key, &value));
    EXPECT_EQ(inifile::kNoKey, s->EntryAt("Last", -1, &key, &value));
    EXPECT_EQ(inifile::kNoSection, s->EntryAt("Nope", 0, &key, &value));
}

TEST(IniFileEdit, SetChangesOnlyWhatDiffers) {
    Store s("[Common]\nName=Value\n");
    ASSERT_EQ(inifile::kOk, s.result);
    EXPECT_FALSE(s->Changed());
    // Equal apart from letter case: nothing changes, the stored case stays.
    EXPECT_EQ(inifile::kOk, s->Set("COMMON", "name", "VALUE"));
    EXPECT_FALSE(s->Changed());
    EXPECT_EQ("Value", s.Get("Common", "Name"));

    EXPECT_EQ(inifile::kOk, s->Set("Common", "Name", "other"));
    EXPECT_TRUE(s->Changed());
    EXPECT_EQ("other", s.Get("Common", "Name"));
    // A null value stores an empty one; a new key exists even when empty.
    EXPECT_EQ(inifile::kOk, s->Set("New", "Empty", nullptr));
    EXPECT_EQ("", s.Get("new", "empty"));
    EXPECT_EQ(inifile::kNoSection, s->Set(nullptr, "k", "v"));
}

TEST(IniFileEdit, SetRefusesWhatCouldNotBeReadBack) {
    Store s("[a]\nk=v\n");
    ASSERT_EQ(inifile::kOk, s.result);
    const char* const refused[][3] = {
        {"a", "k", "lone\nLF"},    {"a", "k", "lone\rCR"},  {"a", "k", "\n"},
        {"a", "new\r\nkey", "v"},  {"se\nction", "k", "v"}, {"a", " [looks like", "v"},
        {"a", "\t[a header", "v"},
    }; // section, key, value
    for (const auto& c : refused)
        EXPECT_EQ(inifile::kSyntaxError, s->Set(c[0], c[1], c[2]))
            << "taken, though it would not read back: [" << c[0] << "] " << c[1] << "=" << c[2];
    EXPECT_FALSE(s->Changed());
    EXPECT_EQ("[<leading>]\n[a]\nk=v\n", Dump(*s.ini));
    EXPECT_EQ(inifile::kOk, s->Set("a", "multi", "one\r\ntwo\r\n"));
}

// Every line a set value makes must hold at most 2047 bytes: the key's line with its key
// and separator, each further piece with its continuation dot, a new section's header
// with its brackets. At the limit the value is taken and the saved file loads again with
// it; one byte more is refused and changes nothing.
TEST(IniFileEdit, LinesOfASetValueAtTheLengthLimit) {
    const struct Case {
        const char* rule;
        const char* key;
        const char* before; // the value: before, the long run of bytes, after
        std::size_t longest;
        const char* after;
        bool runIsSection; // the long run is a new section's name instead
    } cases[] = {
        {"\"n=\" and the value", "n", "", 2045, "", false},
        {"\"k = \" (the separator as read) and the value", "k", "", 2043, "", false},
        {"a continuation's dot and its piece", "k", "one\r\n", 2046, "", false},
        {"a third piece's dot and the piece", "k", "one\r\ntwo\r\n", 2046, "\r\nz", false},
        {"a new section's brackets and name", "k", "v", 2045, "", true},
    };
    ScratchDir dir;
    const std::string file = dir.File("limit.ini");
    for (const Case& c : cases) {
        for (std::size_t over : {0, 1}) {
            const std::string run(c.longest + over, 'x');
            const std::string section = c.runIsSection ? run : "a";
            const std::string value = c.runIsSection ? c.before : c.before + run + c.after;
            Store s("[a]\nk = 1\n", file);
            ASSERT_EQ(inifile::kOk, s.result);
            const int result = s->Set(section.c_str(), c.key, value.c_str());
            if (over) {
                EXPECT_EQ(inifile::kSyntaxError, result)
                    << "a line of 2048 bytes taken: " << c.rule;
                EXPECT_FALSE(s->Changed()) << c.rule;
                continue;
            }
            ASSERT_EQ(inifile::kOk, result) << "a line of 2047 bytes refused: " << c.rule;
            ASSERT_EQ(inifile::kOk, s->Save());
            Store again(ReadBytes(file));
            EXPECT_EQ(inifile::kOk, again.result)
                << "the saved file does not load: " << c.rule << "; line " << again.diag.line
                << ": " << again.diag.reason;
            if (again.ini) {
                EXPECT_TRUE(value == again.Get(section.c_str(), c.key))
                    << "the value read back differs: " << c.rule;
            }
        }
    }
}

TEST(IniFileEdit, RemoveUncoversLaterDuplicatesAndKeepsComments) {
    Store s("[s]\n;c1\nk=1\nk=2\n[t]\nx=1\n[S]\nk=3\n");
    ASSERT_EQ(inifile::kOk, s.result);
    EXPECT_EQ(inifile::kOk, s->RemoveKey("S", "K"));
    EXPECT_TRUE(s->Changed());
    EXPECT_EQ("2", s.Get("s", "k"));
    EXPECT_EQ(inifile::kOk, s->RemoveKey("s", "k"));
    EXPECT_EQ(inifile::kNoKey, s->RemoveKey("s", "k"));
    EXPECT_EQ(inifile::kNoSection, s->RemoveKey("none", "k"));
    // The section's last entry went: new keys must still land at its end.
    EXPECT_EQ(inifile::kOk, s->Set("s", "new", "v"));
    EXPECT_EQ(inifile::kOk, s->RemoveSection("s"));
    EXPECT_EQ("3", s.Get("s", "k"));
    EXPECT_EQ(inifile::kOk, s->RemoveSection("s"));
    EXPECT_EQ(inifile::kNoSection, s->RemoveSection("s"));
    // The last section went: a new section must still be appended after [t].
    EXPECT_EQ(inifile::kOk, s->Set("u", "y", "2"));
    EXPECT_EQ("[<leading>]\n[t]\nx=1\n[u]\ny=2\n", Dump(*s.ini));

    Store unchanged("[s]\nk=1\n");
    EXPECT_EQ(inifile::kNoKey, unchanged->RemoveKey("s", "other"));
    EXPECT_EQ(inifile::kNoSection, unchanged->RemoveSection("other"));
    EXPECT_FALSE(unchanged->Changed());
}

TEST(IniFileSave, WritesTheExactBytes) {
    ScratchDir dir;
    const std::string file = dir.File("exact.ini");
    Store s("[Common]\nPath = c:\\x\n\nMulti=one\n.  two\n# trailing comment\n"
            "[Common]\nPath=second section stays\n",
            file);
    EXPECT_EQ(inifile::kOk, s->Set("common", "Added", "a\r\nb"));
    EXPECT_EQ(inifile::kOk, s->Set("Fresh", "Key", "v"));
    EXPECT_EQ(inifile::kOk, s->Save());
    EXPECT_FALSE(s->Changed());
    // The leading section, empty, still ends with an empty line.
    EXPECT_EQ("\r\n[Common]\r\nPath = c:\\x\r\nMulti=one\r\n.  two\r\n# trailing comment\r\n"
              "Added=a\r\n.b\r\n\r\n[Common]\r\nPath=second section stays\r\n\r\n"
              "[Fresh]\r\nKey=v\r\n\r\n",
              ReadBytes(file));
}

// A changed pair is written back with its key as stored, its separator byte for byte
// (blanks and tabs around the '=', up to 8 bytes; a longer one as "=") and the new value,
// also after a second change, which reads the separator from the first change's line.
TEST(IniFileSave, AChangedPairKeepsItsKeyAndSeparatorBytes) {
    const std::pair<const char*, const char*> cases[] = {
        // as read, as written
        {"CurrentEnv = ClientCD", "CurrentEnv = ClientHD"},
        {"CurrentEnv=ClientCD", "CurrentEnv=ClientHD"},
        {"CURRENTENV\t=\tClientCD", "CURRENTENV\t=\tClientHD"},
        {"CurrentEnv \t=  ClientCD", "CurrentEnv \t=  ClientHD"},
        {"CurrentEnv=\t ClientCD", "CurrentEnv=\t ClientHD"},
        {"CurrentEnv    =   ClientCD", "CurrentEnv    =   ClientHD"},
        {"CurrentEnv    =    ClientCD", "CurrentEnv=ClientHD"},
    };
    ScratchDir dir;
    const std::string file = dir.File("search.ini");
    for (const auto& [read, written] : cases) {
        for (const char* firstChange : {"ClientHD", "x"}) {
            Store s(std::string("[Common]\r\n") + read + "\r\nSourceDrive = d:\r\n", file);
            ASSERT_EQ(inifile::kOk, s.result);
            ASSERT_EQ(inifile::kOk, s->Set("COMMON", "currentenv", firstChange));
            ASSERT_EQ(inifile::kOk, s->Set("common", "CurrentEnv", "ClientHD"));
            ASSERT_EQ(inifile::kOk, s->Save());
            EXPECT_EQ(std::string("\r\n[Common]\r\n") + written + "\r\nSourceDrive = d:\r\n\r\n",
                      ReadBytes(file))
                << "a changed line keeps its key as stored and its separator bytes: \"" << read
                << "\"";
        }
    }
}

TEST(IniFileSave, UnchangedStoreTouchesNothingAndFailedOpenReportsIt) {
    ScratchDir dir;
    const std::string file = dir.File("untouched.ini");
    Store unchanged("[a]\nk=v\n", file);
    WriteBytes(file, "changed behind the store's back\n");
    EXPECT_EQ(inifile::kOk, unchanged->Set("A", "K", "V"));
    EXPECT_EQ(inifile::kOk, unchanged->Save());
    EXPECT_EQ("changed behind the store's back\n", ReadBytes(file));

    // A folder of that name cannot be opened for writing.
    Store s("[a]\nk=v\n", dir.Path());
    EXPECT_EQ(inifile::kOk, s->Set("a", "k", "new"));
    EXPECT_EQ(inifile::kCannotWrite, s->Save());
    EXPECT_FALSE(s->Changed()); // cleared when saving starts, even if the write then fails
}

TEST(IniFileLoad, OpenModesAndMissingFiles) {
    ScratchDir dir;
    IniFile* ini = nullptr;
    const std::string missing = dir.File("missing.ini");
    EXPECT_EQ(inifile::kCannotOpen,
              IniFile::Load(missing.c_str(), inifile::OpenMode::ReadOnly, &ini));
    EXPECT_FALSE(std::filesystem::exists(missing));
    ASSERT_EQ(inifile::kOk,
              IniFile::Load(missing.c_str(), inifile::OpenMode::CreateReadWrite, &ini));
    EXPECT_TRUE(std::filesystem::exists(missing));
    EXPECT_EQ("[<leading>]\n", Dump(*ini));
    IniFile::Release(ini);
    EXPECT_EQ(inifile::kCannotOpen, IniFile::Load(dir.File("no/such/dir.ini").c_str(),
                                                  inifile::OpenMode::CreateReadWrite, &ini));
    EXPECT_EQ(nullptr, ini);
}

// Every allocation of a load or an edit may fail: the result code says so and nothing
// leaks (the sanitizer build checks the latter).
TEST(IniFileMemory, ExhaustedPoolGivesOutOfMemoryCodes) {
    std::string text = "; c\nlead=1\n";
    for (int i = 0; i < 300; ++i)
        text += "[s" + std::to_string(i) + "]\nkey=" + std::string(100, 'v') + "\n.more\n";
    int refused = 0;
    for (std::size_t budget = 0; budget < 200000; budget += 997) {
        inifile::Pool::SetChunkBudgetForTesting(budget);
        Store s(text);
        if (s.result == inifile::kOk)
            break;
        EXPECT_EQ(inifile::kNoMemory, s.result);
        ++refused;
    }
    inifile::Pool::SetChunkBudgetForTesting(SIZE_MAX);
    EXPECT_GT(refused, 3);

    // Edits fill the chunk in hand, then find no new one.
    Store s("[a]\nk=v\n");
    inifile::Pool::SetChunkBudgetForTesting(0);
    const std::string big(2000, 'x');
    int result = inifile::kOk;
    for (int i = 0; i < 100 && result == inifile::kOk; ++i)
        result = s->Set("a", "k", (big + std::to_string(i)).c_str());
    inifile::Pool::SetChunkBudgetForTesting(SIZE_MAX);
    EXPECT_EQ(inifile::kSetNoMemory, result);
    EXPECT_EQ(big.substr(0, 10), s.Get("a", "k").substr(0, 10));
}
