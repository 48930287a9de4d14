// The destination step of the run: where the program files go, or whether they stay on
// the CD, and the environment recorded in the installed settings after the copy.
#include <windows.h>

#include <cstring>
#include <string>

#include "dialogs/filecopydlg.h"
#include "platform/ini.h"
#include "resources/resource.h"
#include "platform/bounded_text.h"
#include "setup/install_rules.h"
#include "setup/rules.h"
#include "setup/settings.h"
#include "setup/setting_text.h"
#include "setup/setup.h"

BOOL CSetup::SelectDestination() {
    LoadSourceSettings();
    return AskDestination(m_bPublisher ? settings::Environment::Publisher
                                       : settings::Environment::Client);
}

BOOL CSetup::AskDestination(settings::Environment environment) {
    const bool publisher = environment == settings::Environment::Publisher;
    // A default that does not fit the path field is no default.
    std::string defaultInstall;
    if (!publisher) {
        defaultInstall =
            settings::ReadText(*m_pSourceIni, settings::kCommonSection, settings::kDefaultInstall);
        if (defaultInstall.size() >= bounded::kPathSize)
            defaultInstall.clear();
    }

    DWORD platforms = 0;
    CFileCopyDlg dialog(&platforms, publisher ? IDD_DESTINATION : IDD_DESTINATION_CLIENT, nullptr);
    dialog.m_strPath = rules::DefaultDestination(publisher, defaultInstall.c_str());
    dialog.m_bIconOnlyMode = publisher ? 0 : 1;

    // Data spread over several CDs, or a publisher's wish, needs the files on the disk.
    std::string force =
        settings::ReadText(*m_pSourceIni, settings::kCommonSection, settings::kForceInstall);
    std::string multiCd =
        settings::ReadText(*m_pSourceIni, settings::kCommonSection, settings::kMultiCD);
    if (rules::IsYesSetting(force.c_str()) || rules::IsYesSetting(multiCd.c_str()))
        m_bLeaveOnCD = 0;

    dialog.m_bSetupIconOnly = m_bLeaveOnCD;
    // The dialog has told the user why already, also when the space test failed once.
    if (dialog.DoModal() != IDOK || dialog.m_bNoSpace)
        return FALSE;
    m_bLeaveOnCD = dialog.m_bSetupIconOnly;

    if (m_bLeaveOnCD) {
        bounded::Copy(m_pszDestDir, sizeof(m_pszDestDir), GetSourceRoot());
        return TRUE;
    }

    char destination[bounded::kPathSize] = {};
    if (!bounded::Append(destination, sizeof(destination), dialog.m_strPath.c_str()))
        return FALSE;
    rules::StripDriveRootBackslash(destination, sizeof(destination));
    if (!InstallFiles(destination, platforms))
        return FALSE;

    const std::string iniPath = GetInstalledSettingsPath();
    if (iniPath.empty())
        return FALSE;
    // Copied from a CD, the file is read-only.
    ::SetFileAttributesA(iniPath.c_str(), FILE_ATTRIBUTE_NORMAL);
    CIni installed(iniPath.c_str());
    installed.SetValue(settings::kCommonSection, settings::kCurrentEnv,
                       m_bPublisher ? settings::kPublisherHD : settings::kClientHD);
    installed.SetValue(settings::kCommonSection, settings::kSourceDrive, GetSourceRoot());
    return TRUE;
}
