// The application framework under Wine with a real display, where the end-to-end runs do
// not reach: data exchange refusing what does not fit, a missing template, strings longer
// than any the setup has yet, command lines the setup is never started with, and a frame
// that fails to make its toolbar.
#include <windows.h>

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

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
    }

    std::string text = "start";
    int check = 1;
    std::vector<UINT> clicked;

protected:
    BOOL DoDataExchange(CDataExchange* pDX) override {
        return DDX_Text(pDX, IDC_TEXT, text, 10) && DDX_Check(pDX, IDC_CHECK, check);
    }
};

// Dialogs, their data exchange and command routing run in every end-to-end run; what
// those runs cannot reach is an over-long text, a missing template and Cancel's edits.
TEST_F(Framework, DataExchangeRefusesTooLongTextAndCancelKeepsTheMembers) {
    ExchangeDialog dialog;
    dialog.script = [](ScriptedDialog& self) {
        EXPECT_EQ(10, ::SendMessageA(self.GetDlgItem(IDC_TEXT), EM_GETLIMITTEXT, 0, 0));
        EXPECT_EQ("start", self.GetDlgItemText(IDC_TEXT));
        // WM_SETTEXT passes the edit limit: OK must refuse one character more, not cut it.
        self.SetDlgItemText(IDC_TEXT, "01234567890");
        self.Click(IDOK);
        EXPECT_EQ("start", static_cast<ExchangeDialog&>(self).text);

        self.SetDlgItemText(IDC_TEXT, "just right"); // the limit
        self.CheckDlgButton(IDC_CHECK, BST_UNCHECKED);
        self.Click(IDC_RANGE_FIRST + 1);
        self.Click(IDC_RANGE_FIRST);
        self.PostMessage(WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED));
        self.PostMessage(WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED)); // if OK refused
    };
    ASSERT_EQ(IDOK, dialog.DoModal()) << "OK refused a text of the limit";
    EXPECT_EQ("just right", dialog.text);
    EXPECT_EQ(0, dialog.check);
    EXPECT_EQ((std::vector<UINT>{IDC_RANGE_FIRST + 1, IDC_RANGE_FIRST}), dialog.clicked);
    EXPECT_EQ(HWND(NULL), dialog.m_hWnd);

    ExchangeDialog cancelled;
    cancelled.script = [](ScriptedDialog& self) {
        self.SetDlgItemText(IDC_TEXT, "changed");
        self.PostMessage(WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED));
    };
    EXPECT_EQ(IDCANCEL, cancelled.DoModal());
    EXPECT_EQ("start", cancelled.text);
    EXPECT_EQ(-1, ScriptedDialog(IDR_MISSING).DoModal());
}

// The setup's texts come from the German or English module in every end-to-end run; none
// is longer than the first buffer yet, but a translation may be.
TEST_F(Framework, LongStringsAndFormattedTextsComeOutWhole) {
    EXPECT_EQ(300u, LoadResString(IDS_LONG).size());
    EXPECT_EQ("", LoadResString(IDR_MISSING));
    EXPECT_EQ(5000u, FormatString("%s", std::string(5000, 'x').c_str()).size());
}

TEST_F(Framework, CommandLineChoosesTheShellCommand) {
    struct Case {
        std::vector<std::string> args;
        CCommandLineInfo::ShellCommand command;
        const char* file;
    } cases[] = {
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
}

std::vector<std::string> g_events;

// The document/frame/view start-up and shutdown order that works is what every
// end-to-end run goes through; here a frame whose toolbar cannot be made.
class OrderDoc : public CDocument {
public:
    OrderDoc() { g_events.push_back("doc"); }
    ~OrderDoc() override { g_events.push_back("doc-deleted"); }
};

class FrameWithoutToolbar : public CFrameWnd {
protected:
    int OnCreate(LPCREATESTRUCTA createStruct) override {
        if (CFrameWnd::OnCreate(createStruct) == -1)
            return -1;
        g_events.push_back("frame");
        if (!m_toolBar.Create(this) || !m_toolBar.LoadToolBar(IDR_MISSING))
            return -1;
        return 0;
    }
    void PostNcDestroy() override {
        g_events.push_back("frame-deleted");
        CFrameWnd::PostNcDestroy();
    }

private:
    CToolBar m_toolBar;
};

class OrderView : public CView {
public:
    void OnDraw(HDC) override {}
};

TEST_F(Framework, FrameThatCannotMakeItsToolbarFailsTheShellCommand) {
    g_events.clear();
    CWinApp app;
    app.InitApplication(::GetModuleHandleA(NULL), const_cast<char*>(""), SW_HIDE);
    app.AddDocTemplate(new CSingleDocTemplate(IDR_TEST_FRAME, &CreateObject<OrderDoc, CDocument>,
                                              &CreateObject<FrameWithoutToolbar, CFrameWnd>,
                                              &CreateObject<OrderView, CView>));
    CCommandLineInfo info;
    EXPECT_FALSE(app.ProcessShellCommand(info));
    EXPECT_EQ(nullptr, app.m_pMainWnd);
    // The document was made (and ran) first; the failed frame deleted itself, and the
    // document went with the failed creation.
    EXPECT_EQ((std::vector<std::string>{"doc", "frame", "frame-deleted", "doc-deleted"}), g_events);
    EXPECT_EQ(HWND(NULL), ::FindWindowA("LumoraFrame", NULL));
}

} // namespace
