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
    // The copy that follows lets no messages through: paint the notice now, and push the
    // drawing out of the process (Wine's X driver batches it until the next message).
    ::UpdateWindow(notice->m_hWnd);
    ::GdiFlush();
    return notice;
}
