#include "dialogs/copyingdlg.h"

#include "resources/resource.h"

CCopyingDlg::CCopyingDlg() : CDialog(IDD_COPYING) {}

CCopyingDlg* CCopyingDlg::Show() {
    auto* notice = new CCopyingDlg;
    if (!notice->Create(IDD_COPYING)) {
        // The window never reached the object, so nothing else will delete it.
        delete notice;
        return nullptr;
    }
    // The copy that follows lets no messages through: paint the notice now.
    ::UpdateWindow(notice->m_hWnd);
    return notice;
}
