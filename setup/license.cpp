// The licence step of the run: the agreement named by the CD's settings must be accepted.
#include "dialogs/licensedlg.h"
#include "platform/ini.h"
#include "setup/install_rules.h"
#include "setup/settings.h"
#include "setup/setting_text.h"
#include "setup/setup.h"

BOOL CSetup::ShowLicenseAgreement() {
    // A publisher's agreement belongs to the publishing workspace, whose settings are
    // below "publish"; the root's settings do not count then.
    char iniPath[kSetupPathSize + 32] = "";
    if (!rules::BuildSettingsPath(GetSourceRoot(), m_bPublisher != 0, iniPath, sizeof(iniPath)))
        return TRUE;
    CIni ini(iniPath);
    if (settings::ReadText(ini, settings::kCommonSection, settings::kLicenseFile).empty())
        return TRUE;
    CLicenseAgreement agreement(this, nullptr);
    return agreement.DoModal() == IDOK ? TRUE : FALSE;
}
