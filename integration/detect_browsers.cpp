// Browser detection: where Navigator, Communicator and Internet Explorer are installed and
// which plug-in folder each one loads from. Nothing here reports an error: a missing key,
// setting or program file leaves the folder empty, which means "not found".
#include "setup/setup.h"

#include <cstring>
#include <memory>
#include <string>

#include "integration/browser_rules.h"
#include "platform/bounded_text.h"
#include "platform/filemgr.h"
#include "platform/registry.h"

namespace {

const char kIEAppPathKey[] =
    "SOFTWARE\\MICROSOFT\\Windows\\CurrentVersion\\App Paths\\Iexplore.exe";
const char kIELocalServerKey[] =
    "SOFTWARE\\Classes\\CLSID\\{0002DF01-0000-0000-C000-000000000046}\\LocalServer32";
const char kNavigatorKey[] = "Software\\Netscape\\Netscape Navigator";
const char kIExploreIni[] = "iexplore.ini";

// A folder that does not fit the engine's path buffers counts as not found.
void StoreFolder(const std::string& folder, char* out) {
    bounded::Copy(out, bounded::kPathSize, folder.c_str());
}

// The profile calls cut a value to the buffer without saying so. A cut path would name
// some other file or folder (and Navigator's INI file is written to later), so the value
// is read with one byte to spare: up to 260 characters are kept, a longer value counts
// as not set. A null file means win.ini.
void ReadProfilePath(const char* section, const char* key, const char* file, char* out) {
    char value[bounded::kPathSize + 1] = {};
    DWORD length = file == nullptr
                       ? ::GetProfileStringA(section, key, "", value, sizeof(value))
                       : ::GetPrivateProfileStringA(section, key, "", value, sizeof(value), file);
    if (length >= bounded::kPathSize)
        value[0] = '\0';
    bounded::Copy(out, bounded::kPathSize, value);
}

void AppendPlugins(char* out) {
    if (out[0] != '\0')
        StoreFolder(std::string(out) + "\\plugins", out);
}

} // namespace

int CSetup::EndsWithNoCase(const char* text, const char* suffix) {
    return ::EndsWithNoCase(text, suffix);
}

void CSetup::StripTrailingBackslash(char* path) {
    bounded::StripTrailingBackslash(path);
}

void CSetup::DetectBrowsers() {
    if (m_bWin32s) {
        m_pszNetscapeIni = std::make_unique<PathBuffer>();
        ReadProfilePath("Netscape", "ini", nullptr, m_pszNetscapeIni->data());
    }
    m_bNetscapeFound = 0;
    m_bIEFound = 0;
    m_bCommunicatorFound = 0;

    // The finders fill buffers of the engine's path size; only emptiness matters here.
    char folder[bounded::kPathSize] = {};
    FindNavigatorPluginDir(folder);
    m_bNetscapeFound = folder[0] != '\0';
    std::memset(folder, 0, sizeof(folder));
    FindCommunicatorPluginDir(folder);
    m_bCommunicatorFound = folder[0] != '\0';
    std::memset(folder, 0, sizeof(folder));
    FindIEPluginDir(folder);
    m_bIEFound = folder[0] != '\0';
}

void CSetup::FindNavigatorPluginDir(char* out) {
    out[0] = '\0';
    if (m_bWin32s) {
        // Win32s keeps no registry for Navigator: its own INI file, named in win.ini, holds
        // the install directory, and the program file is not checked.
        char navigatorIni[bounded::kPathSize] = {};
        ReadProfilePath("Netscape", "ini", nullptr, navigatorIni);
        if (navigatorIni[0] != '\0')
            ReadProfilePath("Main", "Install Directory", navigatorIni, out);
        AppendPlugins(out);
        return;
    }
    m_pRegistry->GetString(HKEY_CURRENT_USER, "Software\\Netscape\\Netscape Navigator\\Main",
                           "Install Directory", out, bounded::kPathSize, KEY_READ);
    if (out[0] == '\0') {
        m_pRegistry->GetString(HKEY_CURRENT_USER, "Software\\Netscape\\Netscape Communicator\\Main",
                               "Install Directory", out, bounded::kPathSize, KEY_READ);
    }
    if (out[0] == '\0')
        return;
    std::string folder = browser::NavigatorProgramFolder(out);
    if (!m_pFileMgr->FileExists((folder + "\\netscape.exe").c_str()))
        folder.clear();
    StoreFolder(folder, out);
    AppendPlugins(out);
}

void CSetup::FindCommunicatorPluginDir(char* out) {
    out[0] = '\0';
    if (m_bWin32s)
        return;
    char version[bounded::kPathSize] = {};
    m_pRegistry->GetString(HKEY_LOCAL_MACHINE, kNavigatorKey, "CurrentVersion", version,
                           sizeof(version), KEY_READ);
    std::string mainKey = std::string(kNavigatorKey) + "\\" + version + "\\main";
    m_pRegistry->GetString(HKEY_LOCAL_MACHINE, mainKey.c_str(), "Install Directory", out,
                           bounded::kPathSize, KEY_READ);
    if (out[0] == '\0')
        return;
    std::string folder = browser::CommunicatorProgramFolder(out);
    if (!m_pFileMgr->FileExists((folder + "\\netscape.exe").c_str()))
        folder.clear();
    StoreFolder(folder, out);
    AppendPlugins(out);
}

void CSetup::FindIEPluginDir(char* out) {
    if (out == nullptr)
        return;
    out[0] = '\0';
    if (GetWindowsMajorVersion() >= 4) {
        m_pRegistry->GetString(HKEY_LOCAL_MACHINE, kIEAppPathKey, "", out, bounded::kPathSize,
                               KEY_READ);
        StoreFolder(browser::DirectoryFromAppPath(out), out);
        if (out[0] == '\0')
            FindIEDirectory(out);
    } else if (!FindIEDirFromCache(out) && !FindIEDirFromViewers(out)) {
        out[0] = '\0';
    }
    AppendPlugins(out);
}

void CSetup::FindIEDirectory(char* buffer) {
    if (GetWindowsMajorVersion() >= 4) {
        if (buffer[0] != '\0')
            return;
        m_pRegistry->GetString(HKEY_LOCAL_MACHINE, kIELocalServerKey, "", buffer, bounded::kPathSize,
                               KEY_READ);
        StoreFolder(browser::DirectoryFromLocalServer(buffer), buffer);
        return;
    }
    if (!FindIEDirFromCache(buffer))
        FindIEDirFromViewers(buffer);
}

BOOL CSetup::FindIEDirFromCache(char* out) {
    out[0] = '\0';
    ReadProfilePath("MainDiskCache", "Directory", kIExploreIni, out);
    StoreFolder(browser::DirectoryFromCacheFolder(out), out);
    return HasIExplore(out);
}

BOOL CSetup::FindIEDirFromViewers(char* out) {
    out[0] = '\0';
    ReadProfilePath("Viewers", "application/x-internet-signup", kIExploreIni, out);
    StoreFolder(browser::DirectoryFromSignupViewer(out), out);
    return HasIExplore(out);
}

BOOL CSetup::HasIExplore(const char* dir) {
    if (dir == nullptr || dir[0] == '\0')
        return FALSE;
    std::string program = std::string(dir) + "\\iexplore.exe";
    return m_pFileMgr->FileExists(program.c_str()) ? TRUE : FALSE;
}
