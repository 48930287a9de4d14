// The application's record in the user's registry: its group and name, and the browser
// when the program files stay on the CD (the CD's own search.ini cannot keep the choice
// there).
#include "setup/setup.h"

#include "app/searchapp.h"
#include "integration/shortcut_rules.h"
#include "platform/bounded_text.h"
#include "platform/ini.h"
#include "platform/registry.h"
#include "setup/settings.h"

BOOL CSetup::RegisterApplication() {
    char group[kSetupPathSize] = {};
    char name[kSetupPathSize] = {};
    m_pSourceIni->GetValue(settings::kCommonSection, settings::kApplicationGroup, group,
                           sizeof(group));
    if (group[0] == '\0')
        bounded::Copy(group, sizeof(group), shortcuts::kDefaultName);
    m_pSourceIni->GetValue(settings::kCommonSection, settings::kApplicationName, name,
                           sizeof(name));
    if (name[0] == '\0')
        bounded::Copy(name, sizeof(name), shortcuts::kDefaultName);
    WriteApplicationKey(group, name);
    return 1;
}

BOOL CSetup::WriteApplicationKey(const char* group, const char* name) {
    const char* root = m_pApp && m_pApp->m_pszRegistryRoot ? m_pApp->m_pszRegistryRoot : "";
    char key[kSetupPathSize] = {};
    // A key too long for the registry's path buffer is not written at all: a shortened
    // one would belong to another application.
    if (!shortcuts::BuildApplicationKey(root, m_bPublisher != FALSE, group, name, nullptr, key,
                                        sizeof(key)))
        return FALSE;

    m_pRegistry->SetString(HKEY_CURRENT_USER, key, settings::kApplicationGroup, group,
                           KEY_ALL_ACCESS);
    int result = m_pRegistry->SetString(HKEY_CURRENT_USER, key, settings::kApplicationName, name,
                                        KEY_ALL_ACCESS);
    if (!m_bLeaveOnCD)
        return result;

    const char* code = shortcuts::BrowserCodeForKind(m_nBrowserKind, m_pszBrowser);
    if (m_bWin32s)
        return ::WriteProfileStringA(settings::kCommonSection, settings::kBrowser, code);
    return m_pRegistry->SetString(HKEY_CURRENT_USER, key, settings::kBrowser, code, KEY_ALL_ACCESS);
}
