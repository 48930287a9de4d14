#include "framework/view.h"

#include "framework/document.h"
#include "framework/framewnd.h"
#include "framework/module.h"

namespace {
const char kViewClass[] = "LumoraView";

BOOL RegisterViewClass() {
    WNDCLASSA existing;
    if (::GetClassInfoA(AfxGetInstanceHandle(), kViewClass, &existing))
        return TRUE;
    WNDCLASSA wc = {};
    wc.style = CS_DBLCLKS | CS_HREDRAW | CS_VREDRAW;
    wc.lpfnWndProc = &CWnd::StdWndProc;
    wc.hInstance = AfxGetInstanceHandle();
    wc.hCursor = ::LoadCursorA(NULL, MAKEINTRESOURCEA(32512)); // IDC_ARROW
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    wc.lpszClassName = kViewClass;
    return ::RegisterClassA(&wc) != 0;
}
} // namespace

BOOL CView::CreateView(CFrameWnd* parent, UINT id, CCreateContext* context) {
    CREATESTRUCTA cs = {};
    cs.style = WS_CHILD | WS_VISIBLE;
    cs.dwExStyle = WS_EX_CLIENTEDGE;
    cs.hwndParent = parent->m_hWnd;
    cs.hMenu = reinterpret_cast<HMENU>(static_cast<UINT_PTR>(id));
    if (!RegisterViewClass() || !PreCreateWindow(cs) ||
        !CreateEx(cs.dwExStyle, kViewClass, "", cs.style, 0, 0, 0, 0, cs.hwndParent, cs.hMenu,
                  context)) {
        if (!m_bWasAttached)
            delete this;
        return FALSE;
    }
    return TRUE;
}

int CView::OnCreate(LPCREATESTRUCTA createStruct) {
    auto* context = static_cast<CCreateContext*>(createStruct->lpCreateParams);
    if (context != nullptr && context->m_pCurrentDoc != nullptr)
        context->m_pCurrentDoc->AddView(this);
    return 0;
}

void CView::OnUpdate(CView*, LPARAM, void*) {
    ::InvalidateRect(m_hWnd, NULL, TRUE);
}

void CView::OnPaint() {
    PAINTSTRUCT paint;
    HDC dc = ::BeginPaint(m_hWnd, &paint);
    OnDraw(dc);
    ::EndPaint(m_hWnd, &paint);
}

void CView::OnDestroy() {
    if (m_pDocument != nullptr)
        m_pDocument->RemoveView(this);
}
