// A first run from a client CD on a machine without an earlier installation.
#include <gtest/gtest.h>

#include "tools/guidriver/child_process.h"
#include "tools/guidriver/gui_driver.h"
#include "tools/guidriver/machine_state.h"
#include "tests/e2e/scenarios/install_steps.h"
#include "tests/e2e/scenarios/sample_cd.h"

using namespace guidriver;

TEST(FirstRun, ClientCdAsksOnlyForTheDestinationAndStartsSearchFromTheCd) {
    ChildProcess setup;
    ASSERT_TRUE(scenario::StartSetup(setup));
    HWND destination = scenario::WaitForDestination(setup);
    ASSERT_NE(nullptr, destination);
    // The CD names its own default, so "Setup Icon Only" stays hidden but set.
    ASSERT_TRUE(ClickButton(destination, IDOK));
    ASSERT_TRUE(WaitForWindowGone(destination, scenario::kTimeoutMs));
    std::vector<std::string> shown;
    ASSERT_TRUE(setup.WatchUntilExit(scenario::kTimeoutMs, &shown)) << "setup.exe did not end";
    for (const std::string& title : shown)
        ADD_FAILURE() << "setup.exe showed another window: \"" << title << "\"";

    std::vector<LaunchRecord> launches = WaitForLaunches(1, scenario::kTimeoutMs);
    ASSERT_EQ(1u, launches.size()) << "search.exe was not started once";
    // The source root is the lower-cased current directory, cut at \_red40\bin.
    EXPECT_EQ("d:\\_red40\\bin\\search.exe", launches[0].commandLine);
    EXPECT_TRUE(SamePath("d:\\_red40\\bin", launches[0].currentDirectory))
        << launches[0].currentDirectory;
}
