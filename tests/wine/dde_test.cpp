// CDDEObject against Wine's own Program Manager DDE server (part of the desktop process),
// where the end-to-end runs on Windows NT 3.51 do not reach: names and commands too long
// to send, and the group command of a Win32s system. run-in-rig.sh runs DdeObject.* and
// ProgramManager.* with an X display, so the desktop process serves, and Win32s.* the
// same with the program's Windows version set to Win32s.
#include <windows.h>

#include <shlobj.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "dde/ddeobject.h"
#include "tests/wine/wine_test_kit.h"
#include "tools/guidriver/gui_driver.h"

using namespace wine_test;

namespace {

constexpr DWORD kPatienceMs = 10000;

std::string FolderPath(int csidl) {
    char path[MAX_PATH] = "";
    if (FAILED(SHGetFolderPathA(nullptr, csidl, nullptr, SHGFP_TYPE_CURRENT, path)))
        return std::string();
    return path;
}

std::string SystemProgram(const char* name) {
    char folder[MAX_PATH] = "";
    GetSystemDirectoryA(folder, sizeof folder);
    return std::string(folder) + "\\" + name;
}

// Wine's server opens a folder window for every group it creates, in a process of its
// own: waits for it and closes it.
void CloseFolderWindow(const std::string& group) {
    HWND window = guidriver::WaitForTitle(group, kPatienceMs);
    ASSERT_NE(nullptr, window) << "no folder window for " << group;
    PostMessageA(window, WM_CLOSE, 0, 0);
    EXPECT_TRUE(guidriver::WaitForWindowGone(window, kPatienceMs));
}

// Keeps the commands that the Program Manager operations send, and sends them on.
class RecordingDde : public CDDEObject {
public:
    DWORD Execute(const char* command) override {
        sent.push_back(command);
        return CDDEObject::Execute(command);
    }
    std::vector<std::string> sent;
};

void ExpectNoHandles(const CDDEObject& dde) {
    EXPECT_EQ(nullptr, dde.GetServiceHandle());
    EXPECT_EQ(nullptr, dde.GetTopicHandle());
    EXPECT_EQ(nullptr, dde.GetConversation());
}

TEST(DdeObject, WithoutAConversationNothingIsOpenAndOverlongNamesAreRefused) {
    CDDEObject first;
    CDDEObject second;
    EXPECT_NE(0u, first.GetInstance());
    EXPECT_NE(first.GetInstance(), second.GetInstance());
    ExpectNoHandles(first);
    EXPECT_EQ(FALSE, first.Disconnect());
    EXPECT_EQ(0u, first.Execute("[creategroup(\"Nobody\", \"0\")]"));
    const std::string longName(261, 's');
    EXPECT_EQ(FALSE, first.Connect(longName.c_str(), "PROGMAN"));
    EXPECT_EQ(FALSE, first.Connect("PROGMAN", longName.c_str()));
    ExpectNoHandles(first);
}

class ProgramManager : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_FALSE(programs.empty()); }
    const std::string programs = FolderPath(CSIDL_PROGRAMS);
};

TEST_F(ProgramManager, OverlongCommandIsNotSentAndLeavesNothingOpen) {
    const std::vector<std::string> before = ListFolder(programs);
    RecordingDde dde;
    // "[creategroup(\"" + 239 characters + "\", \"0\")]" is 261 characters: one too many.
    EXPECT_EQ(FALSE, dde.CreateGroup(std::string(239, 'G').c_str()));
    EXPECT_EQ(FALSE, dde.AddItem(std::string(240, 'N').c_str(),
                                 SystemProgram("notepad.exe").c_str(), "icon"));
    ExpectNoHandles(dde);
    EXPECT_TRUE(dde.sent.empty());
    EXPECT_EQ(before, ListFolder(programs));
    EXPECT_EQ(TRUE, dde.CreateGroup("Lumora After"));
    CloseFolderWindow("Lumora After");
}

// The program's Windows version is "win31", which Wine reports as platform 0.
TEST(Win32s, SystemReportsWin32sAndTheGroupCommandEndsInOne) {
    RecordingDde dde;
    ASSERT_NE(FALSE, dde.IsWin32s());
    EXPECT_EQ(TRUE, dde.CreateGroup("Lumora Common"));
    ASSERT_EQ(1u, dde.sent.size());
    EXPECT_EQ("[creategroup(\"Lumora Common\", \"1\")]", dde.sent[0]);
    // Program Manager reads the "1" as "a common group"; Wine's server accepts the command
    // but makes the group in the user's own Programs folder all the same.
    EXPECT_TRUE(DirectoryExists(FolderPath(CSIDL_COMMON_PROGRAMS) + "\\Lumora Common") ||
                DirectoryExists(FolderPath(CSIDL_PROGRAMS) + "\\Lumora Common"));
    CloseFolderWindow("Lumora Common");
}

} // namespace
