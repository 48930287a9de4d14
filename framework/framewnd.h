// CFrameWnd: the top-level window of a document with its menu, its control bars
// (children with the ids AFX_IDW_TOOLBAR and AFX_IDW_STATUS_BAR, laid out top and
// bottom) and its view filling the rest.
#pragma once

#include "framework/doctemplate.h"
#include "framework/wnd.h"

class CDocument;
class CStatusBar;
class CView;

struct CCreateContext {
    CDocument* m_pCurrentDoc = nullptr;
    ViewFactory m_pNewViewClass = nullptr;
};

class CFrameWnd : public CWnd {
public:
    // Menu, icon and title (first line of string nIDResource) come from the resource
    // module. On failure the frame has already deleted itself.
    BOOL LoadFrame(UINT nIDResource, DWORD style = WS_OVERLAPPEDWINDOW, CWnd* parent = nullptr,
                   CCreateContext* context = nullptr);
    // Lets the view initialise from the document, then shows the frame.
    void InitialUpdateFrame(CDocument* document, BOOL makeVisible);
    // -1 means the application's show command for the main window.
    virtual void ActivateFrame(int showCommand = -1);
    virtual BOOL PreCreateWindow(CREATESTRUCTA&) { return TRUE; }
    void RecalcLayout();
    CView* GetActiveView() const { return m_pViewActive; }

protected:
    int OnCreate(LPCREATESTRUCTA createStruct) override;
    virtual BOOL OnCreateClient(LPCREATESTRUCTA createStruct, CCreateContext* context);
    BOOL OnCommand(UINT id, UINT notifyCode, HWND control) override;
    void OnSize(UINT type, int cx, int cy) override;
    void OnClose() override;
    void PostNcDestroy() override;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    void ToggleBar(int id);
    void ShowPrompt(UINT commandId);
    void UpdateStatusPanes();
    CStatusBar* GetStatusBar() const;

    CView* m_pViewActive = nullptr;
};
