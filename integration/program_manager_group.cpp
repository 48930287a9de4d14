// The Program Manager group of systems without a Start menu (Windows NT 3.x, Win32s):
// the same two items as the Start-menu shortcuts, sent to Program Manager over DDE.
#include "setup/setup.h"

#include <string>

#include "dde/ddeobject.h"
#include "integration/shortcut_rules.h"
#include "platform/bounded_text.h"
#include "setup/setting_text.h"

BOOL CSetup::CreateProgramManagerGroup() {
    char group[bounded::kPathSize] = {};
    char appItem[bounded::kPathSize] = {};
    char appProgram[bounded::kPathSize] = {};
    char uninstallItem[bounded::kPathSize] = {};
    char uninstallProgram[bounded::kPathSize] = {};

    // Refused names fit none of the buffers: no group, as for empty ones.
    const settings::ApplicationNames names = settings::ReadApplicationNames(*m_pSourceIni);
    if (names.refused || names.group.empty() || names.name.empty())
        return 0;
    bounded::Copy(group, sizeof(group), names.group.c_str());
    bounded::Copy(appItem, sizeof(appItem), names.name.c_str());
    // Program Manager splits an item's command line at blanks: the programs go in their
    // short form.
    shortcuts::BuildProgramFolderPath(m_pszDestDir, shortcuts::kSearchProgram, appProgram,
                                      sizeof(appProgram));
    MakeShortPath(appProgram, sizeof(appProgram));
    if (appProgram[0] == '\0')
        return 0;

    // The item name is cut below anyway, so a name too long for the buffer is cut here.
    const std::string uninstallName = shortcuts::kUninstallPrefix + names.name;
    bounded::CopyCut(uninstallItem, sizeof(uninstallItem), uninstallName.c_str());
    shortcuts::BuildProgramFolderPath(m_pszDestDir, shortcuts::kUninstallProgram, uninstallProgram,
                                      sizeof(uninstallProgram));
    MakeShortPath(uninstallProgram, sizeof(uninstallProgram));
    if (uninstallProgram[0] == '\0')
        return 0;

    shortcuts::CutToLength(group, shortcuts::kGroupNameLimit);
    shortcuts::CutToLength(appItem, shortcuts::kItemNameLimit);
    shortcuts::CutToLength(uninstallItem, shortcuts::kItemNameLimit);

    char appIcon[bounded::kPathSize] = {};
    char uninstallIcon[bounded::kPathSize] = {};
    shortcuts::BuildProgramFolderPath(m_pszDestDir, shortcuts::kSearchIcon, appIcon,
                                      sizeof(appIcon));
    shortcuts::BuildProgramFolderPath(m_pszDestDir, shortcuts::kUninstallIcon, uninstallIcon,
                                      sizeof(uninstallIcon));

    // A double quote would close its field and leave the rest of the text to be run as
    // commands of their own: such a group is not made at all.
    for (const char* text :
         {group, appItem, appProgram, appIcon, uninstallItem, uninstallProgram, uninstallIcon}) {
        if (!shortcuts::IsPlainCommandText(text))
            return 0;
    }

    // Program Manager may be absent or refuse a command; the installation goes on either
    // way, so the results are not looked at.
    CDDEObject programManager;
    programManager.CreateGroup(group);
    programManager.AddItem(appItem, appProgram, appIcon);
    programManager.AddItem(uninstallItem, uninstallProgram, uninstallIcon);
    return 1;
}
