// The licence step of the run: the agreement named by the CD's settings must be accepted.
#include "dialogs/licensedlg.h"
#include "platform/ini.h"
#include "setup/setting_text.h"
#include "setup/setup.h"

BOOL CSetup::ShowLicenseAgreement() {
    // A publisher's agreement belongs to the publishing workspace, whose settings are
    // below "publish"; the root's settings do not count then.
    const std::string iniPath = GetLicenseSettingsPath();
    if (iniPath.empty())
        return TRUE;
    CIni ini(iniPath.c_str());
    if (settings::ReadLicenseFile(ini).empty())
        return TRUE;
    CLicenseAgreement agreement(this, nullptr);
    return agreement.DoModal() == IDOK ? TRUE : FALSE;
}
