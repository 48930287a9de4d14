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
#include "platform/bounded_text.h"

namespace {
const char kShellFoldersKey[] =
    "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";
} // namespace

void CSetup::GetProgramsFolder(char* out, std::size_t size) {
    // Without a "Programs" entry the Windows directory stands in for the Start menu, for
    // the shortcuts made and for the ones looked for alike.
    if (!m_pRegistry->GetString(HKEY_CURRENT_USER, kShellFoldersKey, "Programs", out, size,
                                KEY_READ)) {
        UINT length = ::GetWindowsDirectoryA(out, static_cast<UINT>(size));
        if (length == 0 || length >= size)
            bounded::CopyCut(out, size, "");
    }
}

BOOL CSetup::GetShortcutPath(const char* group, const char* prefix, const char* name, char* out,
                             std::size_t size) {
    char programs[bounded::kPathSize] = {};
    GetProgramsFolder(programs, sizeof(programs));
    // A group or name that leads out of the Programs folder gives no path at all.
    return programs[0] != '\0' &&
           shortcuts::BuildShortcutPath(programs, group, prefix, name, out, size);
}

BOOL CSetup::FindInstalledShortcut(const char* group, const char* name, char (&target)[1024],
                                   char (&workingDir)[1024]) {
    // Only a link the shortcut step could have made counts, never one elsewhere on disk.
    char linkPath[1024] = {};
    if (!GetShortcutPath(group, "", name, linkPath, sizeof(linkPath)))
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
