#include "app/searchview.h"

#include "framework/winapp.h"

void CSearchView::OnInitialUpdate() {
    CView::OnInitialUpdate();
    CWnd* mainWnd = AfxGetMainWnd();
    if (mainWnd != nullptr)
        mainWnd->MoveWindow(40, 20, 450, 400, TRUE);
}

void CSearchView::OnDraw(HDC) {}
