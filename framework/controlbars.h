// CToolBar and CStatusBar: the common-controls bars of a frame, bound to their objects
// so that the frame can find them by child id.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "framework/afxres.h"
#include "framework/wnd.h"

// Bar styles in the low word of a Create style, as alignment and border of the bar.
enum : DWORD {
    CBRS_BORDER_TOP = 0x0200,
    CBRS_BORDER_BOTTOM = 0x0800,
    CBRS_ALIGN_TOP = 0x2000,
    CBRS_ALIGN_BOTTOM = 0x8000,
    CBRS_TOP = CBRS_ALIGN_TOP | CBRS_BORDER_BOTTOM,
    CBRS_BOTTOM = CBRS_ALIGN_BOTTOM | CBRS_BORDER_TOP,
};

class CControlBar : public CWnd {
protected:
    // Makes a control of `className` with the bar style mapped to common-control styles.
    BOOL CreateBar(const char* className, CWnd* parent, DWORD style, DWORD controlStyle, UINT id);
};

class CToolBar : public CControlBar {
public:
    BOOL Create(CWnd* parent, DWORD style = WS_CHILD | WS_VISIBLE | CBRS_TOP,
                UINT id = AFX_IDW_TOOLBAR);
    // Buttons from the RT_TOOLBAR resource `id` and their images from bitmap `id`.
    BOOL LoadToolBar(UINT id);
};

class CStatusBar : public CControlBar {
public:
    BOOL Create(CWnd* parent, DWORD style = WS_CHILD | WS_VISIBLE | CBRS_BOTTOM,
                UINT id = AFX_IDW_STATUS_BAR);
    // Pane 0 (ID_SEPARATOR) stretches; every other pane shows the string of its id and
    // fails the call when that string is missing.
    BOOL SetIndicators(const UINT* ids, int count);
    void SetPaneText(int index, const char* text);
    // Pane widths from the bar's width, and the lock-key indicators from the keyboard.
    void UpdateLayout();

private:
    struct Pane {
        UINT id;
        std::string text;
        int width;
    };
    std::vector<Pane> m_panes;
};
