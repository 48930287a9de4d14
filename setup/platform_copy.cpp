// The platform folders: their "bin" trees during the copy, their "filters" trees during
// the copy (client) or afterwards for the platforms present at the destination
// (publisher), and the perl tree of the Windows platform.
#include <windows.h>

#include "dialogs/copyingdlg.h"
#include "platform/filemgr.h"
#include "setup/install_rules.h"
#include "setup/rules.h"
#include "setup/setup.h"

int CSetup::CopyPlatformPart(const char* platformDir, const char* source, const char* destination,
                             const char* part) {
    char from[kSetupPathSize] = {};
    char to[kSetupPathSize] = {};
    bool fits = rules::AppendBounded(from, sizeof(from), source) &&
                rules::AppendBounded(from, sizeof(from), platformDir) &&
                rules::AppendBounded(from, sizeof(from), part) &&
                rules::AppendBounded(to, sizeof(to), destination) &&
                rules::AppendBounded(to, sizeof(to), platformDir) &&
                rules::AppendBounded(to, sizeof(to), part);
    return fits ? m_pFileMgr->CopyTree(from, to, 1, nullptr) : 0;
}

int CSetup::CopyPlatformBin(const char* platformDir, const char* source, const char* destination) {
    return CopyPlatformPart(platformDir, source, destination, "\\bin");
}

int CSetup::CopyPlatformFilters(const char* platformDir, const char* source,
                                const char* destination) {
    return CopyPlatformPart(platformDir, source, destination, "\\filters");
}

BOOL CSetup::CopyPlatform(const char* platformDir, const char* source, const char* destination) {
    if (!CopyPlatformBin(platformDir, source, destination))
        return FALSE;
    // A publisher copies filters afterwards, only for the platforms that arrived.
    if (!m_bPublisher)
        CopyPlatformFilters(platformDir, source, destination);
    return TRUE;
}

void CSetup::CopyInstalledFilters() {
    CCopyingDlg* notice = CCopyingDlg::Show();
    for (std::size_t i = 0; i < rules::kFilterFolderCount; ++i) {
        if (DestHasDir(rules::kFilterFolders[i]))
            CopyFiltersFor(rules::kFilterFolders[i]);
    }
    if (notice != nullptr)
        notice->DestroyWindow();
}

BOOL CSetup::DestHasDir(const char* subfolder) {
    char path[kSetupPathSize] = {};
    if (!rules::AppendBounded(path, sizeof(path), m_pszDestDir) ||
        !rules::AppendBounded(path, sizeof(path), subfolder))
        return FALSE;
    return m_pFileMgr->DirectoryExists(path);
}

void CSetup::CopyFiltersFor(const char* platformDir) {
    CopyPlatformFilters(platformDir, GetSourceRoot(), m_pszDestDir);
}
