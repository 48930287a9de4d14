// The registry of runs, and the scenario program's start: --list-runs prints every run
// (its entry name, architecture, locale or "-", and CD options, tab-separated, one run a
// line) after checking that
// every test has runs and every run a test; --run=NAME runs that one run's test with its
// Windows version.
#include "tests/e2e/scenarios/runs.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <map>
#include <set>

#include "tools/guidriver/machine_state.h"

namespace scenario {

namespace {

struct Registered {
    std::string test;
    Run run;
};

// Entry name -> run; filled before main.
std::map<std::string, Registered>& Registry() {
    static std::map<std::string, Registered> registry;
    return registry;
}

// "Rows/HostileCd.AnsweredToTheEnd/OddCopy" -> "HostileCd.OddCopy"; a Japanese run of
// "ClientCd.X" -> "ja_JP.ClientCd.X".
std::string EntryName(const std::string& test, const Run& run) {
    std::string name = test;
    if (name.compare(0, 5, "Rows/") == 0) {
        const size_t dot = name.find('.'), slash = name.rfind('/');
        name = name.substr(5, dot - 5) + "." + name.substr(slash + 1);
    }
    name = (run.cd.IsImage() ? "Image." : "") + name;
    if (run.language != nullptr) {
        const std::string locale = run.language;
        name = locale.substr(0, locale.find('.')) + "." + name;
    }
    return name;
}

const Registered* running = nullptr;

std::set<std::string> TestNames() {
    std::set<std::string> names;
    const ::testing::UnitTest& unit = *::testing::UnitTest::GetInstance();
    for (int i = 0; i < unit.total_test_suite_count(); ++i) {
        const ::testing::TestSuite& suite = *unit.GetTestSuite(i);
        for (int j = 0; j < suite.total_test_count(); ++j)
            names.insert(std::string(suite.name()) + "." + suite.GetTestInfo(j)->name());
    }
    return names;
}

int ListRuns() {
    std::set<std::string> tests = TestNames(), withRuns;
    int status = 0;
    for (const auto& [name, registered] : Registry()) {
        withRuns.insert(registered.test);
        if (tests.count(registered.test) == 0) {
            std::fprintf(stderr, "runs of %s, which is no test\n", registered.test.c_str());
            status = 1;
        }
        std::printf("%s\t%s\t%s", name.c_str(), ArchitectureFor(registered.run.windows),
                    registered.run.language ? registered.run.language : "-");
        for (const std::string& option : registered.run.cd.Options())
            std::printf("\t%s", option.c_str());
        std::printf("\n");
    }
    for (const std::string& test : tests) {
        if (withRuns.count(test) == 0) {
            std::fprintf(stderr, "%s has no runs\n", test.c_str());
            status = 1;
        }
    }
    return status;
}

} // namespace

const Run& ThisRun() {
    if (running == nullptr) {
        std::fprintf(stderr, "no run is being run (--run=NAME)\n");
        std::abort();
    }
    return running->run;
}

const char* ArchitectureFor(const char* windows) {
    for (const char* old : {kWin32s, kWin95, kNt351, kNt40}) {
        if (std::strcmp(windows, old) == 0)
            return "i686";
    }
    return "x86_64";
}

Runs::Runs(const std::string& test, std::vector<Run> runs) {
    for (Run& run : runs) {
        const std::string name = EntryName(test, run);
        if (!Registry().emplace(name, Registered{test, std::move(run)}).second) {
            std::fprintf(stderr, "two runs named %s\n", name.c_str());
            std::abort();
        }
    }
}

} // namespace scenario

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    if (argc == 2 && std::strcmp(argv[1], "--list-runs") == 0)
        return scenario::ListRuns();
    if (argc == 2 && std::strncmp(argv[1], "--run=", 6) == 0) {
        const auto found = scenario::Registry().find(argv[1] + 6);
        if (found == scenario::Registry().end()) {
            std::fprintf(stderr, "no run named %s\n", argv[1] + 6);
            return 1;
        }
        const scenario::Registered& registered = found->second;
        scenario::running = &registered;
        if (registered.run.windows[0] != '\0' &&
            !guidriver::SetWindowsVersionFor("setup.exe", registered.run.windows)) {
            std::fprintf(stderr, "cannot give setup.exe the version %s\n", registered.run.windows);
            return 1;
        }
        ::testing::GTEST_FLAG(filter) = registered.test;
    }
    return RUN_ALL_TESTS();
}
