// CDialog: a dialog on a template of the current resource module, modal (DoModal) or
// modeless (Create). The object travels to the dialog procedure in the creation lParam
// and is kept in DWLP_USER; messages reach the virtual handlers below.
#pragma once

#include <windows.h>

#include <string>

#include "framework/commandmap.h"
#include "framework/wnd.h"

class CDataExchange;

class CDialog : public CWnd {
public:
    explicit CDialog(UINT nIDTemplate, CWnd* parent = nullptr);
    ~CDialog() override;

    // IDOK, IDCANCEL or the EndDialog value; -1 when the dialog could not be made.
    virtual INT_PTR DoModal();
    // Modeless: the window stays until DestroyWindow.
    BOOL Create(UINT nIDTemplate, CWnd* parent = nullptr);
    void EndDialog(INT_PTR result) { ::EndDialog(m_hWnd, result); }

    // Runs DoDataExchange in one direction: TRUE reads the controls into the members,
    // FALSE fills the controls. FALSE when a control refused its value.
    BOOL UpdateData(BOOL saveAndValidate = TRUE);

    std::string GetDlgItemText(int id) const;
    void SetDlgItemText(int id, const char* text) { ::SetDlgItemTextA(m_hWnd, id, text); }
    void EnableDlgItem(int id, BOOL enable) { ::EnableWindow(GetDlgItem(id), enable); }
    void ShowDlgItem(int id, int showCommand) { ::ShowWindow(GetDlgItem(id), showCommand); }
    UINT IsDlgButtonChecked(int id) const { return ::IsDlgButtonChecked(m_hWnd, id); }
    void CheckDlgButton(int id, UINT state) { ::CheckDlgButton(m_hWnd, id, state); }

    UINT m_nIDTemplate;

protected:
    // Fills the controls (UpdateData(FALSE)); TRUE lets the system set the focus.
    virtual BOOL OnInitDialog();
    // Reads the controls and ends with IDOK unless a control refused its value.
    virtual void OnOK();
    virtual void OnCancel() { EndDialog(IDCANCEL); }
    // Tries m_commands, then IDOK and IDCANCEL.
    BOOL OnCommand(UINT id, UINT notifyCode, HWND control) override;
    virtual BOOL DoDataExchange(CDataExchange*) { return TRUE; }
    // Any other message: TRUE with `result` set when handled.
    virtual BOOL OnDialogMessage(UINT /*message*/, WPARAM, LPARAM, INT_PTR& /*result*/) {
        return FALSE;
    }

    CCommandMap m_commands;
    CWnd* m_pParentWnd;

private:
    static INT_PTR CALLBACK DialogProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
};
