// The driver itself, against the rig's test dialog: what it reads and sets must be what
// the dialog's own code sees.
#include <gtest/gtest.h>

#include "tools/guidriver/child_process.h"
#include "tools/guidriver/gui_driver.h"
#include "tools/guidriver/machine_state.h"
#include "tests/e2e/scenarios/sample_cd.h"
#include "tests/e2e/testdlg/testdlg_ids.h"

using namespace guidriver;

namespace {

const ControlInfo* FindControl(const std::vector<ControlInfo>& controls, int id) {
    for (const ControlInfo& control : controls) {
        if (control.id == id)
            return &control;
    }
    return nullptr;
}

HWND WaitForDialogOf(const ChildProcess& process, const char* title) {
    WindowQuery query;
    query.titlePart = title;
    query.processId = process.Id();
    return WaitForWindow(query, scenario::kTimeoutMs);
}

} // namespace

TEST(Driver, ReadsAndSetsTheControlsOfADialog) {
    const std::string resultFile = "C:\\testdlg-result.txt";
    ChildProcess dialogProcess;
    ASSERT_TRUE(scenario::StartTestDialog(dialogProcess, "dialog \"Driver test\" " + resultFile));
    HWND dialog = WaitForDialogOf(dialogProcess, "Driver test");
    ASSERT_NE(nullptr, dialog);

    WindowInfo before = Describe(dialog);
    EXPECT_EQ("Driver test", before.title);
    EXPECT_FALSE(before.isMessageBox);
    const ControlInfo* edit = FindControl(before.controls, IDC_TESTDLG_EDIT);
    const ControlInfo* check = FindControl(before.controls, IDC_TESTDLG_CHECK);
    const ControlInfo* radioA = FindControl(before.controls, IDC_TESTDLG_RADIO_A);
    const ControlInfo* install = FindControl(before.controls, IDOK);
    ASSERT_TRUE(edit && check && radioA && install) << Format(before);
    EXPECT_EQ("c:\\lumora", edit->text);
    EXPECT_EQ(BST_CHECKED, check->check);
    EXPECT_EQ(BST_CHECKED, radioA->check);
    EXPECT_EQ("Install", install->text);
    EXPECT_EQ(-1, install->check);

    ASSERT_TRUE(SetEditText(dialog, IDC_TESTDLG_EDIT, "d:\\elsewhere"));
    ASSERT_TRUE(SetCheck(dialog, IDC_TESTDLG_CHECK, false));
    ASSERT_TRUE(SetCheck(dialog, IDC_TESTDLG_RADIO_B, true));
    EXPECT_FALSE(SetCheck(dialog, IDC_TESTDLG_EDIT, true)) << "an edit field is no check box";

    WindowInfo after = Describe(dialog);
    EXPECT_EQ("d:\\elsewhere", FindControl(after.controls, IDC_TESTDLG_EDIT)->text);
    EXPECT_EQ(BST_UNCHECKED, FindControl(after.controls, IDC_TESTDLG_CHECK)->check);
    EXPECT_EQ(BST_UNCHECKED, FindControl(after.controls, IDC_TESTDLG_RADIO_A)->check);
    EXPECT_EQ(BST_CHECKED, FindControl(after.controls, IDC_TESTDLG_RADIO_B)->check);

    ASSERT_TRUE(ClickButton(dialog, IDOK));
    DWORD exitCode = 0;
    ASSERT_TRUE(dialogProcess.WaitForExit(scenario::kTimeoutMs, &exitCode));
    EXPECT_EQ(static_cast<DWORD>(IDOK), exitCode);
    EXPECT_EQ("edit=d:\\elsewhere\ncheck=0\nradio=2\n", ReadTextFile(resultFile));
}

TEST(Driver, ReadsAndAnswersAMessageBox) {
    ChildProcess boxProcess;
    ASSERT_TRUE(
        scenario::StartTestDialog(boxProcess, "msgbox \"Rig question\" \"Go on?  Or not? \""));
    HWND box = WaitForDialogOf(boxProcess, "Rig question");
    ASSERT_NE(nullptr, box);
    WindowInfo info = Describe(box);
    EXPECT_TRUE(info.isMessageBox);
    EXPECT_EQ("Go on?  Or not? ", info.messageText);
    EXPECT_TRUE(FindControl(info.controls, IDYES) && FindControl(info.controls, IDNO))
        << Format(info);
    EXPECT_EQ(nullptr, FindControl(info.controls, IDOK));

    ASSERT_TRUE(ClickButton(box, IDNO));
    DWORD exitCode = 0;
    ASSERT_TRUE(boxProcess.WaitForExit(scenario::kTimeoutMs, &exitCode));
    EXPECT_EQ(static_cast<DWORD>(IDNO), exitCode);
}

TEST(Driver, GivesUpWaitingAtTheTimeLimit) {
    DWORD start = GetTickCount();
    EXPECT_EQ(nullptr, WaitForTitle("no window has this title", 300));
    EXPECT_GE(GetTickCount() - start, 300u);
}
