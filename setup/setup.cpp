// CSetup's life: construction, destruction, the source root and settings, and the
// operating-system queries.
#include "setup/setup.h"

#include <cstring>

#include "app/searchapp.h"
#include "platform/filemgr.h"
#include "platform/ini.h"
#include "platform/registry.h"
#include "platform/windows_version.h"
#include "platform/bounded_text.h"
#include "setup/rules.h"

namespace {
const char kCommonSection[] = "IS\\SearchApp\\Common";
} // namespace

CSetup::CSetup(CSearchDoc* pDoc)
    : m_bPublisher(0), m_pApp(nullptr), m_pSourceIni(nullptr), m_pRegistry(nullptr), m_bWin32s(0),
      m_bNetscapeFound(0), m_bIEFound(0), m_bCommunicatorFound(0), m_nBrowserKind(0),
      m_pFileMgr(nullptr), m_pszSourceRoot(nullptr), m_pszNetscapeIni(nullptr),
      m_pszDestDir(nullptr), m_bLeaveOnCD(0), m_pszBrowser(nullptr), m_pDoc(nullptr) {
    m_bWin32s = IsWin32s();
    m_pApp = static_cast<CSearchApp*>(AfxGetApp());
    m_pDoc = pDoc;
    m_pRegistry = new CRegistry;
    m_pFileMgr = new CFileMgr;
    m_bLeaveOnCD = 1;
    m_pszBrowser = new char[kSetupBrowserSize]();
    m_pszDestDir = new char[kSetupPathSize]();
    DetectBrowsers();
    DisableAutodial();
}

CSetup::~CSetup() {
    delete m_pSourceIni;
    delete m_pRegistry;
    delete m_pFileMgr;
    delete[] m_pszSourceRoot;
    delete[] m_pszNetscapeIni;
    delete[] m_pszDestDir;
    delete[] m_pszBrowser;
}

const char* CSetup::GetSourceRoot() {
    if (m_pszSourceRoot == nullptr) {
        m_pszSourceRoot = new char[kSetupPathSize]();
        // A directory longer than the buffer is not copied at all: the root stays empty.
        char currentDir[kSetupPathSize] = "";
        DWORD length = ::GetCurrentDirectoryA(kSetupPathSize, currentDir);
        if (length >= kSetupPathSize)
            currentDir[0] = '\0';
        rules::MakeSourceRoot(currentDir, m_pszSourceRoot, kSetupPathSize);
    }
    return m_pszSourceRoot;
}

void CSetup::ReopenSourceSettings() {
    // Room for the longest root and the file name: the path is never cut.
    char iniPath[kSetupPathSize + 16] = "";
    bounded::Append(iniPath, sizeof(iniPath), GetSourceRoot());
    bounded::Append(iniPath, sizeof(iniPath), "\\search.ini");
    delete m_pSourceIni;
    m_pSourceIni = new CIni(iniPath);
}

void CSetup::OpenSourceSettings() {
    // Room for the longest root and the file name: the path is never cut.
    ReopenSourceSettings();

    char currentEnv[kSetupPathSize] = "";
    m_pSourceIni->GetValue(kCommonSection, "CurrentEnv", currentEnv, sizeof(currentEnv));
    m_bPublisher = rules::IsClientEnvironment(currentEnv) ? 0 : 1;
}

BOOL CSetup::IsWin32s() {
    return windows_version::IsWin32s() ? TRUE : FALSE;
}

DWORD CSetup::GetWindowsMajorVersion() {
    return windows_version::MajorVersion();
}
