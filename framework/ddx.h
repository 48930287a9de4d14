// Dialog data exchange: each function moves one value between a control and a member,
// in the direction the exchange was made for, and returns FALSE when the control is
// missing or refuses the value (the control then has the focus).
#pragma once

#include <windows.h>

#include <cstddef>
#include <string>

class CDialog;

class CDataExchange {
public:
    CDataExchange(CDialog* dialog, BOOL saveAndValidate)
        : m_pDlgWnd(dialog), m_bSaveAndValidate(saveAndValidate) {}

    CDialog* m_pDlgWnd;
    // TRUE: controls to members; FALSE: members to controls.
    BOOL m_bSaveAndValidate;

    // The control `id`, or NULL when the template has none.
    HWND PrepareCtrl(int id) const;
    // Marks a refused value: focus to the control, a beep, and FALSE for the caller.
    BOOL Fail(HWND control) const;
};

// Edit text. With maxChars nonzero the field takes no more (EM_LIMITTEXT), and a longer
// text put there some other way is refused rather than cut.
BOOL DDX_Text(CDataExchange* pDX, int id, std::string& value, std::size_t maxChars = 0);
// The same for a fixed buffer: at most bufferSize - 1 characters and the terminator.
BOOL DDX_Text(CDataExchange* pDX, int id, char* buffer, std::size_t bufferSize);
// Check box state: 0 clear, 1 ticked, 2 indeterminate.
BOOL DDX_Check(CDataExchange* pDX, int id, int& value);
// Index of the ticked radio button in the group that starts at `id` (-1 for none).
BOOL DDX_Radio(CDataExchange* pDX, int id, int& value);
