// The platform folders: their "bin" trees during the copy, their "filters" trees during
// the copy (client) or afterwards for the platforms present at the destination
// (publisher), and the perl tree of the Windows platform.
#include <windows.h>

#include "dialogs/copyingdlg.h"
#include "platform/filemgr.h"
#include "platform/bounded_text.h"
#include "setup/copy_plan.h"
#include "setup/setup.h"

int CSetup::CopyPlatformPart(const char* platformDir, const char* source, const char* destination,
                             const char* part) {
    char from[bounded::kPathSize] = {};
    char to[bounded::kPathSize] = {};
    bool fits =
        bounded::Copy(from, sizeof(from), source) &&
        bounded::Append(from, sizeof(from), platformDir) &&
        bounded::Append(from, sizeof(from), part) && bounded::Copy(to, sizeof(to), destination) &&
        bounded::Append(to, sizeof(to), platformDir) && bounded::Append(to, sizeof(to), part);
    return fits ? m_pFileMgr->CopyTree(from, to, 1, nullptr) : 0;
}

int CSetup::CopyPlatformBin(const char* platformDir, const char* source, const char* destination) {
    return CopyPlatformPart(platformDir, source, destination, copy_plan::kBinPart);
}

int CSetup::CopyPlatformFilters(const char* platformDir, const char* source,
                                const char* destination) {
    return CopyPlatformPart(platformDir, source, destination, copy_plan::kFiltersPart);
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
    for (std::size_t i = 0; i < copy_plan::kFilterFolderCount; ++i) {
        if (DestHasDir(copy_plan::kFilterFolders[i]))
            CopyFiltersFor(copy_plan::kFilterFolders[i]);
    }
    if (notice != nullptr)
        notice->DestroyWindow();
}

BOOL CSetup::DestHasDir(const char* subfolder) {
    char path[bounded::kPathSize] = {};
    if (!bounded::Copy(path, sizeof(path), m_pszDestDir) ||
        !bounded::Append(path, sizeof(path), subfolder))
        return FALSE;
    return m_pFileMgr->DirectoryExists(path);
}

void CSetup::CopyFiltersFor(const char* platformDir) {
    CopyPlatformFilters(platformDir, GetSourceRoot(), m_pszDestDir);
}
