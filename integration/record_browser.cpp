// The browser choice: the CD's "Browser" setting when that browser is really here, else
// the user's answer in the browser selection dialog; recorded in the installed
// search.ini and announced in the application key's "Parameters" subkey.
#include "setup/setup.h"

#include <memory>

#include "app/searchapp.h"
#include "dialogs/browserseldlg.h"
#include "integration/browser_rules.h"
#include "integration/shortcut_rules.h"
#include "platform/bounded_text.h"
#include "platform/filemgr.h"
#include "platform/ini.h"
#include "platform/registry.h"
#include "setup/install_rules.h"
#include "setup/settings.h"

namespace {

const char kParametersText[] =
    "3.0 is a self-contained package. All parameters are stored in file search.ini";

} // namespace

BOOL CSetup::RecordBrowser() {
    std::unique_ptr<char[]> text(new char[browser::kBrowserTextSize]());
    m_pSourceIni->GetValue(settings::kCommonSection, settings::kBrowser, text.get(),
                           browser::kBrowserTextSize);

    int kind = browser::KindFromCode(text.get());
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
            valid = m_pFileMgr->FileExists(text.get());
            break;
        }
        if (valid)
            m_nBrowserKind = kind;
        else
            text[0] = '\0';
    }
    if (text[0] == '\0')
        ChooseBrowser(text.get(), browser::kBrowserTextSize);

    // m_pszBrowser holds less than the text read: a longer browser text is kept only in
    // search.ini, where it is written whole.
    bounded::CopyCut(m_pszBrowser, kSetupBrowserSize, text.get());

    char group[kSetupPathSize] = {};
    char name[kSetupPathSize] = {};
    m_pSourceIni->GetValue(settings::kCommonSection, settings::kApplicationGroup, group,
                           sizeof(group));
    m_pSourceIni->GetValue(settings::kCommonSection, settings::kApplicationName, name,
                           sizeof(name));
    // The same key, and the same bound, as the application's own values.
    const char* root = m_pApp && m_pApp->m_pszRegistryRoot ? m_pApp->m_pszRegistryRoot : "";
    char key[kSetupPathSize] = {};
    if (shortcuts::BuildApplicationKey(root, m_bPublisher != FALSE, group, name,
                                       shortcuts::kParametersSubkey, key, sizeof(key)))
        m_pRegistry->SetString(HKEY_CURRENT_USER, key, "", kParametersText, KEY_ALL_ACCESS);

    char installedIni[kSetupPathSize + 32] = {};
    if (rules::BuildSettingsPath(m_pszDestDir, m_bPublisher != 0, installedIni,
                                 sizeof(installedIni))) {
        CIni installed(installedIni);
        installed.SetValue(settings::kCommonSection, settings::kBrowser, text.get());
    }
    return TRUE;
}

BOOL CSetup::ChooseBrowser(char* text, size_t textSize) {
    CBrowserSelDlg dialog;
    dialog.m_bShowNetscape3 = m_bNetscapeFound;
    dialog.m_bShowIE = m_bIEFound;
    dialog.DoModal();

    if (dialog.m_nSelection == browser::kCodeNavigator3) {
        bounded::CopyCut(text, textSize, "netscape");
        m_nBrowserKind = browser::kNavigator;
    } else if (dialog.m_nSelection == browser::kCodeIE) {
        bounded::CopyCut(text, textSize, "msie");
        m_nBrowserKind = browser::kInternetExplorer;
    } else {
        bounded::CopyCut(text, textSize, dialog.m_szBrowserPath);
        m_nBrowserKind = browser::kOther;
    }
    return TRUE;
}
