// The rules that walk paths and names, in the four double-byte code pages of Windows:
// names that begin, end or are cut inside a character whose second byte is a backslash,
// a bracket or an ASCII letter.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "integration/browser_rules.h"
#include "integration/shortcut_rules.h"
#include "platform/bounded_text.h"
#include "platform/inifile.h"
#include "setup/copy_plan.h"
#include "setup/install_rules.h"
#include "setup/rules.h"

namespace {

struct Page {
    const char* name;
    const chars::CodePage& page;
    char lead; // the first byte of every character below
    // 949 (UHC) has no character with a second byte 0x5C or 0x5D: its second bytes are
    // 0x41-0x5A, 0x61-0x7A and 0x81-0xFE.
    bool separatorSecondBytes;
};
// Second bytes 5C 5D 41 43 6E 70:
const Page kPages[] = {
    {"932", chars::kJapanese, '\x83', true},           // ソ ゾ ア イ ハ パ
    {"936", chars::kSimplifiedChinese, '\x81', true},  // 乗 乚 丄 丆 乶 乸
    {"949", chars::kKorean, '\x81', false},            // -  -  갂 갅 걆 걈
    {"950", chars::kTraditionalChinese, '\xA5', true}, // 功 包 丕 丘 叩 叼
};

struct Row {
    std::string actual;
    std::string expected;
};

// The buffer a rule leaves, starting from `text`.
template <class Rule> std::string InBuffer(const std::string& text, Rule rule) {
    char buffer[300] = {};
    text.copy(buffer, sizeof buffer - 1);
    rule(buffer, sizeof buffer);
    return buffer;
}
// `call` on the buffer b of n bytes.
#define IN_BUFFER(text, call) InBuffer(text, [&](char* b, std::size_t n) { (void)n, call; })

// prefs.js as the proxy step rewrites it.
std::string Rewritten(const std::string& prefs, const chars::CodePage& page) {
    std::FILE* in = std::tmpfile();
    std::FILE* out = std::tmpfile();
    std::fputs(prefs.c_str(), in);
    std::rewind(in);
    browser::RewritePrefsFile(in, out, page);
    std::rewind(out);
    char text[512] = {};
    text[std::fread(text, 1, sizeof text - 1, out)] = '\0';
    std::fclose(in);
    std::fclose(out);
    return text;
}

template <std::size_t N> void ExpectRows(const Page& page, const Row (&rows)[N]) {
    for (std::size_t i = 0; i < N; ++i)
        EXPECT_EQ(rows[i].expected, rows[i].actual) << "code page " << page.name << ", row " << i;
}

} // namespace

TEST(DoubleByteNames, ASecondByte0x5CIsNoBackslash) {
    for (const Page& p : kPages) {
        if (!p.separatorSecondBytes)
            continue;
        const chars::CodePage& cp = p.page;
        const std::string X = {p.lead, '\\'};
        const Row rows[] = {
            // Bounded text and paths.
            {IN_BUFFER("c:\\d" + X, bounded::EnsureTrailingBackslash(b, n, cp)),
             "c:\\d" + X + "\\"},
            {IN_BUFFER(X, bounded::StripTrailingBackslash(b, cp)), X},
            {[&] {
                 std::string s = X + "\\";
                 bounded::StripTrailingBackslash(s, cp);
                 return s;
             }(),
             X},
            {bounded::JoinPath("c:\\" + X, "docs", cp), "c:\\" + X + "\\docs"},
            {IN_BUFFER("c:\\" + X, bounded::AppendName(b, n, (X + "\\" + X).c_str(), cp)),
             "c:\\" + X + "\\" + X + "\\" + X},
            {IN_BUFFER("SOFTWARE", bounded::AppendKeyName(b, n, ("\\" + X + "\\").c_str(), cp)),
             "SOFTWARE\\" + X},
            {bounded::StaysBelow((X + "..").c_str(), cp) ? "below" : "out", "below"},
            {IN_BUFFER("", bounded::CopyCut(b, 4, ("ab" + X).c_str(), cp)), "ab"},
            {IN_BUFFER("", bounded::CopyCut(b, 2, (X + "c").c_str(), cp)), ""},
            // The engine's destination and settings paths.
            {IN_BUFFER("",
                       rules::MakeSourceRoot(("D:\\CD" + X + "\\_RED40\\BIN").c_str(), b, n, cp)),
             "d:\\cd" + X},
            {IN_BUFFER("", rules::MakeSourceRoot(("D:\\" + X + "_RED40\\BIN").c_str(), b, n, cp)),
             "d:\\" + X + "_red40\\bin"},
            {IN_BUFFER("", rules::MakeSourceRoot(("D:\\A" + X).c_str(), b, 6, cp)), "d:\\a"},
            {IN_BUFFER("a" + X, rules::StripDriveRootBackslash(b, n, cp)), "a" + X},
            {IN_BUFFER("", rules::BuildSettingsPath(("c:\\" + X).c_str(), true, b, n, cp)),
             "c:\\" + X + "\\publish\\search.ini"},
            {IN_BUFFER("", copy_plan::TreeName(("\\" + X + "\\").c_str(), b, n, cp)), "\\" + X},
            // The application key, the shortcuts and the Program Manager cuts.
            {IN_BUFFER("", shortcuts::BuildApplicationKey("SOFTWARE\\", false, X.c_str(),
                                                          (X + "\\").c_str(), nullptr, b, n, cp)),
             "SOFTWARE\\" + X + "\\" + X},
            {IN_BUFFER("",
                       shortcuts::BuildShortcutPath("c:\\P", X.c_str(), "", X.c_str(), b, n, cp)),
             "c:\\P\\" + X + "\\" + X + ".lnk"},
            {IN_BUFFER("", shortcuts::BuildLinkPath(("c:\\" + X).c_str(), "Uninstall ", X.c_str(),
                                                    b, n, cp)),
             "c:\\" + X + "\\Uninstall " + X + ".lnk"},
            {IN_BUFFER(std::string(29, 'a') + X,
                       shortcuts::CutToLength(b, shortcuts::kGroupNameLimit, cp)),
             std::string(29, 'a')},
            {IN_BUFFER(X + std::string(39, 'a'),
                       shortcuts::CutToLength(b, shortcuts::kItemNameLimit, cp)),
             X + std::string(38, 'a')},
            // The browser paths.
            {browser::DirectoryFromAppPath("C:\\IE" + X + "\\iexplore.exe", cp), "C:\\IE" + X},
            {browser::DirectoryFromAppPath(X + "\\iexplore.exe", cp), X},
            {browser::DirectoryFromLocalServer("C:\\IE" + X, cp), "C:"},
            {browser::DirectoryFromCacheFolder("C:\\IE" + X + "\\CACHE" + X + "\\", cp),
             "C:\\IE" + X},
            {browser::DirectoryFromSignupViewer("C:\\IE" + X + "isignup.exe %1", cp),
             "C:\\IE" + X + "isignup.exe %1"},
            {browser::Netscape6ProgramPath("C:\\NS" + X, cp), "C:\\NS" + X + "\\netscp6.exe"},
            {browser::NavigatorProgramFolder("C:\\NS" + X, cp), "C:\\NS" + X + "\\program"},
        };
        ExpectRows(p, rows);
    }
}

TEST(DoubleByteNames, ASecondByteThatIsALetterOrLooksLikeALeadByte) {
    for (const Page& p : kPages) {
        const chars::CodePage& cp = p.page;
        const std::string A = {p.lead, 'A'}, C = {p.lead, 'C'}, N = {p.lead, 'n'},
                          P = {p.lead, 'p'};
        // A second byte that could be a lead byte: ャ, 亖, 걖, 孕.
        const std::string LL = {p.lead, p.lead};
        const Row rows[] = {
            {IN_BUFFER("", rules::MakeSourceRoot(("D:\\" + A + "X").c_str(), b, n, cp)),
             "d:\\" + A + "x"},
            {rules::EqualsNoCase(A.c_str(), std::string{p.lead, 'a'}.c_str(), cp) ? "equal"
                                                                                  : "apart",
             "apart"},
            {rules::EqualsNoCase(("X" + A).c_str(), ("x" + A).c_str(), cp) ? "equal" : "apart",
             "equal"},
            {EndsWithNoCase(("C:\\" + P + "rogram").c_str(), "program", cp) ? "ends" : "not",
             "not"},
            {browser::CommunicatorProgramFolder(P + "PROGRAM", cp), P + "PROGRAM"},
            {browser::PluginFolderFromProgramPath("C:\\" + N + "etscape.exe", cp), ""},
            {Rewritten("x" + N + "etwork.proxy.no_proxies_on\"\n", cp),
             "x" + N + "etwork.proxy.no_proxies_on\"\n" + browser::kNoProxiesLine},
            {browser::NavigatorProgramFolder("C:\\" + C + "ommunicator", cp),
             "C:\\" + C + "ommunicator\\program"},
            // Only a walk from the start tells the last character, never a look back.
            {IN_BUFFER("c:\\" + LL + "\\", bounded::StripTrailingBackslash(b, cp)), "c:\\" + LL},
        };
        ExpectRows(p, rows);
    }
}

TEST(DoubleByteNames, IniNamesAndHeadersAreCharacters) {
    for (const Page& p : kPages) {
        SCOPED_TRACE(p.name);
        const std::string A = {p.lead, 'A'}, a = {p.lead, 'a'}, Z = {p.lead, ']'};
        // Two keys that differ only in a second byte are two keys.
        const std::string text = "[" + A + "]\r\n" + A + "=upper\r\n" + a + "=lower\r\n";
        inifile::IniFile* ini = nullptr;
        ASSERT_EQ(inifile::kOk, inifile::IniFile::LoadFromMemory(text.data(), text.size(), "", &ini,
                                                                 nullptr, p.page));
        const char* value = nullptr;
        EXPECT_EQ(inifile::kOk, ini->Find(A.c_str(), a.c_str(), &value));
        EXPECT_STREQ("lower", value);
        EXPECT_EQ(inifile::kNoSection, ini->Find(a.c_str(), A.c_str(), &value));
        // A section name ending in a lead byte would swallow its header's bracket.
        EXPECT_EQ(inifile::kSyntaxError,
                  ini->Set(("s" + std::string(1, p.lead)).c_str(), "k", "v"));
        inifile::IniFile::Release(ini);
        if (!p.separatorSecondBytes)
            continue;
        // "[s" + lead + "]": the bracket is the second byte of a character.
        const std::string broken = "[s" + Z + "\r\n", whole = "[" + Z + "]\r\nk=v\r\n";
        EXPECT_EQ(inifile::kSyntaxError,
                  inifile::IniFile::LoadFromMemory(broken.data(), broken.size(), "", &ini, nullptr,
                                                   p.page));
        ASSERT_EQ(inifile::kOk, inifile::IniFile::LoadFromMemory(whole.data(), whole.size(), "",
                                                                 &ini, nullptr, p.page));
        EXPECT_EQ(inifile::kOk, ini->Find(Z.c_str(), "k", &value));
        inifile::IniFile::Release(ini);
    }
}
