// CWnd: a C++ object bound to one window. The object receives the window's messages
// through virtual handlers; the binding is made on the window's first message and
// undone on its last (WM_NCDESTROY), after which PostNcDestroy may delete the object.
#pragma once

#include <windows.h>

#include <string>

class CWnd {
public:
    CWnd() = default;
    virtual ~CWnd();
    CWnd(const CWnd&) = delete;
    CWnd& operator=(const CWnd&) = delete;

    HWND m_hWnd = NULL;

    HWND GetSafeHwnd() const { return m_hWnd; }
    // Coordinates as for CreateWindowEx (CW_USEDEFAULT allowed).
    BOOL CreateEx(DWORD exStyle, const char* className, const char* title, DWORD style, int x,
                  int y, int width, int height, HWND parent, HMENU menuOrId, void* createParam);
    BOOL DestroyWindow();

    BOOL ShowWindow(int showCommand) { return ::ShowWindow(m_hWnd, showCommand); }
    BOOL MoveWindow(int x, int y, int width, int height, BOOL repaint = TRUE) {
        return ::MoveWindow(m_hWnd, x, y, width, height, repaint);
    }
    void SetWindowText(const char* text) { ::SetWindowTextA(m_hWnd, text); }
    std::string GetWindowText() const;
    BOOL PostMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) {
        return ::PostMessageA(m_hWnd, message, wParam, lParam);
    }
    LRESULT SendMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) {
        return ::SendMessageA(m_hWnd, message, wParam, lParam);
    }
    HWND GetDlgItem(int id) const { return ::GetDlgItem(m_hWnd, id); }

    // The object bound to `hwnd` by this framework, or nullptr for foreign windows.
    static CWnd* FromHandlePermanent(HWND hwnd);
    // The window procedure of every window class this framework registers.
    static LRESULT CALLBACK StdWndProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

protected:
    // Dispatches to the handlers below; anything unhandled goes to Default.
    virtual LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT Default(UINT message, WPARAM wParam, LPARAM lParam);

    virtual int OnCreate(LPCREATESTRUCTA) { return 0; }
    // TRUE when the command was handled.
    virtual BOOL OnCommand(UINT /*id*/, UINT /*notifyCode*/, HWND /*control*/) { return FALSE; }
    virtual void OnSize(UINT /*type*/, int /*cx*/, int /*cy*/) {}
    virtual void OnClose() { DestroyWindow(); }
    virtual void OnDestroy() {}
    virtual void OnPaint();
    // Called when the window is gone; windows that own themselves delete `this` here.
    virtual void PostNcDestroy() {}

    // TRUE once a window was bound: a failed creation that got that far has already
    // run PostNcDestroy.
    BOOL m_bWasAttached = FALSE;

    // Binds this object to `hwnd` (also to a control of a foreign class, so that it can
    // be found with FromHandlePermanent); Detach undoes it.
    void Attach(HWND hwnd);
    void Detach();
};
