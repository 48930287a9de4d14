// Plug-ins and viewers: the CD's plug-in tree goes into every detected browser's plug-in
// folder, the viewer's settings into the Windows directory, and the viewer control in
// Internet Explorer's plug-in folder registers itself.
#include "setup/setup.h"

#include <cstring>
#include <string>

#include "integration/browser_rules.h"
#include "platform/bounded_text.h"
#include "platform/current_directory.h"
#include "platform/filemgr.h"
#include "platform/netscape_installations.h"

namespace {

std::string WindowsDirectory() {
    char dir[bounded::kPathSize] = {};
    UINT length = ::GetWindowsDirectoryA(dir, sizeof(dir));
    return length < sizeof(dir) ? std::string(dir, length) : std::string();
}

} // namespace

BOOL CSetup::InstallPlugins(browser::Kind browserKind) {
    std::string source = std::string(GetSourceRoot()) + browser::kPluginTree;
    char pluginDir[bounded::kPathSize] = {};
    switch (browserKind) {
    case browser::kNavigator:
        FindNavigatorPluginDir(pluginDir);
        CopyPluginFiles(source.c_str(), pluginDir);
        break;
    case browser::kInternetExplorer:
        FindIEPluginDir(pluginDir);
        CopyPluginFiles(source.c_str(), pluginDir);
        break;
    case browser::kCommunicator: {
        for (const NetscapeInstallation& installation : DetectNetscapeInstallations()) {
            std::string folder = browser::PluginFolderFromProgramPath(installation.path);
            if (!folder.empty())
                CopyPluginFiles(source.c_str(), folder.c_str());
        }
        break;
    }
    default: // no other kind has plug-in folders of its own
        break;
    }
    return TRUE;
}

BOOL CSetup::CopyPluginFiles(const char* sourceDir, const char* pluginDir) {
    // A browser that was not found has no plug-in folder: there is nothing to fill.
    if (pluginDir == nullptr || pluginDir[0] == '\0')
        return TRUE;
    m_pFileMgr->CreateDirectoryA(pluginDir);
    m_pFileMgr->CopyTree(sourceDir, pluginDir, 1, nullptr);

    std::string source = std::string(sourceDir) + "\\vuemark.ini";
    std::string target = bounded::JoinPath(WindowsDirectory(), "vuemark.ini");
    // The CD's copy is read-only; the viewer must be able to change its settings.
    if (m_pFileMgr->ForceCopyFile(source.c_str(), target.c_str()) == 1)
        ::SetFileAttributesA(target.c_str(), FILE_ATTRIBUTE_NORMAL);
    return TRUE;
}

BOOL CSetup::RegisterViewerControl() {
    if (!m_bIEFound)
        return TRUE;
    CurrentDirectoryKeeper previousDir;

    char ieDir[bounded::kPathSize] = {};
    FindIEDirectory(ieDir);
    std::string pluginDir = bounded::JoinPath(ieDir, "plugins");
    // The control's own libraries are looked for in its folder.
    ::SetCurrentDirectoryA(pluginDir.c_str());

    BOOL outcome = FALSE;
    std::string control = pluginDir + "\\" + browser::kViewerControl;
    if (HMODULE library = ::LoadLibraryA(control.c_str())) {
        using RegisterServer = HRESULT(STDAPICALLTYPE*)();
        FARPROC entry = ::GetProcAddress(library, "DllRegisterServer");
        if (entry != nullptr) {
            reinterpret_cast<RegisterServer>(reinterpret_cast<void*>(entry))();
            outcome = TRUE;
        }
    }
    return outcome;
}
