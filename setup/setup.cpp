// CSetup's life: construction, destruction, the source root, the settings files and the
// operating-system queries.
#include "setup/setup.h"

#include "app/searchapp.h"
#include "integration/shortcut_rules.h"
#include "platform/bounded_text.h"
#include "platform/filemgr.h"
#include "platform/ini.h"
#include "platform/registry.h"
#include "platform/windows_version.h"
#include "setup/install_rules.h"
#include "setup/rules.h"
#include "setup/setting_text.h"
#include "setup/settings.h"

CSetup::CSetup(CSearchDoc* pDoc)
    : m_bPublisher(0), m_pApp(nullptr), m_bWin32s(0), m_bNetscapeFound(0), m_bIEFound(0),
      m_bCommunicatorFound(0), m_nBrowserKind(browser::kNavigator), m_pszDestDir(),
      m_bLeaveOnCD(0), m_pszBrowser(), m_pDoc(nullptr) {
    m_bWin32s = IsWin32s();
    m_pApp = static_cast<CSearchApp*>(AfxGetApp());
    m_pDoc = pDoc;
    m_pRegistry = std::make_unique<CRegistry>();
    m_pFileMgr = std::make_unique<CFileMgr>();
    m_bLeaveOnCD = 1;
    DetectBrowsers();
    DisableAutodial();
}

CSetup::~CSetup() = default;

const char* CSetup::GetSourceRoot() {
    if (m_pszSourceRoot == nullptr) {
        m_pszSourceRoot = std::make_unique<PathBuffer>();
        // A directory longer than the buffer is not copied at all: the root stays empty.
        char currentDir[bounded::kPathSize] = "";
        DWORD length = ::GetCurrentDirectoryA(sizeof(currentDir), currentDir);
        if (length >= sizeof(currentDir))
            currentDir[0] = '\0';
        rules::MakeSourceRoot(currentDir, m_pszSourceRoot->data(), m_pszSourceRoot->size());
    }
    return m_pszSourceRoot->data();
}

void CSetup::LoadSourceSettings() {
    // Room for the longest root and the file name: the path is never cut.
    char iniPath[bounded::kPathSize + 16] = "";
    rules::BuildSettingsPath(GetSourceRoot(), false, iniPath, sizeof(iniPath));
    m_pSourceIni = std::make_unique<CIni>(iniPath);
}

void CSetup::OpenSourceSettings() {
    LoadSourceSettings();
    std::string currentEnv =
        settings::ReadText(*m_pSourceIni, settings::kCommonSection, settings::kCurrentEnv);
    m_bPublisher = rules::IsClientEnvironment(currentEnv.c_str()) ? 0 : 1;
}

namespace {

// dir's settings file (below "publish\" for a publisher), or "" when it does not fit.
std::string SettingsPathOf(const char* dir, BOOL publisher) {
    char path[bounded::kPathSize + 32] = "";
    rules::BuildSettingsPath(dir, publisher != FALSE, path, sizeof(path));
    return path;
}

} // namespace

std::string CSetup::GetLicenseSettingsPath() {
    return SettingsPathOf(GetSourceRoot(), m_bPublisher);
}

std::string CSetup::GetInstalledSettingsPath() {
    return SettingsPathOf(m_pszDestDir, m_bPublisher);
}

BOOL CSetup::GetApplicationKey(const char* group, const char* name, const char* subkey,
                               char* out, std::size_t size) {
    const char* root = m_pApp != nullptr ? m_pApp->m_pszRegistryRoot : "";
    return shortcuts::BuildApplicationKey(root, m_bPublisher != FALSE, group, name, subkey, out,
                                          size);
}

BOOL CSetup::IsWin32s() {
    return windows_version::IsWin32s() ? TRUE : FALSE;
}

DWORD CSetup::GetWindowsMajorVersion() {
    return windows_version::MajorVersion();
}
