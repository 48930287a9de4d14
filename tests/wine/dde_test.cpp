// CDDEObject against Wine's own Program Manager DDE server (part of the desktop process).
// dde-progman.sh runs these suites in a fresh prefix each:
//   DdeObject.* and ProgramManager.* with an X display, so the desktop process serves;
//   Win32s.* with an X display and the program's Windows version set to Win32s;
//   NoProgramManager.* without a display, so nothing answers.
#include <windows.h>

#include <shlobj.h>

#include <gtest/gtest.h>

#include <cstring>
#include <set>
#include <string>
#include <vector>

#include "dde/ddeobject.h"
#include "tests/wine/shell_link_reader.h"

namespace {

std::string FolderPath(int csidl) {
    char path[MAX_PATH] = "";
    if (FAILED(SHGetFolderPathA(nullptr, csidl, nullptr, SHGFP_TYPE_CURRENT, path)))
        return std::string();
    return path;
}

bool IsDirectory(const std::string& path) {
    DWORD attributes = GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool IsFile(const std::string& path) {
    DWORD attributes = GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

std::set<std::string> Entries(const std::string& folder) {
    std::set<std::string> names;
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((folder + "\\*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE)
        return names;
    do {
        names.insert(found.cFileName);
    } while (FindNextFileA(search, &found));
    FindClose(search);
    return names;
}

std::string SystemProgram(const char* name) {
    char folder[MAX_PATH] = "";
    GetSystemDirectoryA(folder, sizeof folder);
    return std::string(folder) + "\\" + name;
}

struct WindowSearch {
    const char* titlePart;
    HWND found;
};

BOOL CALLBACK FindOtherProcessWindow(HWND window, LPARAM param) {
    auto* search = reinterpret_cast<WindowSearch*>(param);
    DWORD process = 0;
    GetWindowThreadProcessId(window, &process);
    char title[512] = "";
    GetWindowTextA(window, title, sizeof title);
    if (process != GetCurrentProcessId() && std::strstr(title, search->titlePart) != nullptr) {
        search->found = window;
        return FALSE;
    }
    return TRUE;
}

// Wine's server opens a folder window for every group it creates, in a process of its
// own. Waits for that window (up to `patience` ms) and closes it; true when one was seen.
bool CloseFolderWindow(const char* group, DWORD patience = 10000) {
    DWORD start = GetTickCount();
    for (;;) {
        WindowSearch search = {group, nullptr};
        EnumWindows(&FindOtherProcessWindow, reinterpret_cast<LPARAM>(&search));
        if (search.found != nullptr) {
            DWORD process = 0;
            GetWindowThreadProcessId(search.found, &process);
            HANDLE owner = OpenProcess(SYNCHRONIZE, FALSE, process);
            PostMessageA(search.found, WM_CLOSE, 0, 0);
            if (owner != nullptr) {
                WaitForSingleObject(owner, patience);
                CloseHandle(owner);
            }
            return true;
        }
        if (GetTickCount() - start > patience)
            return false;
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 100, QS_ALLINPUT);
    }
}

// Keeps the commands that the Program Manager operations send, and sends them on.
class RecordingDde : public CDDEObject {
public:
    DWORD Execute(const char* command) override {
        sent.push_back(command);
        statuses.push_back(CDDEObject::Execute(command));
        return statuses.back();
    }
    std::vector<std::string> sent;
    std::vector<DWORD> statuses;
};

// ---------------------------------------------------------------------------------------
// The object itself, with or without a server.

TEST(DdeObject, StartsItsOwnInstanceWithoutAConversation) {
    CDDEObject first;
    CDDEObject second;
    const CObject& asObject = first;
    EXPECT_STREQ("CDDEObject", asObject.GetRuntimeClassName());
    EXPECT_NE(0u, first.GetInstance());
    EXPECT_NE(0u, second.GetInstance());
    EXPECT_NE(first.GetInstance(), second.GetInstance());
    EXPECT_EQ(nullptr, first.GetServiceHandle());
    EXPECT_EQ(nullptr, first.GetTopicHandle());
    EXPECT_EQ(nullptr, first.GetConversation());
}

TEST(DdeObject, DisconnectWithoutAConversationFailsAndKeepsTheHandlesNull) {
    CDDEObject dde;
    EXPECT_EQ(FALSE, dde.Disconnect());
    EXPECT_EQ(nullptr, dde.GetServiceHandle());
    EXPECT_EQ(nullptr, dde.GetTopicHandle());
    EXPECT_EQ(0u, dde.Execute("[creategroup(\"Nobody\", \"0\")]"));
}

TEST(DdeObject, OverlongServiceNameIsRefusedWithoutHandles) {
    CDDEObject dde;
    std::string longName(261, 's');
    EXPECT_EQ(FALSE, dde.Connect(longName.c_str(), "PROGMAN"));
    EXPECT_EQ(FALSE, dde.Connect("PROGMAN", longName.c_str()));
    EXPECT_EQ(nullptr, dde.GetServiceHandle());
    EXPECT_EQ(nullptr, dde.GetTopicHandle());
    EXPECT_EQ(nullptr, dde.GetConversation());
}

// ---------------------------------------------------------------------------------------
// Program Manager present.

class ProgramManager : public ::testing::Test {
protected:
    void SetUp() override {
        programs = FolderPath(CSIDL_PROGRAMS);
        ASSERT_FALSE(programs.empty());
    }
    std::string programs;
};

TEST_F(ProgramManager, IsWin32sIsFalseOnAnNtPlatform) {
    CDDEObject dde;
    EXPECT_EQ(FALSE, dde.IsWin32s());
}

TEST_F(ProgramManager, BuildingBlocksAcceptACommandAndEndTheConversation) {
    CDDEObject dde;
    ASSERT_NE(FALSE, dde.Connect("PROGMAN", "PROGMAN"));
    EXPECT_NE(nullptr, dde.GetServiceHandle());
    EXPECT_NE(nullptr, dde.GetTopicHandle());
    EXPECT_NE(nullptr, dde.GetConversation());

    DWORD status = dde.Execute("[creategroup(\"Lumora Blocks\", \"0\")]");
    EXPECT_EQ(static_cast<DWORD>(DDE_FACK), status & DDE_FACK);

    // A command the server does not know is answered without the acknowledgement.
    DWORD refused = dde.Execute("[nosuchcommand(\"x\")]");
    EXPECT_EQ(0u, refused & DDE_FACK);

    EXPECT_EQ(TRUE, dde.Disconnect());
    EXPECT_EQ(nullptr, dde.GetServiceHandle());
    EXPECT_EQ(nullptr, dde.GetTopicHandle());
    EXPECT_EQ(nullptr, dde.GetConversation());
    EXPECT_EQ(FALSE, dde.Disconnect());

    EXPECT_TRUE(IsDirectory(programs + "\\Lumora Blocks"));
    CloseFolderWindow("Lumora Blocks");
}

TEST_F(ProgramManager, GroupAndItemBecomeAStartMenuFolderAndShortcut) {
    const std::string group = "Lumora Search";
    const std::string program = SystemProgram("notepad.exe");
    const std::string icon = SystemProgram("shell32.dll");
    ASSERT_TRUE(IsFile(program));

    RecordingDde dde;
    EXPECT_EQ(TRUE, dde.CreateGroup(group.c_str()));
    EXPECT_TRUE(IsDirectory(programs + "\\" + group));
    // Items go into the group that the server created last.
    EXPECT_EQ(TRUE, dde.AddItem("Search App", program.c_str(), icon.c_str()));
    EXPECT_EQ(nullptr, dde.GetConversation());
    ASSERT_EQ(2u, dde.sent.size());
    EXPECT_EQ("[creategroup(\"Lumora Search\", \"0\")]", dde.sent[0]);
    EXPECT_EQ("[additem(\"" + program + "\",\"Search App\",\"" + icon + "\",0)]", dde.sent[1]);
    EXPECT_EQ(static_cast<DWORD>(DDE_FACK), dde.statuses[0] & DDE_FACK);
    EXPECT_EQ(static_cast<DWORD>(DDE_FACK), dde.statuses[1] & DDE_FACK);

    // The link is named after the item and starts the command line's program.
    ShellLinkFields link = ReadShellLink(programs + "\\" + group + "\\Search App.lnk");
    ASSERT_TRUE(link.loaded);
    EXPECT_EQ(0, lstrcmpiA(program.c_str(), link.path.c_str())) << link.path;
    EXPECT_EQ(0, lstrcmpiA(icon.c_str(), link.iconPath.c_str())) << link.iconPath;
    EXPECT_EQ(0, link.iconIndex);

    // The same object serves any number of commands.
    EXPECT_EQ(TRUE, dde.AddItem("Uninstall Search App", program.c_str(), icon.c_str()));
    EXPECT_TRUE(IsFile(programs + "\\" + group + "\\Uninstall Search App.lnk"));

    EXPECT_TRUE(CloseFolderWindow(group.c_str()));
}

TEST_F(ProgramManager, RefusedItemIsNotDetectedButMakesNoShortcut) {
    const std::string group = "Lumora Refused";
    RecordingDde dde;
    ASSERT_EQ(TRUE, dde.CreateGroup(group.c_str()));
    CloseFolderWindow(group.c_str());
    EXPECT_EQ(TRUE, dde.AddItem("Missing", "C:\\no\\such\\program.exe", "C:\\no\\icon.ico"));
    ASSERT_EQ(2u, dde.statuses.size());
    EXPECT_EQ(0u, dde.statuses[1] & DDE_FACK);
    EXPECT_FALSE(IsFile(programs + "\\" + group + "\\Missing.lnk"));
}

TEST_F(ProgramManager, OverlongCommandIsNotSent) {
    const std::set<std::string> before = Entries(programs);
    RecordingDde dde;
    // "[creategroup(\"" + 239 characters + "\", \"0\")]" is 261 characters: one too many.
    std::string group(239, 'G');
    EXPECT_EQ(FALSE, dde.CreateGroup(group.c_str()));
    std::string name(240, 'N');
    EXPECT_EQ(FALSE, dde.AddItem(name.c_str(), SystemProgram("notepad.exe").c_str(), "icon"));
    EXPECT_EQ(nullptr, dde.GetConversation());
    EXPECT_EQ(nullptr, dde.GetServiceHandle());
    EXPECT_TRUE(dde.sent.empty());
    EXPECT_EQ(before, Entries(programs));

    // Nothing is left half open: the next command goes through.
    EXPECT_EQ(TRUE, dde.CreateGroup("Lumora After"));
    CloseFolderWindow("Lumora After");
}

// ---------------------------------------------------------------------------------------
// Win32s: the program's Windows version is "win31", which Wine reports as platform 0.

TEST(Win32s, SystemReportsWin32sAndTheGroupCommandEndsInOne) {
    RecordingDde dde;
    ASSERT_NE(FALSE, dde.IsWin32s());
    EXPECT_EQ(TRUE, dde.CreateGroup("Lumora Common"));
    ASSERT_EQ(1u, dde.sent.size());
    EXPECT_EQ("[creategroup(\"Lumora Common\", \"1\")]", dde.sent[0]);

    // Program Manager reads the "1" as "a common group"; Wine's server accepts the command
    // but makes the group in the user's own Programs folder all the same.
    EXPECT_TRUE(IsDirectory(FolderPath(CSIDL_COMMON_PROGRAMS) + "\\Lumora Common") ||
                IsDirectory(FolderPath(CSIDL_PROGRAMS) + "\\Lumora Common"));
    CloseFolderWindow("Lumora Common");
}

// ---------------------------------------------------------------------------------------
// Program Manager absent: without a display there is no desktop process to answer.

TEST(NoProgramManager, BothOperationsFailWithinTheTimeOutsAndTheObjectStaysUsable) {
    RecordingDde dde;
    DWORD instance = dde.GetInstance();
    DWORD start = GetTickCount();
    EXPECT_EQ(FALSE, dde.CreateGroup("Lumora Nowhere"));
    EXPECT_EQ(FALSE, dde.AddItem("Item", SystemProgram("notepad.exe").c_str(), "icon"));
    // Two transactions' time-outs at most, and some slack for a slow machine.
    EXPECT_LT(GetTickCount() - start, 2 * 10000u + 5000u);

    EXPECT_EQ(nullptr, dde.GetServiceHandle());
    EXPECT_EQ(nullptr, dde.GetTopicHandle());
    EXPECT_EQ(instance, dde.GetInstance());
    EXPECT_EQ(FALSE, dde.Disconnect());
    EXPECT_EQ(FALSE, dde.CreateGroup("Lumora Nowhere"));
    EXPECT_FALSE(IsDirectory(FolderPath(CSIDL_PROGRAMS) + "\\Lumora Nowhere"));
    // The commands were tried, and went nowhere.
    EXPECT_EQ(std::vector<DWORD>(3, 0), dde.statuses);
}

} // namespace
