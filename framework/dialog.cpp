#include "framework/dialog.h"

#include <vector>

#include "framework/ddx.h"
#include "framework/module.h"

CDialog::CDialog(UINT nIDTemplate, CWnd* parent)
    : m_nIDTemplate(nIDTemplate), m_pParentWnd(parent) {}

CDialog::~CDialog() {
    // A modeless window still open must stop calling into this object.
    if (m_hWnd != NULL && ::IsWindow(m_hWnd)) {
        HWND hwnd = m_hWnd;
        ::SetWindowLongPtrA(hwnd, DWLP_USER, 0);
        m_hWnd = NULL;
        ::DestroyWindow(hwnd);
    }
}

INT_PTR CDialog::DoModal() {
    HWND parent = m_pParentWnd != nullptr ? m_pParentWnd->m_hWnd : NULL;
    return ::DialogBoxParamA(AfxGetResourceHandle(), MAKEINTRESOURCEA(m_nIDTemplate), parent,
                             &CDialog::DialogProc, reinterpret_cast<LPARAM>(this));
}

BOOL CDialog::Create(UINT nIDTemplate, CWnd* parent) {
    m_nIDTemplate = nIDTemplate;
    m_pParentWnd = parent;
    HWND hwnd = ::CreateDialogParamA(AfxGetResourceHandle(), MAKEINTRESOURCEA(nIDTemplate),
                                     parent != nullptr ? parent->m_hWnd : NULL,
                                     &CDialog::DialogProc, reinterpret_cast<LPARAM>(this));
    return hwnd != NULL;
}

BOOL CDialog::UpdateData(BOOL saveAndValidate) {
    CDataExchange exchange(this, saveAndValidate);
    return DoDataExchange(&exchange);
}

std::string CDialog::GetDlgItemText(int id) const {
    HWND control = GetDlgItem(id);
    if (control == NULL)
        return std::string();
    int length = ::GetWindowTextLengthA(control);
    std::vector<char> buffer(static_cast<size_t>(length > 0 ? length : 0) + 1);
    int copied = ::GetWindowTextA(control, buffer.data(), static_cast<int>(buffer.size()));
    return std::string(buffer.data(), copied > 0 ? static_cast<size_t>(copied) : 0);
}

BOOL CDialog::OnInitDialog() {
    UpdateData(FALSE);
    return TRUE;
}

void CDialog::OnOK() {
    if (UpdateData(TRUE))
        EndDialog(IDOK);
}

BOOL CDialog::OnCommand(UINT id, UINT notifyCode, HWND control) {
    (void)control;
    if (m_commands.Dispatch(id, notifyCode))
        return TRUE;
    if (notifyCode != BN_CLICKED)
        return FALSE;
    if (id == IDOK) {
        OnOK();
        return TRUE;
    }
    if (id == IDCANCEL) {
        OnCancel();
        return TRUE;
    }
    return FALSE;
}

INT_PTR CALLBACK CDialog::DialogProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_INITDIALOG) {
        auto* dialog = reinterpret_cast<CDialog*>(lParam);
        ::SetWindowLongPtrA(hwnd, DWLP_USER, lParam);
        dialog->m_hWnd = hwnd;
        return dialog->OnInitDialog();
    }
    auto* dialog = reinterpret_cast<CDialog*>(::GetWindowLongPtrA(hwnd, DWLP_USER));
    if (dialog == nullptr)
        return FALSE;
    switch (message) {
    case WM_COMMAND:
        return dialog->OnCommand(LOWORD(wParam), HIWORD(wParam), reinterpret_cast<HWND>(lParam));
    case WM_DESTROY:
        dialog->OnDestroy();
        return FALSE;
    case WM_NCDESTROY:
        ::SetWindowLongPtrA(hwnd, DWLP_USER, 0);
        dialog->m_hWnd = NULL;
        // Last use of the object: a self-owned modeless dialog deletes itself here.
        dialog->PostNcDestroy();
        return FALSE;
    default: {
        INT_PTR result = 0;
        if (dialog->OnDialogMessage(message, wParam, lParam, result)) {
            ::SetWindowLongPtrA(hwnd, DWLP_MSGRESULT, result);
            return TRUE;
        }
        return FALSE;
    }
    }
}
