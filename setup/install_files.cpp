// The copy of the program files from the source root to the destination, walking the
// copy plan: the shared items, the platforms in the order of their table, the root files.
#include <windows.h>

#include <string>

#include "dialogs/copyingdlg.h"
#include "framework/strings.h"
#include "platform/bounded_text.h"
#include "platform/filemgr.h"
#include "platform/ini.h"
#include "resources/resource.h"
#include "setup/copy_plan.h"
#include "setup/setting_text.h"
#include "setup/setup.h"

namespace {

// dir + name in a path buffer; false when it does not fit, which the callers treat as a
// failed copy.
bool JoinInto(char (&out)[bounded::kPathSize], const char* dir, const char* name) {
    return bounded::Copy(out, sizeof(out), dir) && bounded::Append(out, sizeof(out), name);
}

} // namespace

BOOL CSetup::InstallFiles(const char* destDir, DWORD platforms) {
    if (destDir == nullptr || destDir[0] == '\0')
        return FALSE;
    if (!bounded::Copy(m_pszDestDir, sizeof(m_pszDestDir), destDir))
        return FALSE;

    CCopyingDlg* notice = CCopyingDlg::Show();
    BOOL result = CopyProgramFiles(GetSourceRoot(), m_pszDestDir, platforms);
    if (notice != nullptr)
        notice->DestroyWindow();
    return result;
}

BOOL CSetup::CopyProgramFiles(const char* source, const char* destination, DWORD platforms) {
    char failedTree[bounded::kPathSize] = {};
    if (!CopyCommonFiles(source, destination, failedTree, sizeof(failedTree))) {
        ReportCopyFailure(failedTree);
        return FALSE;
    }
    for (std::size_t i = 0; i < copy_plan::kPlatformCount; ++i) {
        const copy_plan::Platform& platform = copy_plan::kPlatforms[i];
        if (platform.bits != 0 && (platforms & platform.bits) == 0)
            continue;
        if (!CopyPlatform(platform.folder, source, destination)) {
            ReportCopyFailure(platform.failureName);
            return FALSE;
        }
    }
    for (std::size_t i = 0; i < copy_plan::kRootFileCount; ++i) {
        const copy_plan::RootFile& file = copy_plan::kRootFiles[i];
        if (file.unixOnly && !copy_plan::NeedsUnixSearchFile(platforms))
            continue;
        BOOL copied = file.unixOnly ? CopyUnixSearchFile(source, destination)
                                    : CopyRootFile(source, destination, file.name);
        if (!copied)
            return FALSE;
    }
    return TRUE;
}

BOOL CSetup::CopyCommonFiles(const char* source, const char* destination, char* failedSource,
                             std::size_t failedSourceSize) {
    bounded::CopyCut(failedSource, failedSourceSize, "");
    for (std::size_t i = 0; i < copy_plan::kSharedItemCount; ++i) {
        const copy_plan::SharedItem& item = copy_plan::kSharedItems[i];
        if (!copy_plan::Applies(item.when, m_bPublisher != 0))
            continue;
        std::string value = item.name != nullptr
                                ? std::string(item.name)
                                : settings::ReadText(*m_pSourceIni, item.section, item.key);
        if (value.empty())
            continue;
        // A name leading out of the destination is refused as a failed copy; a bare "\"
        // names the destination itself, which is there already.
        char tree[bounded::kPathSize] = {};
        bool named = copy_plan::TreeName(value.c_str(), tree, sizeof(tree));
        if (named && tree[0] == '\0')
            continue;
        char existing[bounded::kPathSize];
        if (named && item.keepExisting && JoinInto(existing, destination, tree) &&
            m_pFileMgr->DirectoryExists(existing))
            continue;

        bool copied = false;
        if (named && item.kind == copy_plan::Kind::File) {
            char from[bounded::kPathSize];
            char to[bounded::kPathSize];
            copied = JoinInto(from, source, tree) && JoinInto(to, destination, tree) &&
                     m_pFileMgr->ForceCopyFile(from, to);
        } else if (named) {
            copied = CopySubtree(source, destination, tree) != FALSE;
        }
        if (!copied && item.onFailure == copy_plan::OnFailure::StopsNamingPath) {
            // Only the message uses it: a path cut to the buffer is good enough there.
            bounded::CopyCut(failedSource, failedSourceSize, (source + value).c_str());
            return FALSE;
        }
    }
    return TRUE;
}

BOOL CSetup::CopySubtree(const char* source, const char* destination, const char* subfolder) {
    char from[bounded::kPathSize];
    char to[bounded::kPathSize];
    if (!JoinInto(from, source, subfolder) || !JoinInto(to, destination, subfolder))
        return FALSE;
    return m_pFileMgr->CopyTree(from, to, 1, nullptr);
}

BOOL CSetup::CopyRootFile(const char* source, const char* destination, const char* name) {
    char from[bounded::kPathSize] = {};
    char to[bounded::kPathSize] = {};
    bool fits =
        bounded::Copy(from, sizeof(from), source) &&
        bounded::EnsureTrailingBackslash(from, sizeof(from)) &&
        bounded::Append(from, sizeof(from), name) && bounded::Copy(to, sizeof(to), destination) &&
        bounded::EnsureTrailingBackslash(to, sizeof(to)) && bounded::Append(to, sizeof(to), name);
    return fits && m_pFileMgr->ForceCopyFile(from, to);
}

BOOL CSetup::CopyUnixSearchFile(const char* source, const char* destination) {
    return CopyRootFile(source, destination, copy_plan::kUnixSearchFile);
}

void CSetup::ReportCopyFailure(const char* name) {
    std::string text = LoadResString(IDS_COULD_NOT_COPY);
    text += ' ';
    text += name;
    AfxMessageBox(text.c_str(), MB_OK);
}
