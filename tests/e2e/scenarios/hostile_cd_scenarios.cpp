// CDs whose settings no publisher should ship: the setup must end on its own, without
// crashing, whatever it decides to do with them.
#include <gtest/gtest.h>

#include "tests/e2e/driver/child_process.h"
#include "tests/e2e/scenarios/sample_cd.h"

using namespace guidriver;

TEST(HostileCd, SetupEndsCleanlyWithoutAWindow) {
    ChildProcess setup;
    ASSERT_TRUE(scenario::StartSetup(setup));
    std::vector<std::string> shown;
    ASSERT_TRUE(setup.WatchUntilExit(scenario::kTimeoutMs, &shown)) << "setup.exe did not end";
    DWORD exitCode = 0;
    ASSERT_TRUE(setup.WaitForExit(0, &exitCode));
    // An exception status (access violation 0xC0000005, stack overrun 0xC0000409, ...)
    // means the process died rather than ended.
    EXPECT_LT(exitCode, 0xC0000000u) << std::hex << "exit code 0x" << exitCode;
    for (const std::string& title : shown)
        ADD_FAILURE() << "setup.exe showed a window: \"" << title << "\"";
}
