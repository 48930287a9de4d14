// The application's record in the user's registry: its group and name, and the browser
// when the program files stay on the CD (the CD's own search.ini cannot keep the choice
// there).
#include "setup/setup.h"

#include "integration/browser_rules.h"
#include "platform/registry.h"
#include "setup/setting_text.h"
#include "setup/settings.h"

BOOL CSetup::RegisterApplication() {
    // The one step that names an unnamed application; refused names get no key at all.
    const settings::ApplicationNames names =
        settings::WithDefaultNames(settings::ReadApplicationNames(*m_pSourceIni));
    if (!names.refused)
        WriteApplicationKey(names.group.c_str(), names.name.c_str());
    return TRUE;
}

BOOL CSetup::WriteApplicationKey(const char* group, const char* name) {
    char key[bounded::kPathSize] = {};
    // A key too long for the registry's path buffer is not written at all: a shortened
    // one would belong to another application.
    if (!GetApplicationKey(group, name, nullptr, key, sizeof(key)))
        return FALSE;

    m_pRegistry->SetString(HKEY_CURRENT_USER, key, settings::kApplicationGroup, group,
                           KEY_ALL_ACCESS);
    int result = m_pRegistry->SetString(HKEY_CURRENT_USER, key, settings::kApplicationName, name,
                                        KEY_ALL_ACCESS);
    if (!m_bLeaveOnCD)
        return result;

    const char* code = browser::CodeForKind(m_nBrowserKind, m_pszBrowser);
    if (m_bWin32s)
        return ::WriteProfileStringA(settings::kCommonSection, settings::kBrowser, code);
    return m_pRegistry->SetString(HKEY_CURRENT_USER, key, settings::kBrowser, code, KEY_ALL_ACCESS);
}
