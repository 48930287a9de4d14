#include "framework/controlbars.h"

#include <commctrl.h>

#include <algorithm>

#include "framework/module.h"
#include "framework/strings.h"

namespace {
// Layout of an RT_TOOLBAR resource: version, image size, count, then one command id per
// button (0 for a separator).
struct ToolBarData {
    WORD version;
    WORD width;
    WORD height;
    WORD count;
};

const int kPanePadding = 10;
} // namespace

BOOL CControlBar::CreateBar(const char* className, CWnd* parent, DWORD style, DWORD controlStyle,
                            UINT id) {
    // The common controls are registered with the first bar, not at start-up: comctl32 is
    // delay-loaded, and nothing before the frame uses it. The frame's windows (the about
    // box's trackbar among them) come after its bars.
    INITCOMMONCONTROLSEX controls = {sizeof(controls), ICC_BAR_CLASSES | ICC_WIN95_CLASSES};
    ::InitCommonControlsEx(&controls);
    DWORD windowStyle = (style & 0xFFFF0000u) | controlStyle;
    if (style & CBRS_ALIGN_TOP)
        windowStyle |= CCS_TOP;
    else if (style & CBRS_ALIGN_BOTTOM)
        windowStyle |= CCS_BOTTOM;
    HWND hwnd = ::CreateWindowExA(0, className, NULL, windowStyle, 0, 0, 0, 0, parent->m_hWnd,
                                  reinterpret_cast<HMENU>(static_cast<UINT_PTR>(id)),
                                  AfxGetInstanceHandle(), NULL);
    if (hwnd == NULL)
        return FALSE;
    Attach(hwnd);
    return TRUE;
}

BOOL CToolBar::Create(CWnd* parent, DWORD style, UINT id) {
    if (!CreateBar(TOOLBARCLASSNAMEA, parent, style, 0, id))
        return FALSE;
    SendMessage(TB_BUTTONSTRUCTSIZE, sizeof(TBBUTTON));
    return TRUE;
}

BOOL CToolBar::LoadToolBar(UINT id) {
    HINSTANCE module = AfxGetResourceHandle();
    HRSRC resource = ::FindResourceA(module, MAKEINTRESOURCEA(id), MAKEINTRESOURCEA(RT_TOOLBAR_ID));
    if (resource == NULL)
        return FALSE;
    DWORD size = ::SizeofResource(module, resource);
    HGLOBAL loaded = ::LoadResource(module, resource);
    const auto* data =
        loaded != NULL ? static_cast<const ToolBarData*>(::LockResource(loaded)) : nullptr;
    if (data == nullptr || size < sizeof(ToolBarData) || data->version != 1)
        return FALSE;
    // Never trust the count beyond the bytes that are really there.
    size_t count = std::min<size_t>(data->count, (size - sizeof(ToolBarData)) / sizeof(WORD));
    const WORD* ids = reinterpret_cast<const WORD*>(data + 1);

    std::vector<TBBUTTON> buttons(count);
    int images = 0;
    for (size_t i = 0; i < count; ++i) {
        TBBUTTON& button = buttons[i];
        button.idCommand = ids[i];
        button.fsState = TBSTATE_ENABLED;
        if (ids[i] == 0) {
            button.fsStyle = TBSTYLE_SEP;
        } else {
            button.fsStyle = TBSTYLE_BUTTON;
            button.iBitmap = images++;
        }
    }
    SendMessage(TB_SETBITMAPSIZE, 0, MAKELPARAM(data->width, data->height));
    SendMessage(TB_SETBUTTONSIZE, 0, MAKELPARAM(data->width + 7, data->height + 7));
    TBADDBITMAP bitmap = {module, id};
    if (images > 0 && SendMessage(TB_ADDBITMAP, images, reinterpret_cast<LPARAM>(&bitmap)) == -1)
        return FALSE;
    if (!buttons.empty() &&
        !SendMessage(TB_ADDBUTTONSA, buttons.size(), reinterpret_cast<LPARAM>(buttons.data())))
        return FALSE;
    SendMessage(TB_AUTOSIZE);
    return TRUE;
}

BOOL CStatusBar::Create(CWnd* parent, DWORD style, UINT id) {
    return CreateBar(STATUSCLASSNAMEA, parent, style, SBARS_SIZEGRIP, id);
}

BOOL CStatusBar::SetIndicators(const UINT* ids, int count) {
    m_panes.clear();
    BOOL result = TRUE;
    for (int i = 0; i < count; ++i) {
        Pane pane = {ids[i], std::string(), 0};
        if (pane.id != ID_SEPARATOR) {
            pane.text = LoadResString(pane.id);
            if (pane.text.empty())
                result = FALSE;
        }
        m_panes.push_back(pane);
    }
    if (m_hWnd == NULL || !result)
        return FALSE;

    HDC dc = ::GetDC(m_hWnd);
    HGDIOBJ old = ::SelectObject(dc, reinterpret_cast<HGDIOBJ>(SendMessage(WM_GETFONT)));
    for (Pane& pane : m_panes) {
        SIZE extent = {0, 0};
        if (!pane.text.empty())
            ::GetTextExtentPoint32A(dc, pane.text.c_str(), static_cast<int>(pane.text.size()),
                                    &extent);
        pane.width = extent.cx + kPanePadding;
    }
    ::SelectObject(dc, old);
    ::ReleaseDC(m_hWnd, dc);
    UpdateLayout();
    SetPaneText(0, LoadResString(AFX_IDS_IDLEMESSAGE).c_str());
    return TRUE;
}

void CStatusBar::SetPaneText(int index, const char* text) {
    if (m_hWnd != NULL && index >= 0 && index < static_cast<int>(m_panes.size()))
        SendMessage(SB_SETTEXTA, index, reinterpret_cast<LPARAM>(text));
}

void CStatusBar::UpdateLayout() {
    if (m_hWnd == NULL || m_panes.empty())
        return;
    RECT client;
    ::GetClientRect(m_hWnd, &client);
    int fixed = 0;
    for (size_t i = 1; i < m_panes.size(); ++i)
        fixed += m_panes[i].width;
    int grip = ::GetSystemMetrics(SM_CXVSCROLL);
    std::vector<int> rightEdges(m_panes.size());
    int right = std::max(0, static_cast<int>(client.right) - fixed - grip);
    rightEdges[0] = right;
    for (size_t i = 1; i < m_panes.size(); ++i) {
        right += m_panes[i].width;
        rightEdges[i] = right;
    }
    rightEdges.back() = -1;
    SendMessage(SB_SETPARTS, rightEdges.size(), reinterpret_cast<LPARAM>(rightEdges.data()));

    for (size_t i = 1; i < m_panes.size(); ++i) {
        int key = 0;
        if (m_panes[i].id == ID_INDICATOR_CAPS)
            key = VK_CAPITAL;
        else if (m_panes[i].id == ID_INDICATOR_NUM)
            key = VK_NUMLOCK;
        else if (m_panes[i].id == ID_INDICATOR_SCRL)
            key = VK_SCROLL;
        bool on = key == 0 || (::GetKeyState(key) & 1) != 0;
        SetPaneText(static_cast<int>(i), on ? m_panes[i].text.c_str() : "");
    }
}
