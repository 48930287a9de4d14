// A second setup.exe started while the first one is still asking.
#include <gtest/gtest.h>

#include "tools/guidriver/child_process.h"
#include "tools/guidriver/gui_driver.h"
#include "tools/guidriver/machine_state.h"
#include "tests/e2e/scenarios/sample_cd.h"

using namespace guidriver;

namespace {

class SecondInstance : public ::testing::Test {
protected:
    // The first instance is held at the reinstall question, which is a window of none of
    // the titles the second instance looks for.
    void SetUp() override {
        scenario::EarlierInstallation earlier;
        ASSERT_TRUE(scenario::MakeEarlierInstallation(&earlier));
        ASSERT_TRUE(scenario::StartSetup(m_first));
        WindowQuery query;
        query.processId = m_first.Id();
        query.className = "#32770";
        m_question = WaitForWindow(query, scenario::kTimeoutMs);
        ASSERT_NE(nullptr, m_question) << "the first setup.exe asked nothing";
    }

    void TearDown() override {
        if (m_question && IsWindow(m_question)) {
            ClickButton(m_question, IDNO);
            EXPECT_TRUE(m_first.WaitForExit(scenario::kTimeoutMs))
                << "the first setup.exe did not end after its question";
        }
    }

    // Runs the second instance to its end; every window it showed is a failure.
    void RunSecondInstance() {
        ChildProcess second;
        ASSERT_TRUE(scenario::StartSetup(second));
        std::vector<std::string> shown;
        ASSERT_TRUE(second.WatchUntilExit(scenario::kTimeoutMs, &shown))
            << "the second setup.exe did not end";
        for (const std::string& title : shown)
            ADD_FAILURE() << "the second setup.exe showed a window: \"" << title << "\"";
    }

    ChildProcess m_first;
    HWND m_question = nullptr;
};

} // namespace

TEST_F(SecondInstance, BringsTheDirectoryDialogToTheFront) {
    ChildProcess dialogProcess;
    ASSERT_TRUE(
        scenario::StartTestDialog(dialogProcess, "dialog \"Please specify a directory\" nul"));
    WindowQuery query;
    query.titlePart = "Please specify a directory";
    query.processId = dialogProcess.Id();
    HWND directoryDialog = WaitForWindow(query, scenario::kTimeoutMs);
    ASSERT_NE(nullptr, directoryDialog);
    // The topmost window is never examined, so the dialog must be below another one.
    BringToFront(m_question);
    ASSERT_TRUE(WaitForForeground(m_question, scenario::kTimeoutMs));
    ASSERT_NE(directoryDialog, GetTopWindow(nullptr));

    RunSecondInstance();

    EXPECT_TRUE(WaitForForeground(directoryDialog, scenario::kTimeoutMs))
        << "foreground: " << Format(Describe(Foreground()));
    EXPECT_TRUE(ReadLaunchLog().empty()) << "the second setup.exe started search.exe";
    ClickButton(directoryDialog, IDCANCEL);
    EXPECT_TRUE(dialogProcess.WaitForExit(scenario::kTimeoutMs));
}

TEST_F(SecondInstance, EndsSilentlyWhenNoKnownWindowIsOpen) {
    BringToFront(m_question);
    ASSERT_TRUE(WaitForForeground(m_question, scenario::kTimeoutMs));

    RunSecondInstance();

    EXPECT_EQ(m_question, Foreground());
    EXPECT_TRUE(IsWindow(m_question)) << "the first setup.exe lost its question";
    EXPECT_TRUE(ReadLaunchLog().empty()) << "the second setup.exe started search.exe";
}
