// The application framework under Wine with a real display: dialogs and data exchange,
// self-deleting modeless dialogs, the resource module and strings, the command line, and
// the document template's order of construction and shutdown.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "framework/afxres.h"
#include "framework/controlbars.h"
#include "framework/ddx.h"
#include "framework/dialog.h"
#include "framework/doctemplate.h"
#include "framework/document.h"
#include "framework/framewnd.h"
#include "framework/module.h"
#include "framework/strings.h"
#include "framework/view.h"
#include "framework/winapp.h"
#include "tests/wine/framework_test_ids.h"

namespace {

const UINT WM_RUN_SCRIPT = WM_APP + 1;

// Every test runs against the test program's own resources unless it says otherwise.
class Framework : public ::testing::Test {
protected:
    void SetUp() override {
        AfxSetInstanceHandle(::GetModuleHandleA(NULL));
        AfxSetResourceHandle(NULL);
    }
};

// A dialog that drives itself: after it opens, a posted message runs `script` inside
// the dialog's own modal loop, so no other thread or timing is involved.
class ScriptedDialog : public CDialog {
public:
    explicit ScriptedDialog(UINT id) : CDialog(id) {}
    std::function<void(ScriptedDialog&)> script;

    using CDialog::OnCommand;
    LRESULT Send(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) {
        return SendMessage(message, wParam, lParam);
    }
    void Click(int id) {
        Send(WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(id)));
    }

protected:
    BOOL OnInitDialog() override {
        BOOL result = CDialog::OnInitDialog();
        PostMessage(WM_RUN_SCRIPT);
        return result;
    }
    BOOL OnDialogMessage(UINT message, WPARAM, LPARAM, INT_PTR& result) override {
        if (message != WM_RUN_SCRIPT)
            return FALSE;
        if (script)
            script(*this);
        result = 0;
        return TRUE;
    }
};

class ExchangeDialog : public ScriptedDialog {
public:
    ExchangeDialog() : ScriptedDialog(IDD_EXCHANGE) {
        m_commands.OnRange(IDC_RANGE_FIRST, IDC_RANGE_FIRST + 2,
                           [this](UINT id) { clicked.push_back(id); });
        m_commands.On(
            IDC_TEXT, [this](UINT) { ++textChanges; }, EN_CHANGE);
    }

    std::string text = "start";
    char fixed[8] = "abc";
    int check = 1;
    int radio = 1;
    std::vector<UINT> clicked;
    int textChanges = 0;

protected:
    BOOL DoDataExchange(CDataExchange* pDX) override {
        return DDX_Text(pDX, IDC_TEXT, text, 10) &&
               DDX_Text(pDX, IDC_FIXED, fixed, sizeof(fixed)) && DDX_Check(pDX, IDC_CHECK, check) &&
               DDX_Radio(pDX, IDC_RADIO_FIRST, radio);
    }
};

TEST_F(Framework, DataExchangeFillsTheControlsAndReadsThemBackOnOk) {
    ExchangeDialog dialog;
    dialog.script = [](ScriptedDialog& self) {
        EXPECT_EQ(10, ::SendMessageA(self.GetDlgItem(IDC_TEXT), EM_GETLIMITTEXT, 0, 0));
        EXPECT_EQ(7, ::SendMessageA(self.GetDlgItem(IDC_FIXED), EM_GETLIMITTEXT, 0, 0));
        EXPECT_EQ("start", self.GetDlgItemText(IDC_TEXT));
        EXPECT_EQ("abc", self.GetDlgItemText(IDC_FIXED));
        EXPECT_EQ(UINT(BST_CHECKED), self.IsDlgButtonChecked(IDC_CHECK));
        EXPECT_EQ(UINT(BST_CHECKED), self.IsDlgButtonChecked(IDC_RADIO_FIRST + 1));

        // WM_SETTEXT passes the edit limit: OK must refuse the text instead of cutting it.
        self.SetDlgItemText(IDC_TEXT, "01234567890123");
        self.Click(IDOK);
        EXPECT_EQ("start", static_cast<ExchangeDialog&>(self).text);

        self.SetDlgItemText(IDC_TEXT, "fine");
        self.SetDlgItemText(IDC_FIXED, "1234567");
        self.CheckDlgButton(IDC_CHECK, BST_UNCHECKED);
        ::CheckRadioButton(self.m_hWnd, IDC_RADIO_FIRST, IDC_RADIO_FIRST + 2, IDC_RADIO_FIRST + 2);
        self.Click(IDC_RANGE_FIRST + 1);
        self.Click(IDC_RANGE_FIRST);
        self.PostMessage(WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED));
    };
    ASSERT_EQ(IDOK, dialog.DoModal());
    EXPECT_EQ("fine", dialog.text);
    EXPECT_STREQ("1234567", dialog.fixed);
    EXPECT_EQ(0, dialog.check);
    EXPECT_EQ(2, dialog.radio);
    EXPECT_EQ((std::vector<UINT>{IDC_RANGE_FIRST + 1, IDC_RANGE_FIRST}), dialog.clicked);
    EXPECT_GE(dialog.textChanges, 2);
    EXPECT_EQ(HWND(NULL), dialog.m_hWnd);
}

TEST_F(Framework, CancelLeavesTheMembersAsTheyWere) {
    ExchangeDialog dialog;
    dialog.script = [](ScriptedDialog& self) {
        self.SetDlgItemText(IDC_TEXT, "changed");
        self.PostMessage(WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED));
    };
    EXPECT_EQ(IDCANCEL, dialog.DoModal());
    EXPECT_EQ("start", dialog.text);
}

TEST_F(Framework, MissingTemplateGivesMinusOne) {
    ScriptedDialog dialog(IDR_MISSING);
    EXPECT_EQ(-1, dialog.DoModal());
}

class SelfDeletingDialog : public CDialog {
public:
    explicit SelfDeletingDialog(bool& deleted) : CDialog(IDD_MODELESS), m_deleted(deleted) {}
    ~SelfDeletingDialog() override { m_deleted = true; }

protected:
    void PostNcDestroy() override { delete this; }

private:
    bool& m_deleted;
};

TEST_F(Framework, ModelessDialogShowsAndDeletesItselfWithItsWindow) {
    bool deleted = false;
    auto* dialog = new SelfDeletingDialog(deleted);
    ASSERT_TRUE(dialog->Create(IDD_MODELESS));
    HWND window = dialog->m_hWnd;
    ASSERT_NE(HWND(NULL), window);
    EXPECT_TRUE(::IsWindowVisible(window));
    EXPECT_FALSE(deleted);
    ::DestroyWindow(window);
    EXPECT_TRUE(deleted);
}

TEST_F(Framework, StringsComeFromTheCurrentResourceModule) {
    EXPECT_EQ(300u, LoadResString(IDS_LONG).size());
    EXPECT_EQ("", LoadResString(61224));

    HMODULE setupExe = ::LoadLibraryExA(LUMORA_SETUP_EXE, NULL, LOAD_LIBRARY_AS_DATAFILE);
    ASSERT_NE(HMODULE(NULL), setupExe);
    AfxSetResourceHandle(setupExe);
    EXPECT_EQ("License Agreement", LoadResString(61224));
    EXPECT_EQ("", LoadResString(IDS_LONG));
    AfxSetResourceHandle(NULL);
    EXPECT_EQ(AfxGetInstanceHandle(), AfxGetResourceHandle());
    ::FreeLibrary(setupExe);

    EXPECT_EQ("57.2 of D:", FormatString("%.1f of %s", 57.2, "D:"));
    EXPECT_EQ(5000u, FormatString("%s", std::string(5000, 'x').c_str()).size());
}

TEST_F(Framework, CommandLineChoosesTheShellCommand) {
    struct Case {
        std::vector<std::string> args;
        CCommandLineInfo::ShellCommand command;
        const char* file;
    } cases[] = {
        {{}, CCommandLineInfo::FileNew, ""},
        {{"doc.txt"}, CCommandLineInfo::FileOpen, "doc.txt"},
        {{"/p", "doc.txt"}, CCommandLineInfo::FilePrint, "doc.txt"},
        {{"-PT", "doc.txt", "printer", "driver", "port"}, CCommandLineInfo::FilePrintTo, "doc.txt"},
        {{"/dde"}, CCommandLineInfo::FileDDE, ""},
        {{"/Unregister"}, CCommandLineInfo::AppUnregister, ""},
        {{"/unknown"}, CCommandLineInfo::FileNew, ""},
    };
    for (const Case& c : cases) {
        CCommandLineInfo info;
        for (size_t i = 0; i < c.args.size(); ++i) {
            const char* arg = c.args[i].c_str();
            bool flag = arg[0] == '/' || arg[0] == '-';
            info.ParseParam(flag ? arg + 1 : arg, flag, i + 1 == c.args.size());
        }
        EXPECT_EQ(c.command, info.m_nShellCommand) << c.args.size();
        EXPECT_EQ(c.file, info.m_strFileName);
    }
    CCommandLineInfo printTo;
    for (const char* arg : {"doc.txt", "printer", "driver"})
        printTo.ParseParam(arg, FALSE, FALSE);
    printTo.ParseParam("pt", TRUE, FALSE);
    EXPECT_EQ(CCommandLineInfo::FilePrintTo, printTo.m_nShellCommand);
}

std::vector<std::string> g_events;

class OrderDoc : public CDocument {
public:
    // The frame must not exist yet: the setup's whole run happens in this constructor.
    OrderDoc() { g_events.push_back(::FindWindowA("LumoraFrame", NULL) ? "doc-late" : "doc"); }
    ~OrderDoc() override { g_events.push_back("doc-deleted"); }
    BOOL OnNewDocument() override {
        g_events.push_back("new");
        return CDocument::OnNewDocument();
    }
};

class OrderFrame : public CFrameWnd {
public:
    static UINT s_toolBarId;

protected:
    int OnCreate(LPCREATESTRUCTA createStruct) override {
        if (CFrameWnd::OnCreate(createStruct) == -1)
            return -1;
        g_events.push_back("frame");
        static const UINT indicators[] = {ID_SEPARATOR, ID_INDICATOR_CAPS, ID_INDICATOR_NUM,
                                          ID_INDICATOR_SCRL};
        if (!m_toolBar.Create(this) || !m_toolBar.LoadToolBar(s_toolBarId))
            return -1;
        if (!m_statusBar.Create(this) || !m_statusBar.SetIndicators(indicators, 4))
            return -1;
        return 0;
    }
    void PostNcDestroy() override {
        g_events.push_back("frame-deleted");
        CFrameWnd::PostNcDestroy();
    }

private:
    CStatusBar m_statusBar;
    CToolBar m_toolBar;
};
UINT OrderFrame::s_toolBarId = IDR_TEST_FRAME;

class OrderView : public CView {
public:
    void OnInitialUpdate() override {
        CView::OnInitialUpdate();
        g_events.push_back(GetDocument() != nullptr ? "view-update" : "view-without-doc");
    }
    void OnDraw(HDC) override {}
};

CSingleDocTemplate* NewOrderTemplate() {
    return new CSingleDocTemplate(IDR_TEST_FRAME, &CreateObject<OrderDoc, CDocument>,
                                  &CreateObject<OrderFrame, CFrameWnd>,
                                  &CreateObject<OrderView, CView>);
}

TEST_F(Framework, NewDocumentComesBeforeAHiddenFrameAndItsViewAndClosesInOrder) {
    g_events.clear();
    OrderFrame::s_toolBarId = IDR_TEST_FRAME;
    CWinApp app;
    app.InitApplication(::GetModuleHandleA(NULL), const_cast<char*>(""), SW_SHOWNORMAL);
    app.m_nCmdShow = SW_HIDE;
    app.AddDocTemplate(NewOrderTemplate());
    CCommandLineInfo info;
    ASSERT_TRUE(app.ProcessShellCommand(info));
    EXPECT_EQ((std::vector<std::string>{"doc", "frame", "new", "view-update"}), g_events);

    ASSERT_NE(nullptr, app.m_pMainWnd);
    HWND frame = app.m_pMainWnd->m_hWnd;
    EXPECT_FALSE(::IsWindowVisible(frame));
    EXPECT_EQ("Test Frame", app.m_pMainWnd->GetWindowText());
    EXPECT_NE(HMENU(NULL), ::GetMenu(frame));
    HWND toolBar = ::GetDlgItem(frame, AFX_IDW_TOOLBAR);
    HWND statusBar = ::GetDlgItem(frame, AFX_IDW_STATUS_BAR);
    ASSERT_NE(HWND(NULL), toolBar);
    ASSERT_NE(HWND(NULL), statusBar);
    EXPECT_NE(HWND(NULL), ::GetDlgItem(frame, AFX_IDW_PANE_FIRST));
    EXPECT_EQ(4, ::SendMessageA(toolBar, TB_BUTTONCOUNT, 0, 0));
    EXPECT_EQ(4, ::SendMessageA(statusBar, SB_GETPARTS, 0, 0));
    char idle[32] = "";
    ::SendMessageA(statusBar, SB_GETTEXTA, 0, reinterpret_cast<LPARAM>(idle));
    EXPECT_STREQ("Ready", idle);

    // The toolbar command hides the toolbar; the frame routes it, not the application.
    ::SendMessageA(frame, WM_COMMAND, ID_VIEW_TOOLBAR, 0);
    EXPECT_EQ(0, ::GetWindowLongA(toolBar, GWL_STYLE) & WS_VISIBLE);

    app.m_pMainWnd->PostMessage(WM_CLOSE);
    EXPECT_EQ(0, app.Run());
    EXPECT_EQ(nullptr, app.m_pMainWnd);
    EXPECT_FALSE(::IsWindow(frame));
    EXPECT_EQ((std::vector<std::string>{"doc", "frame", "new", "view-update", "frame-deleted",
                                        "doc-deleted"}),
              g_events);
}

TEST_F(Framework, FrameThatCannotMakeItsToolbarFailsTheShellCommand) {
    g_events.clear();
    OrderFrame::s_toolBarId = IDR_MISSING;
    CWinApp app;
    app.InitApplication(::GetModuleHandleA(NULL), const_cast<char*>(""), SW_HIDE);
    app.AddDocTemplate(NewOrderTemplate());
    CCommandLineInfo info;
    EXPECT_FALSE(app.ProcessShellCommand(info));
    EXPECT_EQ(nullptr, app.m_pMainWnd);
    // The document was made (and ran) first; the failed frame deleted itself, and the
    // document went with the failed creation.
    EXPECT_EQ((std::vector<std::string>{"doc", "frame", "frame-deleted", "doc-deleted"}), g_events);
    EXPECT_EQ(HWND(NULL), ::FindWindowA("LumoraFrame", NULL));
    OrderFrame::s_toolBarId = IDR_TEST_FRAME;
}

} // namespace
