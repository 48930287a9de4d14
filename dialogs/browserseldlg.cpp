#include "dialogs/browserseldlg.h"

#include <commdlg.h>

#include <algorithm>
#include <cstring>
#include <iterator>
#include <string>

#include "framework/strings.h"
#include "resources/resource.h"
#include "platform/bounded_text.h"

namespace {

const char kOtherBrowserLabel[] = "Other Browser";

// The centre of a control in the dialog's client coordinates.
POINT ControlCentre(HWND dialog, int id) {
    RECT rect = {};
    ::GetWindowRect(::GetDlgItem(dialog, id), &rect);
    POINT centre = {(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2};
    ::ScreenToClient(dialog, &centre);
    return centre;
}

void MoveUp(HWND dialog, int id, int distance) {
    HWND control = ::GetDlgItem(dialog, id);
    RECT rect = {};
    ::GetWindowRect(control, &rect);
    POINT topLeft = {rect.left, rect.top};
    ::ScreenToClient(dialog, &topLeft);
    ::MoveWindow(control, topLeft.x, topLeft.y - distance, rect.right - rect.left,
                 rect.bottom - rect.top, TRUE);
    ::ShowWindow(control, SW_SHOW);
}

} // namespace

CBrowserSelDlg::CBrowserSelDlg()
    : CDialog(IDD_BROWSER_SELECT), m_szBrowserPath(), m_nSelection(0), m_bShowNetscape3(0),
      m_bShowIE(0), m_bShowOther(1), m_nCodes(), m_nRows(0), m_nDetected(0), m_rows() {
    m_commands.On(IDC_BROWSE, [this](UINT) { OnBrowse(); });
    m_commands.OnRange(IDC_BROWSER_RADIO_FIRST, IDC_BROWSER_RADIO_LAST,
                       [this](UINT id) { OnBrowserRadio(id); });
}

BOOL CBrowserSelDlg::OnInitDialog() {
    CDialog::OnInitDialog();

    m_installations = DetectNetscapeInstallations();
    m_rows = browser::BuildRows(m_bShowIE != 0, m_bShowNetscape3 != 0,
                                static_cast<int>(m_installations.size()), m_bShowOther != 0);
    // Installations without a row are dropped here, so that every kept entry has one.
    m_installations.resize(static_cast<std::size_t>(m_rows.detectedShown));
    m_nDetected = m_rows.detectedShown;
    m_nRows = m_rows.rows;
    std::copy(std::begin(m_rows.codes), std::end(m_rows.codes), m_nCodes);

    FitToRows();
    LabelRows();

    if (m_nRows > 0) {
        CheckDlgButton(IDC_BROWSER_RADIO_FIRST + m_nSelection, BST_CHECKED);
        OnBrowserRadio(IDC_BROWSER_RADIO_FIRST + m_nSelection);
    }
    return TRUE;
}

void CBrowserSelDlg::FitToRows() {
    int span = ControlCentre(m_hWnd, IDC_BROWSER_RADIO_LAST).y -
               ControlCentre(m_hWnd, IDC_BROWSER_RADIO_FIRST).y;
    int shrink = browser::RowsShrink(span, m_nRows);
    MoveUp(m_hWnd, IDC_BROWSER_PATH, shrink);
    MoveUp(m_hWnd, IDC_BROWSE, shrink);
    MoveUp(m_hWnd, IDOK, shrink);
    RECT window = {};
    ::GetWindowRect(m_hWnd, &window);
    MoveWindow(window.left, window.top, window.right - window.left,
               window.bottom - window.top - shrink, FALSE);
}

void CBrowserSelDlg::LabelRows() {
    for (int row = 0; row < browser::kMaxRows; ++row) {
        int id = IDC_BROWSER_RADIO_FIRST + row;
        if (row >= m_nRows) {
            ShowDlgItem(id, SW_HIDE);
            continue;
        }
        std::string label;
        if (m_nCodes[row] == browser::kCodeIE) {
            label = LoadResString(IDS_IE_LABEL);
        } else if (m_nCodes[row] == browser::kCodeNavigator3) {
            label = LoadResString(IDS_NETSCAPE3_LABEL);
        } else if (row == m_nRows - 1) {
            label = kOtherBrowserLabel;
        } else {
            int detected = browser::DetectedIndexOfRow(m_rows, row);
            if (detected >= 0)
                label = m_installations[static_cast<std::size_t>(detected)].label;
        }
        SetDlgItemText(id, label.c_str());
    }
}

void CBrowserSelDlg::OnBrowserRadio(UINT id) {
    BOOL lastRow = static_cast<int>(id - IDC_BROWSER_RADIO_FIRST) == m_nRows - 1;
    EnableDlgItem(IDC_BROWSER_PATH, lastRow);
    EnableDlgItem(IDC_BROWSE, lastRow);
    m_nSelection = static_cast<int>(id - IDC_BROWSER_RADIO_FIRST);
}

void CBrowserSelDlg::OnBrowse() {
    char file[MAX_PATH] = "*.exe";
    OPENFILENAMEA dialog = {};
    dialog.lStructSize = sizeof(dialog);
    dialog.hwndOwner = m_hWnd;
    dialog.lpstrFilter = "*.exe\0*.exe\0";
    dialog.lpstrFile = file;
    dialog.nMaxFile = sizeof(file);
    dialog.lpstrDefExt = "exe";
    dialog.Flags = OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT;
    if (::GetOpenFileNameA(&dialog))
        SetDlgItemText(IDC_BROWSER_PATH, file);
}

void CBrowserSelDlg::OnOK() {
    int row = m_nSelection;
    // The edit field goes with the window: read it before the dialog ends.
    std::string typed = GetDlgItemText(IDC_BROWSER_PATH);
    EndDialog(IDOK);

    int detected = browser::DetectedIndexOfRow(m_rows, row);
    if (row == m_nRows - 1)
        bounded::CopyCut(m_szBrowserPath, sizeof(m_szBrowserPath), typed.c_str());
    else if (detected >= 0)
        bounded::CopyCut(m_szBrowserPath, sizeof(m_szBrowserPath),
                         m_installations[static_cast<std::size_t>(detected)].path.c_str());
    else
        m_szBrowserPath[0] = '\0';
    if (row >= 0 && row < m_nRows)
        m_nSelection = m_nCodes[row];
}

void CBrowserSelDlg::OnDestroy() {
    m_installations.clear();
    m_nDetected = 0;
    CDialog::OnDestroy();
}
