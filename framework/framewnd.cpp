#include "framework/framewnd.h"

#include <commctrl.h>

#include <string>

#include "framework/afxres.h"
#include "framework/controlbars.h"
#include "framework/document.h"
#include "framework/module.h"
#include "framework/strings.h"
#include "framework/view.h"
#include "framework/winapp.h"

namespace {
const char kFrameClass[] = "LumoraFrame";

// Registered once, with the icon of the first frame that needs it.
BOOL RegisterFrameClass(UINT nIDResource) {
    WNDCLASSA existing;
    if (::GetClassInfoA(AfxGetInstanceHandle(), kFrameClass, &existing))
        return TRUE;
    WNDCLASSA wc = {};
    wc.style = CS_DBLCLKS;
    wc.lpfnWndProc = &CWnd::StdWndProc;
    wc.hInstance = AfxGetInstanceHandle();
    wc.hIcon = ::LoadIconA(AfxGetResourceHandle(), MAKEINTRESOURCEA(nIDResource));
    if (wc.hIcon == NULL)
        wc.hIcon = ::LoadIconA(AfxGetInstanceHandle(), MAKEINTRESOURCEA(nIDResource));
    wc.hCursor = ::LoadCursorA(NULL, MAKEINTRESOURCEA(32512)); // IDC_ARROW
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    wc.lpszClassName = kFrameClass;
    return ::RegisterClassA(&wc) != 0;
}

std::string FirstLine(const std::string& text) {
    return text.substr(0, text.find('\n'));
}

// The child's own visibility: IsWindowVisible would also look at the frame, which is
// hidden while the bars are laid out and toggled.
BOOL IsVisibleChild(HWND child) {
    return child != NULL && (::GetWindowLongA(child, GWL_STYLE) & WS_VISIBLE) != 0;
}
} // namespace

BOOL CFrameWnd::LoadFrame(UINT nIDResource, DWORD style, CWnd* parent, CCreateContext* context) {
    CREATESTRUCTA cs = {};
    cs.style = style;
    cs.x = CW_USEDEFAULT;
    cs.y = CW_USEDEFAULT;
    cs.cx = CW_USEDEFAULT;
    cs.cy = CW_USEDEFAULT;
    cs.hwndParent = parent != nullptr ? parent->m_hWnd : NULL;
    cs.hMenu = ::LoadMenuA(AfxGetResourceHandle(), MAKEINTRESOURCEA(nIDResource));
    std::string title = FirstLine(LoadResString(nIDResource));

    if (!RegisterFrameClass(nIDResource) || !PreCreateWindow(cs) ||
        !CreateEx(cs.dwExStyle, kFrameClass, title.c_str(), cs.style, cs.x, cs.y, cs.cx, cs.cy,
                  cs.hwndParent, cs.hMenu, context)) {
        // A window that existed took its menu and this object with it (PostNcDestroy).
        if (!m_bWasAttached) {
            if (cs.hMenu != NULL)
                ::DestroyMenu(cs.hMenu);
            delete this;
        }
        return FALSE;
    }
    return TRUE;
}

int CFrameWnd::OnCreate(LPCREATESTRUCTA createStruct) {
    auto* context = static_cast<CCreateContext*>(createStruct->lpCreateParams);
    return OnCreateClient(createStruct, context) ? 0 : -1;
}

BOOL CFrameWnd::OnCreateClient(LPCREATESTRUCTA, CCreateContext* context) {
    if (context == nullptr || context->m_pNewViewClass == nullptr)
        return TRUE;
    CView* view = context->m_pNewViewClass();
    if (!view->CreateView(this, AFX_IDW_PANE_FIRST, context))
        return FALSE; // the view deleted itself
    m_pViewActive = view;
    return TRUE;
}

void CFrameWnd::InitialUpdateFrame(CDocument* document, BOOL makeVisible) {
    if (document != nullptr) {
        for (CView* view : document->GetViews())
            view->OnInitialUpdate();
    }
    RecalcLayout();
    if (makeVisible)
        ActivateFrame(-1);
}

void CFrameWnd::ActivateFrame(int showCommand) {
    CWinApp* app = AfxGetApp();
    if (showCommand == -1) {
        showCommand = SW_SHOW;
        // The main window takes the show command given to the program, once.
        if (app != nullptr && app->m_pMainWnd == this && app->m_nCmdShow != -1) {
            showCommand = app->m_nCmdShow;
            app->m_nCmdShow = -1;
        }
    }
    ShowWindow(showCommand);
    if (::IsWindowVisible(m_hWnd))
        ::UpdateWindow(m_hWnd);
}

void CFrameWnd::RecalcLayout() {
    RECT client;
    ::GetClientRect(m_hWnd, &client);
    HWND toolBar = GetDlgItem(AFX_IDW_TOOLBAR);
    HWND statusBar = GetDlgItem(AFX_IDW_STATUS_BAR);
    if (IsVisibleChild(toolBar)) {
        ::SendMessageA(toolBar, TB_AUTOSIZE, 0, 0);
        RECT bar;
        ::GetWindowRect(toolBar, &bar);
        client.top += bar.bottom - bar.top;
    }
    if (IsVisibleChild(statusBar)) {
        ::SendMessageA(statusBar, WM_SIZE, 0, 0);
        RECT bar;
        ::GetWindowRect(statusBar, &bar);
        client.bottom -= bar.bottom - bar.top;
        UpdateStatusPanes();
    }
    if (m_pViewActive != nullptr && m_pViewActive->m_hWnd != NULL) {
        int height = client.bottom > client.top ? client.bottom - client.top : 0;
        ::MoveWindow(m_pViewActive->m_hWnd, client.left, client.top, client.right - client.left,
                     height, TRUE);
    }
}

CStatusBar* CFrameWnd::GetStatusBar() const {
    HWND statusBar = GetDlgItem(AFX_IDW_STATUS_BAR);
    return statusBar != NULL ? dynamic_cast<CStatusBar*>(CWnd::FromHandlePermanent(statusBar))
                             : nullptr;
}

void CFrameWnd::UpdateStatusPanes() {
    if (CStatusBar* bar = GetStatusBar())
        bar->UpdateLayout();
}

void CFrameWnd::ShowPrompt(UINT commandId) {
    CStatusBar* bar = GetStatusBar();
    if (bar == nullptr)
        return;
    // The prompt is the first line of the command's string; the second is its tool tip.
    UINT id = commandId != 0 ? commandId : AFX_IDS_IDLEMESSAGE;
    bar->SetPaneText(0, FirstLine(LoadResString(id)).c_str());
}

void CFrameWnd::ToggleBar(int id) {
    HWND bar = GetDlgItem(id);
    if (bar == NULL)
        return;
    ::ShowWindow(bar, IsVisibleChild(bar) ? SW_HIDE : SW_SHOW);
    RecalcLayout();
}

BOOL CFrameWnd::OnCommand(UINT id, UINT notifyCode, HWND control) {
    // Route: the view, then the frame, then the application.
    if (m_pViewActive != nullptr && m_pViewActive->OnViewCommand(id, notifyCode, control))
        return TRUE;
    switch (id) {
    case ID_VIEW_TOOLBAR:
        ToggleBar(AFX_IDW_TOOLBAR);
        return TRUE;
    case ID_VIEW_STATUS_BAR:
        ToggleBar(AFX_IDW_STATUS_BAR);
        return TRUE;
    default:
        break;
    }
    CWinApp* app = AfxGetApp();
    return app != nullptr && app->OnCommand(id);
}

void CFrameWnd::OnSize(UINT, int, int) {
    RecalcLayout();
}

void CFrameWnd::OnClose() {
    CWinApp* app = AfxGetApp();
    bool isMain = app != nullptr && app->m_pMainWnd == this;
    DestroyWindow();
    // The document outlives its views: they let go of it while the frame is destroyed.
    if (isMain)
        app->CloseAllDocuments();
}

void CFrameWnd::PostNcDestroy() {
    CWinApp* app = AfxGetApp();
    if (app != nullptr && app->m_pMainWnd == this) {
        app->m_pMainWnd = nullptr;
        ::PostQuitMessage(0);
    }
    delete this;
}

LRESULT CFrameWnd::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_MENUSELECT:
        if (HIWORD(wParam) == 0xFFFF && lParam == 0)
            ShowPrompt(0);
        else if (!(HIWORD(wParam) & MF_POPUP))
            ShowPrompt(LOWORD(wParam));
        return 0;
    case WM_INITMENUPOPUP: {
        HMENU menu = reinterpret_cast<HMENU>(wParam);
        HWND toolBar = GetDlgItem(AFX_IDW_TOOLBAR);
        HWND statusBar = GetDlgItem(AFX_IDW_STATUS_BAR);
        ::CheckMenuItem(menu, ID_VIEW_TOOLBAR,
                        MF_BYCOMMAND | (IsVisibleChild(toolBar) ? MF_CHECKED : MF_UNCHECKED));
        ::CheckMenuItem(menu, ID_VIEW_STATUS_BAR,
                        MF_BYCOMMAND | (IsVisibleChild(statusBar) ? MF_CHECKED : MF_UNCHECKED));
        return 0;
    }
    default:
        return CWnd::WindowProc(message, wParam, lParam);
    }
}
