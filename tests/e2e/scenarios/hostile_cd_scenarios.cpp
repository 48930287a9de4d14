// CDs whose settings no publisher should ship: the setup must end on its own, without
// crashing, whatever it decides to do with them.
#include <gtest/gtest.h>

#include "tools/guidriver/child_process.h"
#include "tools/guidriver/machine_state.h"
#include "tests/e2e/scenarios/browser_fixtures.h"
#include "tests/e2e/scenarios/install_steps.h"
#include "tests/e2e/scenarios/sample_cd.h"

using namespace guidriver;

TEST(HostileCd, SetupEndsCleanlyWhenEveryQuestionIsAnswered) {
    ChildProcess setup;
    ASSERT_TRUE(scenario::StartSetup(setup));
    ASSERT_TRUE(scenario::AnswerUntilExit(setup, nullptr)) << "setup.exe did not end";
    scenario::ExpectCleanExit(setup);
}

// Windows NT 3.51; CD: an "ApplicationGroup" whose quote would close the group's field
// in the Program Manager command and leave the rest to run as commands of their own,
// here deleting another group. No group is made at all.
TEST(HostileCd, QuoteInTheGroupNameSendsNoProgramManagerCommand) {
    ASSERT_TRUE(browserfixture::SetSetupWindowsVersion("nt351"));
    const std::string victim = ProgramsFolder() + "\\V";
    ASSERT_TRUE(MakeDirectories(victim));
    ChildProcess setup;
    ASSERT_TRUE(scenario::StartSetup(setup));
    ASSERT_TRUE(scenario::AnswerUntilExit(setup, nullptr)) << "setup.exe did not end";
    scenario::ExpectCleanExit(setup);
    EXPECT_TRUE(DirectoryExists(victim));
    EXPECT_FALSE(DirectoryExists(ProgramsFolder() + "\\x"));
}
