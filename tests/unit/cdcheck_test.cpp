// cdcheck over the sample CDs and over broken copies of them, by running the built tool.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#if !defined(_WIN32)
#include <sys/wait.h>
#endif

#include "tests/unit/ini_test_files.h"

using ini_test::ScratchDir;
using ini_test::WriteBytes;

namespace {

namespace fs = std::filesystem;

struct Outcome {
    int code;
    std::string out;
};

Outcome Cdcheck(const ScratchDir& dir, const std::string& arguments) {
    const std::string out = dir.File("cdcheck-out.txt");
    std::string command =
        ini_test::HostPath(LUMORA_CDCHECK) + " " + arguments + " >\"" + out + "\" 2>&1";
    int status = std::system(command.c_str());
#if !defined(_WIN32)
    status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
#endif
    return {status, ini_test::ReadBytes(out)};
}

// A writable copy of a sample CD ("client" or "publisher") to break.
class CdCopy {
public:
    CdCopy(const ScratchDir& dir, const char* kind) : root_(dir.File(kind)) {
        fs::copy(ini_test::HostPath(std::string(LUMORA_CDCHECK_CDS) + "/" + kind), root_,
                 fs::copy_options::recursive);
    }
    std::string Path(const std::string& relative) const {
        return (fs::path(root_) / relative).string();
    }
    void Write(const std::string& relative, const std::string& text) const {
        fs::create_directories(fs::path(Path(relative)).parent_path());
        WriteBytes(Path(relative), text);
    }
    void Remove(const std::string& relative) const { fs::remove_all(Path(relative)); }
    std::string Quoted() const { return "\"" + root_ + "\""; }

private:
    std::string root_;
};

bool Has(const Outcome& run, const std::string& text) {
    return run.out.find(text) != std::string::npos;
}

const char kClientIni[] = "[IS\\SearchApp\\Common]\n"
                          "CurrentEnv = ClientCD\n"
                          "ApplicationGroup = Lumora Sample\n"
                          "ApplicationName = Lumora Sample Search\n";

} // namespace

TEST(Cdcheck, SampleCdsAreCleanAndSayWhichEnvironment) {
    ScratchDir dir;
    for (const char* kind : {"client", "publisher"}) {
        const std::string cd = ini_test::HostPath(std::string(LUMORA_CDCHECK_CDS) + "/" + kind);
        Outcome run = Cdcheck(dir, "\"" + cd + "\"");
        EXPECT_EQ(0, run.code) << run.out;
        EXPECT_TRUE(Has(run, std::string("search.ini:3: note: ") + kind + " environment"))
            << run.out;
        EXPECT_EQ("", Cdcheck(dir, "--quiet \"" + cd + "\"").out);
    }
    EXPECT_EQ(64, Cdcheck(dir, "").code);
    EXPECT_EQ(64, Cdcheck(dir, "--frobnicate " + dir.Path()).code);
    EXPECT_EQ(64, Cdcheck(dir, dir.File("no-such-cd")).code);
}

TEST(Cdcheck, SettingsThatDoNotLoad) {
    ScratchDir dir;
    // A client CD whose settings break turns into a publisher's installation.
    CdCopy client(dir, "client");
    client.Write("search.ini", std::string(kClientIni) + "[Tarnx\\2.0.0\\Primary\\Server\n");
    Outcome run = Cdcheck(dir, client.Quoted());
    EXPECT_EQ(2, run.code);
    EXPECT_TRUE(Has(run, "search.ini:5: error: header without ']'")) << run.out;
    EXPECT_TRUE(Has(run, "note: publisher environment: the settings do not load")) << run.out;

    // The publisher's own settings matter on a publisher CD only.
    CdCopy publisher(dir, "publisher");
    publisher.Write("publish/search.ini", "[IS\\SearchApp\\Common]\nLicenseFile agree.txt\n");
    run = Cdcheck(dir, publisher.Quoted());
    EXPECT_EQ(2, run.code);
    EXPECT_TRUE(Has(run, "search.ini:2: error: no '=' in line")) << run.out;
    client.Write("search.ini", kClientIni);
    client.Write("publish/search.ini", "broken\n");
    EXPECT_EQ(1, Cdcheck(dir, client.Quoted()).code);
}

TEST(Cdcheck, MissingFilesAndFolders) {
    ScratchDir dir;
    CdCopy cd(dir, "client");
    cd.Remove("_ssol26/bin");
    Outcome run = Cdcheck(dir, cd.Quoted());
    EXPECT_EQ(1, run.code);
    EXPECT_TRUE(Has(run, "warning: platform folder without \"bin\"")) << run.out;
    EXPECT_TRUE(Has(run, "\"Could not copy _solaris/\"")) << run.out;

    cd.Remove("setup.exe");
    cd.Remove("_red40/bin/install.dll");
    run = Cdcheck(dir, cd.Quoted());
    EXPECT_EQ(2, run.code);
    EXPECT_TRUE(Has(run, "setup.exe: error: missing")) << run.out;
    EXPECT_TRUE(Has(run, "install.dll: error: missing: no Start-menu shortcuts")) << run.out;

    cd.Remove("_red40/bin");
    cd.Remove("search.ini");
    run = Cdcheck(dir, cd.Quoted());
    EXPECT_TRUE(Has(run, "bin: error: missing folder")) << run.out;
    EXPECT_TRUE(Has(run, "search.ini: error: missing")) << run.out;
    // Without settings the CD installs as a publisher's, which needs its workspace.
    cd.Remove("publish");
    EXPECT_TRUE(Has(Cdcheck(dir, cd.Quoted()), "publish: error: missing folder"));
}

TEST(Cdcheck, NamesMatchWithoutRegardToCase) {
    ScratchDir dir;
    CdCopy cd(dir, "publisher");
    fs::rename(cd.Path("_red40"), cd.Path("_RED40"));
    fs::rename(cd.Path("_RED40/bin/install.dll"), cd.Path("_RED40/bin/INSTALL.DLL"));
    fs::rename(cd.Path("publish"), cd.Path("Publish"));
    Outcome run = Cdcheck(dir, cd.Quoted());
    EXPECT_EQ(0, run.code) << run.out;
}

TEST(Cdcheck, ValuesThatNameNothingOrDoNotFit) {
    ScratchDir dir;
    CdCopy cd(dir, "client");
    const std::string common = std::string(kClientIni);
    cd.Write("search.ini", common + "LicenseFile = terms.txt\n");
    Outcome run = Cdcheck(dir, cd.Quoted());
    EXPECT_EQ(2, run.code);
    EXPECT_TRUE(Has(run, "search.ini:5: error: LicenseFile \"terms.txt\" names no file"))
        << run.out;
    cd.Write("_red40/bin/terms.txt", "found beside the setup\n");
    EXPECT_EQ(0, Cdcheck(dir, cd.Quoted()).code);

    cd.Write("search.ini", common + "Browser = MSIE 4\n");
    run = Cdcheck(dir, cd.Quoted());
    EXPECT_EQ(1, run.code);
    EXPECT_TRUE(Has(run, "meant \"msie4\"")) << run.out;
    cd.Write("search.ini", common + "Browser = c:\\tools\\viewer.exe\n");
    run = Cdcheck(dir, cd.Quoted());
    EXPECT_EQ(1, run.code);
    EXPECT_TRUE(Has(run, "which only that machine can confirm")) << run.out;

    cd.Write("search.ini", common + "_default = data\n[Tarnx\\2.0.0\\Primary\\Server]\n"
                                    "TemplateDir = \\nowhere\n");
    run = Cdcheck(dir, cd.Quoted());
    EXPECT_EQ(2, run.code);
    EXPECT_TRUE(Has(run, "search.ini:5: error: _default \"data\" does not begin with a backslash"))
        << run.out;
    EXPECT_TRUE(Has(run, "search.ini:7: error: TemplateDir \"\\nowhere\" names no folder"))
        << run.out;

    cd.Write("search.ini",
             common + "forceInstall = true\nDefaultInstall = c:\\" + std::string(270, 'd') + "\n");
    run = Cdcheck(dir, cd.Quoted());
    EXPECT_EQ(2, run.code);
    EXPECT_TRUE(Has(run, "forceInstall \"true\" counts as no")) << run.out;
    EXPECT_TRUE(Has(run, "DefaultInstall has 273 characters, more than the destination field"))
        << run.out;
}

TEST(Cdcheck, PathsTooLongAtTheDefaultDestination) {
    ScratchDir dir;
    CdCopy cd(dir, "client");
    // A long destination rather than a deep tree: the test's own paths stay short.
    const std::string destination = "c:\\" + std::string(200, 'd');
    cd.Write("search.ini",
             std::string(kClientIni) + "MultiCD = Y\nDefaultInstall = " + destination + "\n");
    cd.Write("docs/" + std::string(60, 'x') + ".htm", "deep\n");
    Outcome run = Cdcheck(dir, cd.Quoted());
    EXPECT_EQ(1, run.code) << run.out;
    EXPECT_TRUE(Has(run, "warning: 273 characters at the default destination")) << run.out;

    cd.Write("_red40/bin/" + std::string(60, 'x') + ".dll", "deep\n");
    run = Cdcheck(dir, cd.Quoted());
    EXPECT_EQ(2, run.code);
    EXPECT_TRUE(Has(run, "\"Could not copy _red40/\"")) << run.out;

    // With the files left on the CD nothing is copied, and no path grows.
    cd.Write("search.ini", std::string(kClientIni) + "DefaultInstall = " + destination + "\n");
    EXPECT_EQ(0, Cdcheck(dir, cd.Quoted()).code);
}

TEST(Cdcheck, PublisherCdsAndTheirWorkspace) {
    ScratchDir dir;
    CdCopy cd(dir, "publisher");
    // The agreement of a publisher's CD is named in the workspace's settings only.
    std::string root = ini_test::ReadBytes(cd.Path("search.ini"));
    const std::string header = "[IS\\SearchApp\\Common]\r\n";
    std::string named = root;
    named.insert(named.find(header) + header.size(), "LicenseFile = agree.txt\r\n");
    cd.Write("search.ini", named);
    cd.Write("agree.txt", "terms\n");
    Outcome run = Cdcheck(dir, cd.Quoted());
    EXPECT_EQ(1, run.code);
    EXPECT_TRUE(Has(run, "LicenseFile is not read in the publisher environment")) << run.out;
    cd.Write("search.ini", root);
    cd.Write("publish/search.ini", "[IS\\SearchApp\\Common]\nLicenseFile = AGREE.TXT\n");
    EXPECT_EQ(0, Cdcheck(dir, cd.Quoted()).code);

    // The destination dialog always offers Solaris, which needs its tree and script.
    cd.Remove("search");
    run = Cdcheck(dir, cd.Quoted());
    EXPECT_EQ(1, run.code);
    EXPECT_TRUE(Has(run, "ticking \"Solaris Platform\" stops the installation")) << run.out;
    cd.Remove("_ssol26");
    run = Cdcheck(dir, cd.Quoted());
    EXPECT_TRUE(Has(run, "missing, but the destination dialog offers \"Solaris Platform\""))
        << run.out;
}

TEST(Cdcheck, SettingsThatMisleadTheSetup) {
    ScratchDir dir;
    CdCopy cd(dir, "client");
    // An installed copy's settings pressed onto a CD: only ClientCD means a client.
    cd.Write("search.ini", "[IS\\SearchApp\\Common]\nCurrentEnv = ClientHD\n"
                           "ApplicationName = Sample\x01Search\n_default = \\..\\data\n");
    Outcome run = Cdcheck(dir, cd.Quoted());
    EXPECT_EQ(2, run.code);
    EXPECT_TRUE(Has(run, "search.ini:2: warning: CurrentEnv \"ClientHD\" installs as a publisher"))
        << run.out;
    EXPECT_TRUE(Has(run, "ApplicationName \"Sample\\x01Search\" holds a character")) << run.out;
    EXPECT_TRUE(Has(run, "_default \"\\..\\data\" leads out of the destination")) << run.out;

    // A browser program that comes with the CD is found from the setup's folder.
    cd.Write("search.ini", std::string(kClientIni) + "Browser = ..\\viewer\\view.exe\n");
    cd.Write("_red40/viewer/view.exe", "program\n");
    run = Cdcheck(dir, cd.Quoted());
    EXPECT_EQ(0, run.code) << run.out;
    EXPECT_TRUE(Has(run, "is the browser program on the CD")) << run.out;
}

TEST(Cdcheck, HostileCdsAreReportedNotFollowed) {
    ScratchDir dir;
    CdCopy cd(dir, "client");
    // Values far beyond every buffer of the setup, with bytes a terminal would act on.
    cd.Write("search.ini", std::string(kClientIni) + "MultiCD = y\nBrowser = \x1b[2J" +
                               std::string(1500, 'b') + "\n_default = \\" + std::string(600, 'd') +
                               "\nLicenseFile = " + std::string(2000, 'l') + "\n");
    Outcome run = Cdcheck(dir, cd.Quoted());
    EXPECT_EQ(2, run.code);
    EXPECT_TRUE(Has(run, "Browser \"\\x1b[2Jbbb")) << run.out;
    EXPECT_EQ(std::string::npos, run.out.find('\x1b'));
    EXPECT_TRUE(Has(run, "_default has 601 characters, more than a path holds")) << run.out;
    EXPECT_TRUE(Has(run, "LicenseFile has 2000 characters")) << run.out;

    cd.Write("search.ini",
             std::string(kClientIni) + "ApplicationName = " + std::string(2100, 'n') + "\n");
    run = Cdcheck(dir, cd.Quoted());
    EXPECT_EQ(2, run.code);
    EXPECT_TRUE(Has(run, "search.ini:5: error: line longer than 2047 bytes")) << run.out;

#if !defined(_WIN32)
    // A link back up the tree: the walk ends where the paths grow too long to copy.
    cd.Write("search.ini", std::string(kClientIni) + "MultiCD = y\n");
    fs::create_directory_symlink("..", cd.Path("docs/again"));
    run = Cdcheck(dir, cd.Quoted());
    EXPECT_EQ(1, run.code);
    EXPECT_TRUE(Has(run, "more than the 255 the setup copies")) << run.out;
#endif
}
