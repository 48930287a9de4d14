// Proxy bypass: 127.0.0.1 joins the chosen browser's list of addresses reached without a
// proxy, so the browser talks to the local search server directly. Each browser keeps
// the list elsewhere: Internet Explorer and Navigator in the registry (INI files on
// Win32s), Communicator in the user's prefs.js. A user's own entries are always kept,
// whatever the list's length.
#include "setup/setup.h"

#include <cstdio>
#include <memory>
#include <string>

#include "integration/browser_rules.h"
#include "platform/bounded_text.h"
#include "platform/filemgr.h"
#include "platform/registry.h"

namespace {

const char kInternetSettingsKey[] =
    "Software\\Microsoft\\Windows\\CurrentVersion\\Internet Settings";
const char kNavigatorProxyKey[] = "Software\\Netscape\\Netscape Navigator\\Proxy Information";
const char kNavigatorKey[] = "Software\\Netscape\\Netscape Navigator";

// Registry lists are read whole, far beyond the engine's path size, so that a long list
// is never mistaken for a missing one and overwritten.
constexpr size_t kRegistryListSize = 64 * 1024;

std::string ReadRegistryList(CRegistry* registry, HKEY root, const char* key, const char* value) {
    std::unique_ptr<char[]> list(new char[kRegistryListSize]());
    registry->GetString(root, key, value, list.get(), kRegistryListSize, KEY_READ);
    list[kRegistryListSize - 1] = '\0';
    return list.get();
}

std::string ReadProfileList(const char* section, const char* key, const char* file) {
    // The profile call cuts a value to its buffer and reports size - 1: grow until it fits.
    for (DWORD size = bounded::kPathSize; size <= 1024 * 1024; size *= 4) {
        std::unique_ptr<char[]> list(new char[size]());
        DWORD length = ::GetPrivateProfileStringA(section, key, "", list.get(), size, file);
        if (length + 1 < size)
            return std::string(list.get(), length);
    }
    return std::string();
}

} // namespace

void CSetup::DisableAutodial() {
    m_pRegistry->SetDWord(HKEY_CURRENT_USER, kInternetSettingsKey, "EnableAutodial", 0,
                          KEY_ALL_ACCESS);
}

BOOL CSetup::BypassProxyForIE() {
    if (m_bWin32s) {
        std::string list = ReadProfileList("Services", "No_Proxy", "iexplore.ini");
        list = browser::MergeBypassList(list, browser::ListOrder::AddressFirst);
        return ::WritePrivateProfileStringA("Services", "No_Proxy", list.c_str(), "iexplore.ini");
    }
    std::string list =
        ReadRegistryList(m_pRegistry.get(), HKEY_CURRENT_USER, kInternetSettingsKey, "ProxyOverride");
    list = browser::MergeBypassList(list, browser::ListOrder::AddressFirst);
    return m_pRegistry->SetString(HKEY_CURRENT_USER, kInternetSettingsKey, "ProxyOverride",
                                  list.c_str(), KEY_ALL_ACCESS);
}

BOOL CSetup::BypassProxyForNavigator() {
    if (m_bWin32s) {
        const char* navigatorIni = m_pszNetscapeIni ? m_pszNetscapeIni->data() : "";
        std::string list = ReadProfileList("Proxy Information", "No_Proxy", navigatorIni);
        list = browser::MergeBypassList(list, browser::ListOrder::AddressLast);
        return ::WritePrivateProfileStringA("Proxy Information", "No_Proxy", list.c_str(),
                                            navigatorIni);
    }
    std::string list =
        ReadRegistryList(m_pRegistry.get(), HKEY_CURRENT_USER, kNavigatorProxyKey, "No_Proxy");
    list = browser::MergeBypassList(list, browser::ListOrder::AddressLast);
    return m_pRegistry->SetString(HKEY_CURRENT_USER, kNavigatorProxyKey, "No_Proxy", list.c_str(),
                                  KEY_ALL_ACCESS);
}

BOOL CSetup::BypassProxyForCommunicator() {
    char version[bounded::kPathSize] = {};
    m_pRegistry->GetString(HKEY_LOCAL_MACHINE, kNavigatorKey, "CurrentVersion", version,
                           sizeof(version), KEY_READ);
    std::string mainKey = std::string(kNavigatorKey) + "\\" + version + "\\main";
    char installDir[bounded::kPathSize] = {};
    m_pRegistry->GetString(HKEY_LOCAL_MACHINE, mainKey.c_str(), "Install Directory", installDir,
                           sizeof(installDir), KEY_READ);

    // Communicator keeps one profile per logged-on user below its install directory.
    std::string prefsPath = bounded::JoinPath(installDir, "");
    char user[256] = {};
    DWORD userSize = sizeof(user);
    if (::GetUserNameA(user, &userSize))
        prefsPath = prefsPath + "users\\" + user;
    prefsPath = bounded::JoinPath(prefsPath, "prefs.js");

    char tempDir[512] = {};
    char tempFile[bounded::kPathSize] = {};
    FILE* prefs = std::fopen(prefsPath.c_str(), "rt");
    DWORD tempDirLength = ::GetTempPathA(sizeof(tempDir), tempDir);
    // The temporary name adds up to 14 characters to the folder, and the name's buffer
    // holds MAX_PATH: a longer folder gets no temporary file.
    bool haveTempName = tempDirLength > 0 && tempDirLength <= MAX_PATH - 14 &&
                        ::GetTempFileNameA(tempDir, "pref", 0, tempFile) != 0;
    FILE* rewritten = haveTempName ? std::fopen(tempFile, "wt") : nullptr;
    if (prefs == nullptr || rewritten == nullptr) {
        // prefs.js stays as it is, and no temporary file is left behind.
        if (prefs)
            std::fclose(prefs);
        if (rewritten)
            std::fclose(rewritten);
        if (haveTempName)
            ::DeleteFileA(tempFile);
        return FALSE;
    }

    browser::RewritePrefsFile(prefs, rewritten);
    std::fclose(prefs);
    std::fclose(rewritten);

    int copied = m_pFileMgr->ForceCopyFile(tempFile, prefsPath.c_str());
    m_pFileMgr->ForceDeleteFile(tempFile);
    return copied;
}
