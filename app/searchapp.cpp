#include "app/searchapp.h"

#include <cstring>

#include "app/aboutdlg.h"
#include "app/mainframe.h"
#include "app/resource_library.h"
#include "app/searchdoc.h"
#include "app/searchview.h"
#include "framework/doctemplate.h"
#include "framework/module.h"
#include "framework/wnd.h"
#include "resources/resource.h"

namespace {
const char kRegistryRoot[] = "SOFTWARE\\";
} // namespace

CSearchApp theApp;

CSearchApp::CSearchApp() = default;

CSearchApp::~CSearchApp() = default;

BOOL CSearchApp::InitInstance() {
    if (!CheckSingleInstance())
        return FALSE;

    Enable3dControls();

    // A translated resource library replaces every dialog, menu and string. It stays
    // loaded for the life of the process.
    HINSTANCE resources = ::LoadLibraryA(resource_library::kFileName);
    if (resources != NULL)
        AfxSetResourceHandle(resources);

    LoadStdProfileSettings(4);

    AddDocTemplate(new CSingleDocTemplate(IDR_MAINFRAME, &CreateObject<CSearchDoc, CDocument>,
                                          &CreateObject<CMainFrame, CFrameWnd>,
                                          &CreateObject<CSearchView, CView>));

    InitRegistryRoot();

    // The frame exists only because the framework needs one; the user never sees it.
    m_nCmdShow = SW_HIDE;

    CCommandLineInfo cmdInfo;
    ParseCommandLine(cmdInfo);
    // Creating the document runs the installation, before the frame exists.
    BOOL shellCommandDone = ProcessShellCommand(cmdInfo);

    CloseMainWindow();
    return shellCommandDone;
}

BOOL CSearchApp::InitRegistryRoot() {
    static_assert(sizeof(kRegistryRoot) <= sizeof(m_pszRegistryRoot));
    std::memcpy(m_pszRegistryRoot, kRegistryRoot, sizeof(kRegistryRoot));
    return TRUE;
}

void CSearchApp::CloseMainWindow() {
    CWnd* mainWnd = AfxGetMainWnd();
    if (mainWnd != nullptr)
        mainWnd->PostMessage(WM_CLOSE, 0, 0);
}

void CSearchApp::OnAppAbout() {
    CAboutDlg aboutDlg;
    aboutDlg.DoModal();
}

BOOL CSearchApp::OnCommand(UINT id) {
    if (id == ID_APP_ABOUT) {
        OnAppAbout();
        return TRUE;
    }
    return CWinApp::OnCommand(id);
}
