// CDs whose settings no publisher should ship: the setup must end on its own, without
// crashing, whatever it decides to do with them.
#include <gtest/gtest.h>

#include "tests/e2e/driver/child_process.h"
#include "tests/e2e/scenarios/install_steps.h"
#include "tests/e2e/scenarios/sample_cd.h"

using namespace guidriver;

TEST(HostileCd, SetupEndsCleanlyWhenEveryQuestionIsAnswered) {
    ChildProcess setup;
    ASSERT_TRUE(scenario::StartSetup(setup));
    ASSERT_TRUE(scenario::AnswerUntilExit(setup, nullptr)) << "setup.exe did not end";
    scenario::ExpectCleanExit(setup);
}
