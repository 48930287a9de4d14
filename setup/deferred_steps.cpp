// Steps of the run that leave everything as it is in this build: registration, shortcuts
// and the licence agreement report the outcome the run goes on with. Only the destination
// has an effect: the program files stay where they are, so the destination is the source
// root.
#include "setup/setup.h"

#include "setup/rules.h"

BOOL CSetup::ShowLicenseAgreement() {
    return TRUE;
}

BOOL CSetup::SelectDestination() {
    m_pszDestDir[0] = '\0';
    rules::AppendBounded(m_pszDestDir, kSetupPathSize, GetSourceRoot());
    return TRUE;
}

int CSetup::CopyPlatformPart(const char*, const char*, const char*, const char*) {
    return TRUE;
}

BOOL CSetup::CopyInstalledFilters() {
    return TRUE;
}

BOOL CSetup::RegisterApplication() {
    return TRUE;
}

BOOL CSetup::CreateShortcuts() {
    return TRUE;
}
