// CSetup::FindInstalledShortcut: reads the Start-menu shortcut an earlier installation
// left behind.
#include "setup/setup.h"

#include <objbase.h>
#include <objidl.h>
#include <shlguid.h>
#include <shlobj.h>

#include <cstring>

#include "framework/handles.h"
#include "platform/registry.h"
#include "integration/shortcut_rules.h"
#include "setup/rules.h"

namespace {
const char kShellFoldersKey[] =
    "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";
} // namespace

BOOL CSetup::FindInstalledShortcut(const char* group, const char* name, char (&target)[1024],
                                   char (&workingDir)[1024]) {
    // Without a "Programs" entry the Windows directory stands in for the Start menu.
    char programs[1024] = {};
    ::GetWindowsDirectoryA(programs, sizeof(programs));
    m_pRegistry->GetString(HKEY_CURRENT_USER, kShellFoldersKey, "Programs", programs,
                           sizeof(programs), KEY_READ);

    // Only a link the shortcut step could have made counts, never one elsewhere on disk.
    if (!shortcuts::StaysInStartMenu(group) || !shortcuts::StaysInStartMenu(name))
        return FALSE;
    char linkPath[1024] = {};
    if (!rules::BuildShortcutPath(programs, group, name, linkPath, sizeof(linkPath)))
        return FALSE;

    BOOL found = FALSE;
    ScopedComInit com;
    ComPtr<IShellLinkA> link;
    ComPtr<IPersistFile> file;
    if (SUCCEEDED(::CoCreateInstance(CLSID_ShellLink, NULL, CLSCTX_INPROC_SERVER, IID_IShellLinkA,
                                     link.put())) &&
        SUCCEEDED(link->QueryInterface(IID_IPersistFile, file.put()))) {
        WCHAR widePath[MAX_PATH + 1] = {};
        // A path the wide buffer cannot hold whole would name some other file.
        bool converted = ::MultiByteToWideChar(CP_ACP, 0, linkPath, -1, widePath, MAX_PATH) != 0;
        widePath[MAX_PATH] = L'\0';
        if (converted && SUCCEEDED(file->Load(widePath, STGM_READ))) {
            std::memset(target, 0, sizeof(target));
            std::memset(workingDir, 0, sizeof(workingDir));
            link->GetPath(target, sizeof(target), NULL, SLGP_UNCPRIORITY);
            // The working directory gets only as many bytes as the target path has
            // characters; a longer one comes back cut short.
            int workingDirLength = static_cast<int>(strnlen(target, sizeof(target)));
            found = SUCCEEDED(link->GetWorkingDirectory(workingDir, workingDirLength));
        }
    }
    return found;
}
