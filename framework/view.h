// CView: the child window that shows the document inside the frame.
#pragma once

#include "framework/wnd.h"

class CDocument;
class CFrameWnd;
struct CCreateContext;

class CView : public CWnd {
public:
    // Creates the window and joins the context's document. On failure the view has
    // already deleted itself.
    BOOL CreateView(CFrameWnd* parent, UINT id, CCreateContext* context);
    CDocument* GetDocument() const { return m_pDocument; }

    virtual void OnInitialUpdate() { OnUpdate(nullptr, 0, nullptr); }
    virtual void OnUpdate(CView* sender, LPARAM hint, void* hintObject);
    virtual void OnDraw(HDC dc) = 0;
    virtual BOOL PreCreateWindow(CREATESTRUCTA&) { return TRUE; }
    // The first stop of a frame's commands; TRUE when handled.
    virtual BOOL OnViewCommand(UINT /*id*/, UINT /*notifyCode*/, HWND /*control*/) { return FALSE; }

    // Set by CDocument::AddView and RemoveView.
    CDocument* m_pDocument = nullptr;

protected:
    int OnCreate(LPCREATESTRUCTA createStruct) override;
    void OnPaint() override;
    void OnDestroy() override;
    void PostNcDestroy() override { delete this; }
};
