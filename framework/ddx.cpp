#include "framework/ddx.h"

#include <cstring>
#include <vector>

#include "framework/dialog.h"

namespace {
// The text of `control`; FALSE when it is longer than maxChars (0: no limit).
BOOL ReadText(HWND control, std::size_t maxChars, std::string& text) {
    int length = ::GetWindowTextLengthA(control);
    if (length < 0)
        length = 0;
    if (maxChars != 0 && static_cast<std::size_t>(length) > maxChars)
        return FALSE;
    std::vector<char> buffer(static_cast<std::size_t>(length) + 1);
    int copied = ::GetWindowTextA(control, buffer.data(), static_cast<int>(buffer.size()));
    text.assign(buffer.data(), copied > 0 ? static_cast<std::size_t>(copied) : 0);
    return TRUE;
}

bool IsRadioButton(HWND control) {
    LONG type = ::GetWindowLongA(control, GWL_STYLE) & BS_TYPEMASK;
    return type == BS_RADIOBUTTON || type == BS_AUTORADIOBUTTON;
}
} // namespace

HWND CDataExchange::PrepareCtrl(int id) const {
    return m_pDlgWnd->GetDlgItem(id);
}

BOOL CDataExchange::Fail(HWND control) const {
    if (control != NULL)
        ::SetFocus(control);
    ::MessageBeep(MB_ICONEXCLAMATION);
    return FALSE;
}

BOOL DDX_Text(CDataExchange* pDX, int id, std::string& value, std::size_t maxChars) {
    HWND control = pDX->PrepareCtrl(id);
    if (control == NULL)
        return FALSE;
    if (!pDX->m_bSaveAndValidate) {
        if (maxChars != 0)
            ::SendMessageA(control, EM_LIMITTEXT, maxChars, 0);
        ::SetWindowTextA(control, value.c_str());
        return TRUE;
    }
    std::string text;
    if (!ReadText(control, maxChars, text))
        return pDX->Fail(control);
    value = std::move(text);
    return TRUE;
}

BOOL DDX_Text(CDataExchange* pDX, int id, char* buffer, std::size_t bufferSize) {
    if (buffer == nullptr || bufferSize == 0)
        return FALSE;
    HWND control = pDX->PrepareCtrl(id);
    if (control == NULL)
        return FALSE;
    std::size_t maxChars = bufferSize - 1;
    if (!pDX->m_bSaveAndValidate) {
        ::SendMessageA(control, EM_LIMITTEXT, maxChars, 0);
        // The buffer may lack a terminator: never read past its end.
        std::string text(buffer, strnlen(buffer, bufferSize));
        ::SetWindowTextA(control, text.c_str());
        return TRUE;
    }
    std::string text;
    if (!ReadText(control, maxChars, text))
        return pDX->Fail(control);
    std::memcpy(buffer, text.c_str(), text.size() + 1);
    return TRUE;
}

BOOL DDX_Check(CDataExchange* pDX, int id, int& value) {
    HWND control = pDX->PrepareCtrl(id);
    if (control == NULL)
        return FALSE;
    if (pDX->m_bSaveAndValidate) {
        value = static_cast<int>(::SendMessageA(control, BM_GETCHECK, 0, 0));
    } else {
        WPARAM state = value == 1 ? BST_CHECKED : value == 2 ? BST_INDETERMINATE : BST_UNCHECKED;
        ::SendMessageA(control, BM_SETCHECK, state, 0);
    }
    return TRUE;
}

BOOL DDX_Radio(CDataExchange* pDX, int id, int& value) {
    HWND control = pDX->PrepareCtrl(id);
    if (control == NULL || !IsRadioButton(control))
        return FALSE;
    if (pDX->m_bSaveAndValidate)
        value = -1;
    // The group runs from `id` to the next control with WS_GROUP, radio buttons only.
    int index = 0;
    for (HWND button = control; button != NULL; button = ::GetWindow(button, GW_HWNDNEXT)) {
        if (button != control && (::GetWindowLongA(button, GWL_STYLE) & WS_GROUP))
            break;
        if (!IsRadioButton(button))
            continue;
        if (pDX->m_bSaveAndValidate) {
            if (::SendMessageA(button, BM_GETCHECK, 0, 0) == BST_CHECKED)
                value = index;
        } else {
            ::SendMessageA(button, BM_SETCHECK, index == value ? BST_CHECKED : BST_UNCHECKED, 0);
        }
        ++index;
    }
    return TRUE;
}
