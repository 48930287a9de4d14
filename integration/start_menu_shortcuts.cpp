// The Start-menu shortcuts of Windows 4 and later, made by the product's link library
// from the CD, and the step that chooses between them and a Program Manager group.
#include "setup/setup.h"

#include <cstring>
#include <string>

#include "integration/shortcut_rules.h"
#include "platform/bounded_text.h"
#include "platform/code_page.h"
#include "platform/current_directory.h"
#include "platform/ini.h"
#include "setup/setting_text.h"

namespace {

// install.dll's one export: program, link file, description, icon.
using CreateLinkFunction = int(__cdecl*)(const char*, const char*, const char*, const char*);

// The link file for prefix + the application's name in the group folder, which is made
// first; false when there is none (refused names leave the group folder empty).
bool GroupLinkPath(CSetup& setup, const char* prefix, char (&link)[bounded::kPathSize]) {
    char groupDir[bounded::kPathSize] = {};
    setup.GetProgramGroupDir(groupDir, sizeof(groupDir));
    const std::string name = settings::ReadApplicationNames(*setup.m_pSourceIni).name;
    return groupDir[0] != '\0' &&
           shortcuts::BuildLinkPath(groupDir, prefix, name.c_str(), link, sizeof(link));
}

} // namespace

BOOL CSetup::CreateShortcuts() {
    // Remembered in 256 bytes: a longer current directory is left as the step leaves it.
    CurrentDirectoryKeeper previousDir(256);

    // The link library and Program Manager resolve what they are given from the
    // destination; a bare drive becomes its root, as "d:" alone means that drive's
    // current folder.
    char workingDir[bounded::kPathSize] = {};
    if (shortcuts::BuildShortcutWorkingDir(m_pszDestDir, workingDir, sizeof(workingDir)))
        ::SetCurrentDirectoryA(workingDir);

    return GetWindowsMajorVersion() < 4 ? CreateProgramManagerGroup() : CreateStartMenuShortcuts();
}

BOOL CSetup::CreateStartMenuShortcuts() {
    if (!CreateAppShortcut())
        return 0;
    return CreateUninstallShortcut();
}

BOOL CSetup::CreateAppShortcut() {
    char program[bounded::kPathSize] = {};
    char icon[bounded::kPathSize] = {};
    if (!shortcuts::BuildProgramFolderPath(m_pszDestDir, shortcuts::kSearchProgram, program,
                                           sizeof(program)) ||
        !shortcuts::BuildProgramFolderPath(m_pszDestDir, shortcuts::kSearchIcon, icon,
                                           sizeof(icon)))
        return 0;
    MakeShortPath(program, sizeof(program));

    char link[bounded::kPathSize] = {};
    if (!GroupLinkPath(*this, "", link))
        return 0;

    char description[bounded::kPathSize] = {};
    GetShortcutDescription(description, sizeof(description));
    return CallCreateLink(program, link, description, icon);
}

BOOL CSetup::CreateUninstallShortcut() {
    // The uninstaller keeps its long path: it is started by the shell, never put on a
    // command line of its own.
    char program[bounded::kPathSize] = {};
    shortcuts::BuildProgramFolderPath(m_pszDestDir, shortcuts::kUninstallProgram, program,
                                      sizeof(program));
    if (program[0] == '\0')
        return 0;

    char link[bounded::kPathSize] = {};
    if (!GroupLinkPath(*this, shortcuts::kUninstallPrefix, link))
        return 0;

    char icon[bounded::kPathSize] = {};
    if (!shortcuts::BuildProgramFolderPath(m_pszDestDir, shortcuts::kUninstallIcon, icon,
                                           sizeof(icon)))
        return 0;
    return CallCreateLink(program, link, shortcuts::kUninstallerDescription, icon);
}

void CSetup::GetProgramGroupDir(char* buffer, size_t size) {
    bounded::CopyCut(buffer, size, "");
    const settings::ApplicationNames names = settings::ReadApplicationNames(*m_pSourceIni);
    char programs[bounded::kPathSize] = {};
    GetProgramsFolder(programs, sizeof(programs));
    // Refused names, a group that climbs out of the Start menu, or a folder name that does
    // not fit leave the buffer empty: no folder is made anywhere else.
    if (names.refused || programs[0] == '\0' ||
        !shortcuts::BuildGroupFolder(programs, names.group.c_str(), buffer, size))
        return;
    // A group of several parts ("Corvane\Atlas") gets its parents too, each below the
    // Programs folder. An existing folder is what a reinstallation finds; either way the
    // link decides.
    const chars::CodePage& page = chars::System();
    for (char* end = buffer + std::strlen(programs);; ++end) {
        // A backslash divides the parts only as a character of its own.
        while (*end != '\\' && *end != '\0')
            end += page.CharSize(end);
        char separator = *end;
        *end = '\0';
        ::CreateDirectoryA(buffer, NULL);
        *end = separator;
        if (separator == '\0')
            break;
    }
}

void CSetup::GetShortcutDescription(char* buffer, size_t size) {
    std::string description = shortcuts::kDescriptionPrefix;
    description += settings::ReadApplicationNames(*m_pSourceIni).name;
    // The shell keeps descriptions short anyway; a long name is cut, not refused.
    bounded::CopyCut(buffer, size, description.c_str());
}

void CSetup::MakeShortPath(char* path, size_t size) {
    if (!shortcuts::HasBlank(path))
        return;
    char shortPath[bounded::kPathSize] = {};
    DWORD length = ::GetShortPathNameA(path, shortPath, sizeof(shortPath));
    if (length == 0 || length >= sizeof(shortPath))
        shortPath[0] = '\0';
    bounded::Copy(path, size, shortPath);
}

BOOL CSetup::CallCreateLink(const char* program, const char* linkPath, const char* description,
                            const char* iconPath) {
    char library[bounded::kPathSize] = {};
    if (!shortcuts::BuildLinkLibraryPath(GetSourceRoot(), library, sizeof(library)))
        return 0;
    HMODULE module = ::LoadLibraryA(library);
    if (module == NULL)
        return 0;
    BOOL called = 0;
    FARPROC entry = ::GetProcAddress(module, "CreateLink");
    if (entry != nullptr) {
        reinterpret_cast<CreateLinkFunction>(reinterpret_cast<void*>(entry))(program, linkPath,
                                                                             description, iconPath);
        called = 1;
    }
    ::FreeLibrary(module);
    return called;
}
