// CBrowserSelDlg: asks which browser the search application shall run in. One radio row
// per browser found (Internet Explorer, Navigator 3.x, each detected Communicator 4.x or
// Netscape 6) and a last "Other Browser" row whose program the user types or browses to.
// After DoModal, m_nSelection holds the choice code (0 Internet Explorer, 1 Navigator,
// 2 a browser given by m_szBrowserPath).
#pragma once

#include <vector>

#include "framework/dialog.h"
#include "integration/browser_rules.h"
#include "platform/netscape_installations.h"

class CBrowserSelDlg : public CDialog {
public:
    CBrowserSelDlg();

    char m_szBrowserPath[browser::kBrowserTextSize];
    int m_nSelection;
    BOOL m_bShowNetscape3;
    BOOL m_bShowIE;
    BOOL m_bShowOther;
    browser::Choice m_nCodes[browser::kMaxRows];
    int m_nRows;
    int m_nDetected;
    // The detected installations with a row, from initialisation to destruction.
    std::vector<NetscapeInstallation> m_installations;

protected:
    BOOL OnInitDialog() override;
    void OnOK() override;
    // Escape and the close box hand back the highlighted row, as OK does: the engine
    // needs an answer either way.
    void OnCancel() override { OnOK(); }
    void OnDestroy() override;

private:
    void OnBrowse();
    void OnBrowserRadio(UINT id);
    void FitToRows();
    void LabelRows();

    browser::BrowserRows m_rows;
};
