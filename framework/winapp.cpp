#include "framework/winapp.h"

#include <commdlg.h>

#include <cstdlib>

#include "framework/afxres.h"
#include "framework/doctemplate.h"
#include "framework/module.h"
#include "framework/strings.h"
#include "framework/wnd.h"

namespace {
CWinApp* g_pApp = nullptr;
} // namespace

CWinApp* AfxGetApp() {
    return g_pApp;
}

CWnd* AfxGetMainWnd() {
    return g_pApp != nullptr ? g_pApp->m_pMainWnd : nullptr;
}

CWinApp::CWinApp() {
    g_pApp = this;
}

CWinApp::~CWinApp() {
    if (g_pApp == this)
        g_pApp = nullptr;
}

void CWinApp::InitApplication(HINSTANCE instance, LPSTR cmdLine, int cmdShow) {
    AfxSetInstanceHandle(instance);
    m_hInstance = instance;
    m_lpCmdLine = cmdLine != nullptr ? cmdLine : "";
    m_nCmdShow = cmdShow;
    // Read before any resource library is chosen: message boxes keep the program's title.
    m_strAppName = LoadResString(AFX_IDS_APP_TITLE);
}

void CWinApp::AddDocTemplate(CSingleDocTemplate* docTemplate) {
    m_templates.emplace_back(docTemplate);
}

void CWinApp::ParseCommandLine(CCommandLineInfo& info) {
    for (int i = 1; i < __argc; ++i) {
        const char* param = __argv[i];
        BOOL flag = param[0] == '/' || param[0] == '-';
        if (flag)
            ++param;
        info.ParseParam(param, flag, i + 1 == __argc);
    }
}

BOOL CWinApp::ProcessShellCommand(CCommandLineInfo& info) {
    switch (info.m_nShellCommand) {
    case CCommandLineInfo::FileNew:
        OnFileNew();
        return m_pMainWnd != nullptr;
    case CCommandLineInfo::FileOpen:
        return OpenDocumentFile(info.m_strFileName.c_str()) != nullptr;
    case CCommandLineInfo::FilePrint:
    case CCommandLineInfo::FilePrintTo:
        // Nothing to print: the document is opened and the program ends.
        OpenDocumentFile(info.m_strFileName.c_str());
        return FALSE;
    case CCommandLineInfo::AppUnregister:
        return FALSE;
    case CCommandLineInfo::FileDDE:
    case CCommandLineInfo::FileNothing:
        return TRUE;
    }
    return FALSE;
}

void CWinApp::OnFileNew() {
    if (!m_templates.empty())
        m_templates.front()->OpenDocumentFile(nullptr);
}

void CWinApp::OnFileOpen() {
    char path[MAX_PATH + 1] = "";
    OPENFILENAMEA ofn = {};
    ofn.lStructSize = sizeof(ofn);
    ofn.hwndOwner = m_pMainWnd != nullptr ? m_pMainWnd->m_hWnd : NULL;
    ofn.lpstrFilter = "*.*\0*.*\0";
    ofn.lpstrFile = path;
    ofn.nMaxFile = sizeof(path);
    ofn.Flags = OFN_HIDEREADONLY | OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST;
    if (::GetOpenFileNameA(&ofn))
        OpenDocumentFile(path);
}

void CWinApp::OnAppExit() {
    if (m_pMainWnd != nullptr)
        m_pMainWnd->SendMessage(WM_CLOSE);
}

CDocument* CWinApp::OpenDocumentFile(const char* path) {
    if (m_templates.empty())
        return nullptr;
    return m_templates.front()->OpenDocumentFile(path);
}

void CWinApp::CloseAllDocuments() {
    for (auto& docTemplate : m_templates)
        docTemplate->CloseAllDocuments();
}

BOOL CWinApp::OnCommand(UINT id) {
    switch (id) {
    case ID_FILE_NEW:
        OnFileNew();
        return TRUE;
    case ID_FILE_OPEN:
        OnFileOpen();
        return TRUE;
    case ID_APP_EXIT:
        OnAppExit();
        return TRUE;
    default:
        return FALSE;
    }
}

BOOL CWinApp::PreTranslateMessage(MSG* msg) {
    if (msg->hwnd == NULL)
        return FALSE;
    // The top-level window the message's window sits in (GetAncestor came with
    // Windows 98 and 2000): child windows up to the first one that is no child.
    HWND top = msg->hwnd;
    while ((::GetWindowLongA(top, GWL_STYLE) & WS_CHILD) && ::GetParent(top) != NULL)
        top = ::GetParent(top);
    char className[16] = "";
    ::GetClassNameA(top, className, sizeof(className));
    // "#32770" is the system's dialog class: modeless dialogs get Tab and Enter handling.
    if (::lstrcmpA(className, "#32770") == 0)
        return ::IsDialogMessageA(top, msg);
    return FALSE;
}

int CWinApp::Run() {
    // Without a main window nothing would ever end the loop.
    if (m_pMainWnd == nullptr)
        ::PostQuitMessage(0);
    MSG msg;
    BOOL result;
    while ((result = ::GetMessageA(&msg, NULL, 0, 0)) != 0) {
        if (result == -1)
            break;
        if (!PreTranslateMessage(&msg)) {
            ::TranslateMessage(&msg);
            ::DispatchMessageA(&msg);
        }
    }
    m_nExitCode = result == -1 ? -1 : static_cast<int>(msg.wParam);
    return ExitInstance();
}

int AfxWinMain(HINSTANCE instance, HINSTANCE /*previous*/, LPSTR cmdLine, int cmdShow) {
    CWinApp* app = AfxGetApp();
    if (app == nullptr)
        return -1;
    app->InitApplication(instance, cmdLine, cmdShow);
    if (!app->InitInstance()) {
        if (app->m_pMainWnd != nullptr)
            app->m_pMainWnd->DestroyWindow();
        return app->ExitInstance();
    }
    return app->Run();
}
