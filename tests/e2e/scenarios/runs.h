// The runs of the scenarios, declared beside their checks: the Windows version Wine
// reports to setup.exe, the language it is sold in, and the CD a run gets (the options of dev/make-sample-cd.sh and
// the rig's drives, see run-scenario.sh). The build asks the scenario program for its
// runs (--list-runs) and makes a CTest entry e2e.NAME of each; run-scenario.sh builds
// the run's CD and starts the program with --run=NAME.
#pragma once

#include <algorithm>
#include <initializer_list>
#include <string>
#include <vector>

namespace scenario {

constexpr char kCommonSection[] = "IS\\SearchApp\\Common";

// A CD variant, option by option.
class Cd {
public:
    Cd& Publisher() { return Add({"--publisher"}); }
    Cd& Writable() { return Add({"--writable"}); }
    Cd& German() { return Add({"--german"}); }
    // Pressed into an ISO image and mounted read-only, as a user's drive reads a CD.
    Cd& Image() { return Add({"--image"}); }
    bool IsImage() const {
        return std::find(options_.begin(), options_.end(), "--image") != options_.end();
    }
    // A value of the root search.ini, set or removed: of "IS\SearchApp\Common" unless a
    // section is given.
    Cd& Set(const std::string& key, const std::string& value) {
        return Set(kCommonSection, key, value);
    }
    Cd& Set(const std::string& section, const std::string& key, const std::string& value) {
        return Add({"--set", section, key, value});
    }
    Cd& Unset(const std::string& key) { return Add({"--unset", kCommonSection, key}); }
    // The root search.ini, or a file at `path` on the CD, from a file of tests/data/cd.
    Cd& Ini(const std::string& dataFile) { return Add({"--ini", dataFile}); }
    Cd& File(const std::string& path, const std::string& data) {
        return Add({"--add", path, data});
    }
    // A file of `bytes` bytes made of `line` repeated.
    Cd& Text(const std::string& path, const std::string& line, long bytes) {
        return Add({"--add-text", path, line, std::to_string(bytes)});
    }
    Cd& Remove(const std::string& path) { return Add({"--remove", path}); }
    // Drives of the run's own (letters E: to Z:).
    Cd& DriveFolder(const char* letter) { return Add({"--drive-folder", letter}); }
    Cd& DriveTmpfs(const char* letter, const char* size) {
        return Add({"--drive-tmpfs", letter, size});
    }
    Cd& DriveReadOnly(const char* letter) { return Add({"--drive-readonly", letter}); }

    const std::vector<std::string>& Options() const { return options_; }

private:
    Cd& Add(std::initializer_list<std::string> options) {
        options_.insert(options_.end(), options);
        return *this;
    }
    std::vector<std::string> options_;
};

// The Windows versions a run can give setup.exe (Wine's names); empty: Wine's own, 6.1.
constexpr char kWin95[] = "win95";   // 4.0, platform 1
constexpr char kNt40[] = "nt40";     // 4.0, platform 2
constexpr char kWin2000[] = "win2k"; // 5.0, platform 2: the first version above 4
constexpr char kNt351[] = "nt351";   // 3.51, platform 2
constexpr char kWin32s[] = "win31";  // 3.10, platform 0 (Win32s)
constexpr char kWineOwn[] = "";

// The build a run starts: a Windows that had no 64-bit edition (3.1, 95, NT 3.51, NT 4.0)
// gets the i686 build, which is what the CD carries, on the rig's 32-bit machine; the
// rest get its x86_64 twin.
const char* ArchitectureFor(const char* windows);

// The languages a run can have, as the locales Wine takes the ANSI code page from (the
// setup and the scenario program both get it); none: the rig's own, code page 1252.
// Their names in a scenario's source are bytes of that code page.
constexpr char kJapanese[] = "ja_JP.UTF-8";           // code page 932, Shift-JIS
constexpr char kTraditionalChinese[] = "zh_TW.UTF-8"; // code page 950, Big5

struct Run {
    const char* windows;
    Cd cd;
    const char* language = nullptr;
};

// The run being run (--run=NAME).
const Run& ThisRun();

// Registers the runs of one test (its full name, "Suite.Name" or, for a row of a table,
// "Rows/Suite.Name/Row"). A run's entry is named after the test (a row by "Suite.Row"),
// with "Image." in front when its CD is an image and its language's in front of that
// ("ja_JP."); two runs of one test differ in those.
struct Runs {
    Runs(const std::string& test, std::vector<Run> runs);
};

} // namespace scenario
