// CSetup::Run: the order of the installation's steps.
#include "setup/setup.h"

#include <string>

#include "framework/strings.h"
#include "integration/shortcut_rules.h"
#include "platform/ini.h"
#include "resources/resource.h"
#include "setup/copy_plan.h"
#include "setup/rules.h"
#include "setup/setting_text.h"

BOOL CSetup::Run() {
    OpenSourceSettings();

    // Refused names (too long) belong to no installation: nothing is looked for.
    const settings::ApplicationNames names = settings::ReadApplicationNames(*m_pSourceIni);
    char target[1024] = {};
    char workingDir[1024] = {};
    if (!names.refused &&
        FindInstalledShortcut(names.group.c_str(), names.name.c_str(), target, workingDir)) {
        // The caption comes from the settings beside the setup program, not the source
        // root's: the two differ when the setup was started from elsewhere.
        std::string caption;
        {
            CIni localIni(settings::kSettingsFile);
            caption = settings::ReadApplicationName(localIni);
        }
        std::string question = LoadResString(IDS_REINSTALL_QUESTION);
        if (::MessageBoxA(NULL, question.c_str(), caption.c_str(), MB_YESNO) != IDYES) {
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

    // RecordBrowser, InstallPlugins and RegisterApplication cannot fail today; the run
    // still stops on their FALSE as on every step's, so none is trusted to stay so.
    if (!RecordBrowser())
        return FALSE;

    if (!m_bLeaveOnCD && !m_bWin32s) {
        if (m_bIEFound && !InstallPlugins(browser::kInternetExplorer))
            return FALSE;
        if (m_bNetscapeFound && !InstallPlugins(browser::kNavigator))
            return FALSE;
        if (m_bCommunicatorFound && !InstallPlugins(browser::kCommunicator))
            return FALSE;
    }

    switch (m_nBrowserKind) {
    case browser::kNavigator:
        BypassProxyForNavigator();
        break;
    case browser::kInternetExplorer:
        BypassProxyForIE();
        break;
    case browser::kCommunicator:
        BypassProxyForCommunicator();
        break;
    default: // a browser given by its path keeps its own proxy settings
        break;
    }

    if (!RegisterApplication())
        return FALSE;
    CreateShortcuts();
    if (!m_bWin32s)
        RegisterViewerControl();

    // The search program finds its files relative to its own folder, so it starts there.
    // Room for the longest destination and the program folder with the program's name.
    char folder[bounded::kPathSize + 32] = {};
    char program[bounded::kPathSize + 32] = {};
    if (rules::BuildProgramFolder(m_pszDestDir, folder, sizeof(folder)))
        ::SetCurrentDirectoryA(folder);
    if (shortcuts::BuildProgramFolderPath(m_pszDestDir, shortcuts::kSearchProgram, program,
                                          sizeof(program)))
        LaunchProgram(program);
    return TRUE;
}
