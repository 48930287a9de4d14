// CSetup::Run: the order of the installation's steps.
#include "setup/setup.h"

#include <cstring>
#include <string>

#include "framework/strings.h"
#include "platform/ini.h"
#include "resources/resource.h"
#include "setup/copy_plan.h"
#include "setup/settings.h"

using settings::kCommonSection;

BOOL CSetup::Run() {
    OpenSourceSettings();

    char group[kSetupPathSize] = {};
    char name[kSetupPathSize] = {};
    m_pSourceIni->GetValue(kCommonSection, "ApplicationGroup", group, sizeof(group));
    m_pSourceIni->GetValue(kCommonSection, "ApplicationName", name, sizeof(name));

    char target[1024] = {};
    char workingDir[1024] = {};
    if (FindInstalledShortcut(group, name, target, workingDir)) {
        // The caption comes from the settings beside the setup program, not the source
        // root's: the two differ when the setup was started from elsewhere.
        char caption[kSetupPathSize] = {};
        {
            CIni localIni("search.ini");
            localIni.GetValue(kCommonSection, "ApplicationName", caption, sizeof(caption));
        }
        std::string question = LoadResString(IDS_REINSTALL_QUESTION);
        if (::MessageBoxA(NULL, question.c_str(), caption, MB_YESNO) != IDYES) {
            LaunchProgram(target);
            return TRUE;
        }
    }

    if (!ShowLicenseAgreement())
        return FALSE;
    if (!SelectDestination())
        return FALSE;

    if (!m_bPublisher)
        CopyPlatformPart(copy_plan::kWindowsFolder, GetSourceRoot(), m_pszDestDir,
                         copy_plan::kPerlPart);
    else if (!m_bWin32s)
        CopyInstalledFilters();

    if (!RecordBrowser())
        return FALSE;

    if (!m_bLeaveOnCD && !m_bWin32s) {
        if (m_bIEFound && !InstallPlugins(1))
            return FALSE;
        if (m_bNetscapeFound && !InstallPlugins(0))
            return FALSE;
        if (m_bCommunicatorFound && !InstallPlugins(2))
            return FALSE;
    }

    switch (m_nBrowserKind) {
    case 0:
        BypassProxyForNavigator();
        break;
    case 1:
        BypassProxyForIE();
        break;
    case 2:
        BypassProxyForCommunicator();
        break;
    default:
        break;
    }

    if (!RegisterApplication())
        return FALSE;
    CreateShortcuts();
    if (!m_bWin32s)
        RegisterViewerControl();

    // The search program finds its files relative to its own folder, so it starts there.
    std::string program(m_pszDestDir, strnlen(m_pszDestDir, kSetupPathSize));
    program += "\\_red40\\bin";
    ::SetCurrentDirectoryA(program.c_str());
    program += "\\";
    program += "search.exe";
    LaunchProgram(program.c_str());
    return TRUE;
}
