// The browser choice: the CD's "Browser" setting when that browser is really here, else
// the user's answer in the browser selection dialog; recorded in the installed
// search.ini and announced in the application key's "Parameters" subkey.
#include "setup/setup.h"

#include <string>

#include "dialogs/browserseldlg.h"
#include "integration/browser_rules.h"
#include "integration/shortcut_rules.h"
#include "platform/bounded_text.h"
#include "platform/filemgr.h"
#include "platform/ini.h"
#include "platform/registry.h"
#include "setup/setting_text.h"
#include "setup/settings.h"

namespace {

const char kParametersText[] =
    "3.0 is a self-contained package. All parameters are stored in file search.ini";

} // namespace

BOOL CSetup::RecordBrowser() {
    std::string text = settings::ReadBrowser(*m_pSourceIni);
    const browser::Kind kind = browser::KindFromCode(text.c_str());
    if (kind != browser::kNoKind) {
        BOOL valid = FALSE;
        switch (kind) {
        case browser::kNavigator:
            valid = m_bNetscapeFound;
            break;
        case browser::kInternetExplorer:
            valid = m_bIEFound;
            break;
        case browser::kCommunicator:
            valid = m_bCommunicatorFound;
            break;
        default:
            valid = m_pFileMgr->FileExists(text.c_str());
            break;
        }
        if (valid)
            m_nBrowserKind = kind;
        else
            text.clear();
    }
    if (text.empty())
        ChooseBrowser(text);

    // m_pszBrowser holds less than the text: a longer browser text is kept whole only in
    // search.ini.
    bounded::CopyCut(m_pszBrowser, sizeof(m_pszBrowser), text.c_str());

    // The same key, and the same bound, as the application's own values; refused names
    // get no key.
    const settings::ApplicationNames names = settings::ReadApplicationNames(*m_pSourceIni);
    char key[bounded::kPathSize] = {};
    if (!names.refused && GetApplicationKey(names.group.c_str(), names.name.c_str(),
                                            shortcuts::kParametersSubkey, key, sizeof(key)))
        m_pRegistry->SetString(HKEY_CURRENT_USER, key, "", kParametersText, KEY_ALL_ACCESS);

    const std::string installedIni = GetInstalledSettingsPath();
    if (!installedIni.empty()) {
        CIni installed(installedIni.c_str());
        installed.SetValue(settings::kCommonSection, settings::kBrowser, text.c_str());
    }
    return TRUE;
}

BOOL CSetup::ChooseBrowser(std::string& text) {
    CBrowserSelDlg dialog;
    dialog.m_bShowNetscape3 = m_bNetscapeFound;
    dialog.m_bShowIE = m_bIEFound;
    dialog.DoModal();

    m_nBrowserKind = browser::KindForChoice(dialog.m_nSelection);
    text = browser::CodeForKind(m_nBrowserKind, dialog.m_szBrowserPath);
    return TRUE;
}
