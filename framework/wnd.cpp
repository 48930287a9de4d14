#include "framework/wnd.h"

#include <vector>

#include "framework/module.h"

namespace {
// The object whose window CreateWindowEx is making right now. Messages arrive before
// CreateWindowEx returns (WM_GETMINMAXINFO even precedes WM_NCCREATE), so the first
// message of a new window binds it to this object.
CWnd* g_pWndCreating = nullptr;
const char kObjectProperty[] = "LumoraCWnd";
} // namespace

CWnd::~CWnd() {
    // A window that outlives its object must not call into freed memory.
    if (m_hWnd != NULL && ::IsWindow(m_hWnd)) {
        HWND hwnd = m_hWnd;
        Detach();
        ::DestroyWindow(hwnd);
    }
}

CWnd* CWnd::FromHandlePermanent(HWND hwnd) {
    return static_cast<CWnd*>(::GetPropA(hwnd, kObjectProperty));
}

void CWnd::Attach(HWND hwnd) {
    m_hWnd = hwnd;
    m_bWasAttached = TRUE;
    ::SetPropA(hwnd, kObjectProperty, this);
}

void CWnd::Detach() {
    if (m_hWnd != NULL)
        ::RemovePropA(m_hWnd, kObjectProperty);
    m_hWnd = NULL;
}

BOOL CWnd::CreateEx(DWORD exStyle, const char* className, const char* title, DWORD style, int x,
                    int y, int width, int height, HWND parent, HMENU menuOrId, void* createParam) {
    CWnd* previous = g_pWndCreating;
    g_pWndCreating = this;
    HWND hwnd = ::CreateWindowExA(exStyle, className, title, style, x, y, width, height, parent,
                                  menuOrId, AfxGetInstanceHandle(), createParam);
    g_pWndCreating = previous;
    return hwnd != NULL;
}

BOOL CWnd::DestroyWindow() {
    return m_hWnd != NULL && ::DestroyWindow(m_hWnd);
}

std::string CWnd::GetWindowText() const {
    int length = ::GetWindowTextLengthA(m_hWnd);
    if (length <= 0)
        return std::string();
    std::vector<char> buffer(static_cast<size_t>(length) + 1);
    int copied = ::GetWindowTextA(m_hWnd, buffer.data(), length + 1);
    return std::string(buffer.data(), copied > 0 ? static_cast<size_t>(copied) : 0);
}

LRESULT CWnd::Default(UINT message, WPARAM wParam, LPARAM lParam) {
    return ::DefWindowProcA(m_hWnd, message, wParam, lParam);
}

void CWnd::OnPaint() {
    PAINTSTRUCT paint;
    ::BeginPaint(m_hWnd, &paint);
    ::EndPaint(m_hWnd, &paint);
}

LRESULT CWnd::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_CREATE:
        return OnCreate(reinterpret_cast<LPCREATESTRUCTA>(lParam));
    case WM_COMMAND:
        if (OnCommand(LOWORD(wParam), HIWORD(wParam), reinterpret_cast<HWND>(lParam)))
            return 0;
        break;
    case WM_SIZE:
        OnSize(static_cast<UINT>(wParam), LOWORD(lParam), HIWORD(lParam));
        break;
    case WM_CLOSE:
        OnClose();
        return 0;
    case WM_DESTROY:
        OnDestroy();
        break;
    case WM_PAINT:
        OnPaint();
        return 0;
    default:
        break;
    }
    return Default(message, wParam, lParam);
}

LRESULT CALLBACK CWnd::StdWndProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    CWnd* wnd = FromHandlePermanent(hwnd);
    if (wnd == nullptr && g_pWndCreating != nullptr && g_pWndCreating->m_hWnd == NULL) {
        wnd = g_pWndCreating;
        wnd->Attach(hwnd);
    }
    if (wnd == nullptr)
        return ::DefWindowProcA(hwnd, message, wParam, lParam);
    if (message == WM_NCDESTROY) {
        LRESULT result = wnd->Default(message, wParam, lParam);
        wnd->Detach();
        wnd->PostNcDestroy();
        return result;
    }
    return wnd->WindowProc(message, wParam, lParam);
}
