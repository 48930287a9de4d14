// CMainFrame: the hidden main window with its toolbar and status bar.
#pragma once

#include "framework/controlbars.h"
#include "framework/framewnd.h"

class CMainFrame : public CFrameWnd {
protected:
    int OnCreate(LPCREATESTRUCTA createStruct) override;

private:
    CStatusBar m_wndStatusBar;
    CToolBar m_wndToolBar;
};
