// cdcheck over the sample CDs and over broken copies of them, by running the built tool.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "tests/unit/ini_test_files.h"
#include "tests/unit/run_shell.h"

using ini_test::ScratchDir;

namespace {

namespace fs = std::filesystem;

std::string SampleCd(const char* kind) {
    return ini_test::HostPath(std::string(LUMORA_CDCHECK_CDS) + "/" + kind);
}

struct Outcome {
    int code;
    std::string out;
};

Outcome Cdcheck(const ScratchDir& dir, const std::string& arguments) {
    const std::string out = dir.File("cdcheck-out.txt");
    std::string command =
        ini_test::HostPath(LUMORA_CDCHECK) + " " + arguments + " >\"" + out + "\" 2>&1";
    return {ini_test::RunShell(command, out), ini_test::ReadBytes(out)};
}

const std::string kClientIni = "[IS\\SearchApp\\Common]\n"
                               "CurrentEnv = ClientCD\n"
                               "ApplicationGroup = Lumora Sample\n"
                               "ApplicationName = Lumora Sample Search\n";
const std::string kServer = "[Tarnx\\2.0.0\\Primary\\Server]\n";

// A copy of a sample CD with files written ("" removes; names in UTF-8) and what cdcheck
// must say.
struct Case {
    const char* kind;
    std::vector<std::pair<std::string, std::string>> files;
    int code;
    std::vector<std::string> said;
};

void Check(const Case& c, const std::string& options = "") {
    ScratchDir dir;
    const fs::path cd = dir.File("cd");
    fs::copy(SampleCd(c.kind), cd, fs::copy_options::recursive);
    for (const auto& [relative, bytes] : c.files) {
        const fs::path path = cd / fs::u8path(relative);
        fs::remove_all(path);
        if (!bytes.empty()) {
            fs::create_directories(path.parent_path());
            std::ofstream(path, std::ios::binary) << bytes;
        }
    }
    Outcome run = Cdcheck(dir, options + " \"" + cd.string() + "\"");
    EXPECT_EQ(c.code, run.code) << run.out;
    for (const std::string& text : c.said)
        EXPECT_NE(std::string::npos, run.out.find(text)) << text << "\n" << run.out;
    // A finding too many fails as one too few: each error or warning is one of those said.
    std::istringstream lines(run.out);
    for (std::string line; std::getline(lines, line);) {
        bool said = line.find(": error: ") == std::string::npos &&
                    line.find(": warning: ") == std::string::npos;
        for (const std::string& text : c.said)
            said = said || line.find(text) != std::string::npos;
        EXPECT_TRUE(said) << "a finding not expected: " << line;
    }
    EXPECT_EQ(std::string::npos, run.out.find('\x1b')) << "control bytes are shown escaped";
}

} // namespace

TEST(Cdcheck, SampleCdsAreCleanAndTheUsageIsChecked) {
    ScratchDir dir;
    for (const char* kind : {"client", "publisher"}) {
        Outcome run = Cdcheck(dir, "\"" + SampleCd(kind) + "\"");
        EXPECT_EQ(0, run.code) << run.out;
        EXPECT_NE(std::string::npos,
                  run.out.find(std::string("search.ini:3: note: ") + kind + " environment"));
        EXPECT_EQ("", Cdcheck(dir, "--quiet \"" + SampleCd(kind) + "\"").out);
    }
    EXPECT_EQ(64, Cdcheck(dir, "").code);
    EXPECT_EQ(64, Cdcheck(dir, "--frobnicate " + dir.Path()).code);
    EXPECT_EQ(64, Cdcheck(dir, dir.File("no-such-cd")).code);
    for (const char* list : {"437", "1252,", "cp932"}) {
        Outcome run = Cdcheck(dir, std::string("--code-pages ") + list + " " + SampleCd("client"));
        EXPECT_EQ(64, run.code) << list;
        EXPECT_NE(std::string::npos, run.out.find("is no ANSI code page of Windows")) << run.out;
    }
}

// Whatever the code pages, a name beyond ASCII is no ISO 9660 name; below a folder so
// reported nothing more.
const std::string kNotIso = "read the ISO 9660 names, which hold ASCII only";

TEST(Cdcheck, NamesTheCodePagesCannotShow) {
    // é is Western (1252), not Japanese (932, by default checked as well).
    Check({"client", {{"docs/café/a.htm", "t"}}, 1,
           {"code page 932 reads this name as \"caf?\"", kNotIso}});
    Check({"client", {{"docs/café/a.htm", "t"}}, 1, {kNotIso}}, "--code-pages 1252");
}

TEST(Cdcheck, NamesBeyondTheWesternCodePage) {
#if defined(_WIN32)
    GTEST_SKIP() << "cdcheck.exe reads a folder's names in its machine's code page, 1252 here";
#endif
    Check({"client", {{"docs/表示.txt", "t"}}, 1,
           {"code page 1252 reads this name as \"??.txt\"", kNotIso}});
    Check({"client", {{"docs/表示.txt", "t"}}, 1, {kNotIso}}, "--code-pages 932");
    // Hangul only in Korean; each character a code page lacks stands as "?".
    Check({"client", {{"docs/한表.txt", "t"}}, 1,
           {"code page 936 reads this name as \"?表.txt\"",
            "code page 950 reads this name as \"?表.txt\"", kNotIso}},
          "--code-pages 936,949,950");
}

TEST(Cdcheck, WhatTheSetupWouldMeetOnBrokenCds) {
    const std::string deep = "DefaultInstall = c:\\" + std::string(200, 'd') + "\n";
    const std::string deepDll = "_red40/bin/" + std::string(60, 'x') + ".dll";
    const std::string common = "[IS\\SearchApp\\Common]\n";
    // clang-format off
    const Case cases[] = {
        // Settings that do not load turn a client CD into a publisher's installation.
        {"client", {{"search.ini", kClientIni + "[Tarnx\\2.0.0\\Primary\\Server\n"}}, 2,
         {"search.ini:5: error: header without ']'", "publisher environment: the settings do"}},
        {"publisher", {{"publish/search.ini", common + "LicenseFile x\n"}}, 2,
         {"search.ini:2: error: no '=' in line"}},
        // Missing files and folders, found without regard to case.
        {"client", {{"_ssol26/bin", ""}}, 1,
         {"platform folder without \"bin\"", "\"Could not copy _solaris/\""}},
        {"client", {{"setup.exe", ""}, {"_red40/bin/install.dll", ""}}, 2,
         {"setup.exe: error: missing", "install.dll: error: missing: no Start-menu shortcuts"}},
        {"publisher", {{"search.ini", ""}, {"publish", ""}, {"_red40/bin", ""}}, 2,
         {"search.ini: error: missing", "publish: error: missing folder", "bin: error: missing"}},
        {"publisher", {{"publish", ""}, {"PUBLISH/Search.INI", common}}, 0, {}},
        {"publisher", {{"search", ""}}, 1, {"ticking \"Solaris Platform\" stops the installation"}},
        {"publisher", {{"_ssol26", ""}}, 1, {"missing, but the destination dialog offers"}},
        // Values that name nothing, or mislead the setup.
        {"client", {{"search.ini", kClientIni + "LicenseFile = terms.txt\n"}}, 2,
         {"search.ini:5: error: LicenseFile \"terms.txt\" names no file"}},
        {"client", {{"search.ini", kClientIni + "LicenseFile = t.txt\n"},
                    {"_red40/bin/t.txt", "t"}}, 0, {}},
        {"publisher", {{"search.ini", common + "LicenseFile = agree.txt\n"}, {"agree.txt", "t"}}, 1,
         {"LicenseFile is not read in the publisher environment"}},
        {"client", {{"search.ini", kClientIni + "Browser = MSIE 4\n"}}, 1, {"meant \"msie4\""}},
        {"client", {{"search.ini", kClientIni + "Browser = c:\\tools\\viewer.exe\n"}}, 1,
         {"which only that machine can confirm"}},
        {"client", {{"search.ini", kClientIni + "Browser = ..\\v\\v.exe\n"},
                    {"_red40/v/v.exe", "p"}}, 0, {"is the browser program on the CD"}},
        {"client", {{"search.ini", kClientIni + "_default = data\n" + kServer +
                                   "TemplateDir = \\no\n"}}, 2,
         {"search.ini:5: error: _default \"data\" does not begin with a backslash",
          "search.ini:7: error: TemplateDir \"\\no\" names no folder"}},
        // Trailing and doubled backslashes name the same trees; a bare one the destination.
        {"client", {{"search.ini", kClientIni + "_default = \\data\\\n" + kServer +
                                   "TemplateDir = \\\\templates\\\\\n"}}, 0, {}},
        {"client", {{"search.ini", kClientIni + "_default = \\\n"}}, 0, {}},
        {"client", {{"search.ini", common + "CurrentEnv = ClientHD\nApplicationName = S\x01S\n"
                                            "_default = \\..\\data\n"}}, 2,
         {"search.ini:2: warning: CurrentEnv \"ClientHD\" installs as a publisher",
          "ApplicationName \"S\\x01S\" holds a character",
          "_default \"\\..\\data\" leads out of the destination"}},
        {"client", {{"search.ini", common + "CurrentEnv = ClientCD\nApplicationGroup = ..\\Up\n"}},
         1, {"ApplicationGroup \"..\\Up\" leads out of the Start menu"}},
        {"client", {{"search.ini", common + "CurrentEnv = ClientCD\nApplicationName = \\Atlas\\Maps\n"}},
         1, {"ApplicationName \"\\Atlas\\Maps\" names a folder inside the group"}},
        // The engine holds a group and a name of 260 characters.
        {"client", {{"search.ini", common + "CurrentEnv = ClientCD\nApplicationGroup = " +
                                   std::string(260, 'g') + "\nApplicationName = " +
                                   std::string(260, 'n') + "\n"}}, 0, {}},
        {"client", {{"search.ini", common + "CurrentEnv = ClientCD\nApplicationGroup = " +
                                   std::string(261, 'g') + "\nApplicationName = " +
                                   std::string(261, 'n') + "\n"}}, 2,
         {"search.ini:3: error: ApplicationGroup has 261 characters, more than the setup holds (260)",
          "search.ini:4: error: ApplicationName has 261 characters, more than the setup holds (260)"}},
        {"client", {{"search.ini", kClientIni + "forceInstall = true\nDefaultInstall = c:\\" +
                                   std::string(270, 'd') + "\n"}}, 2,
         {"forceInstall \"true\" counts as no", "DefaultInstall has 273 characters"}},
        // Paths too long for the copy to the default destination (c:\ddd... of 203
        // characters, then \docs\ and the name): 255 are copied, 256 not; none when the
        // files are left on the CD.
        {"client", {{"search.ini", kClientIni + "MultiCD = Y\n" + deep},
                    {"docs/" + std::string(42, 'x') + ".htm", "d"}}, 0, {}},
        {"client", {{"search.ini", kClientIni + "MultiCD = Y\n" + deep},
                    {"docs/" + std::string(43, 'x') + ".htm", "d"}}, 1,
         {"warning: 256 characters at the default destination"}},
        {"client", {{"search.ini", kClientIni + "MultiCD = Y\n" + deep}, {deepDll, "d"}}, 2,
         {"\"Could not copy _red40/\""}},
        {"client", {{"search.ini", kClientIni + deep}, {deepDll, "d"}}, 0, {}},
        // Values far beyond every buffer, with bytes a terminal would act on.
        {"client", {{"search.ini", kClientIni + "MultiCD = y\nBrowser = \x1b[2J" +
                                   std::string(1500, 'b') + "\n_default = \\" +
                                   std::string(600, 'd') + "\nLicenseFile = " +
                                   std::string(2000, 'l') + "\n"}}, 2,
         {"Browser \"\\x1b[2Jbbb", "_default has 601 characters, more than a path holds",
          "LicenseFile has 2000 characters"}},
        {"client", {{"search.ini", kClientIni + "ApplicationName = " + std::string(2100, 'n')}},
         2, {"search.ini:5: error: line longer than 2047 bytes"}},
    };
    // clang-format on
    for (const Case& c : cases)
        Check(c);
}
