// The copy of the program files from the source root to the destination: the shared
// trees, the platforms in the order of the platform table, and the root files.
#include <windows.h>

#include <cstdio>
#include <string>

#include "dialogs/copyingdlg.h"
#include "framework/strings.h"
#include "platform/filemgr.h"
#include "platform/ini.h"
#include "resources/resource.h"
#include "setup/install_rules.h"
#include "setup/rules.h"
#include "setup/settings.h"
#include "setup/setting_text.h"
#include "setup/setup.h"

namespace {

// dir + name in a zero-filled path buffer; false when it does not fit, which the
// callers treat as a failed copy.
bool JoinInto(char (&out)[kSetupPathSize], const char* dir, const char* name) {
    out[0] = '\0';
    return rules::AppendBounded(out, sizeof(out), dir) &&
           rules::AppendBounded(out, sizeof(out), name);
}

} // namespace

BOOL CSetup::InstallFiles(const char* destDir, DWORD platforms) {
    if (destDir == nullptr || destDir[0] == '\0')
        return FALSE;
    m_pszDestDir[0] = '\0';
    if (!rules::AppendBounded(m_pszDestDir, kSetupPathSize, destDir))
        return FALSE;

    CCopyingDlg* notice = CCopyingDlg::Show();
    char source[kSetupPathSize] = {};
    char destination[kSetupPathSize] = {};
    rules::AppendBounded(source, sizeof(source), GetSourceRoot());
    rules::AppendBounded(destination, sizeof(destination), m_pszDestDir);

    BOOL result = CopyProgramFiles(source, destination, platforms);
    if (notice != nullptr)
        notice->DestroyWindow();
    return result;
}

BOOL CSetup::CopyProgramFiles(const char* source, const char* destination, DWORD platforms) {
    char failedTree[kSetupPathSize] = {};
    if (!CopyCommonFiles(source, destination, failedTree, sizeof(failedTree))) {
        ReportCopyFailure(failedTree);
        return FALSE;
    }
    for (std::size_t i = 0; i < rules::kPlatformCount; ++i) {
        const rules::Platform& platform = rules::kPlatforms[i];
        if (platform.bits != 0 && (platforms & platform.bits) == 0)
            continue;
        if (!CopyPlatform(platform.folder, source, destination)) {
            ReportCopyFailure(platform.failureName);
            return FALSE;
        }
    }
    if (!CopyRootFile(source, destination, settings::kSettingsFile) ||
        !CopyRootFile(source, destination, "setup.exe"))
        return FALSE;
    if (rules::NeedsUnixSearchFile(platforms) && !CopyUnixSearchFile(source, destination))
        return FALSE;
    return TRUE;
}

BOOL CSetup::CopyCommonFiles(const char* source, const char* destination, char* failedSource,
                             std::size_t failedSourceSize) {
    if (failedSource != nullptr && failedSourceSize > 0)
        failedSource[0] = '\0';
    auto fail = [&](const char* tree) {
        // Only the message uses it: a path cut to the buffer is good enough there.
        if (failedSource != nullptr && failedSourceSize > 0)
            std::snprintf(failedSource, failedSourceSize, "%s%s", source, tree);
        return FALSE;
    };

    // Trees that a working installation can do without.
    for (const char* tree : {"\\common", "\\common20", "\\plugins", "\\forms"})
        CopySubtree(source, destination, tree);
    char keySource[kSetupPathSize];
    char keyTarget[kSetupPathSize];
    if (JoinInto(keySource, source, "\\key.tbl") && JoinInto(keyTarget, destination, "\\key.tbl"))
        m_pFileMgr->ForceCopyFile(keySource, keyTarget);

    // The publisher's data and templates: a copy already at the destination holds the
    // user's own work and is never overwritten.
    struct Kept {
        const char* section;
        const char* key;
    } keptTrees[] = {{settings::kCommonSection, settings::kDefaultTree},
                     {settings::kServerSection, settings::kTemplateDir}};
    for (const Kept& kept : keptTrees) {
        std::string tree = settings::ReadText(*m_pSourceIni, kept.section, kept.key);
        if (tree.empty())
            continue;
        // A name that would lead out of the destination is refused as a failed copy.
        if (!rules::IsSubfolderName(tree.c_str()))
            return fail(tree.c_str());
        char existing[kSetupPathSize];
        if (JoinInto(existing, destination, tree.c_str()) && m_pFileMgr->DirectoryExists(existing))
            continue;
        if (!CopySubtree(source, destination, tree.c_str()))
            return fail(tree.c_str());
    }

    CopySubtree(source, destination, "\\docs");
    if (m_bPublisher) {
        if (!CopySubtree(source, destination, "\\publish"))
            return fail("\\publish");
        CopySubtree(source, destination, "\\cgi-bin");
    }
    return TRUE;
}

BOOL CSetup::CopySubtree(const char* source, const char* destination, const char* subfolder) {
    char from[kSetupPathSize];
    char to[kSetupPathSize];
    if (!JoinInto(from, source, subfolder) || !JoinInto(to, destination, subfolder))
        return FALSE;
    return m_pFileMgr->CopyTree(from, to, 1, nullptr);
}

BOOL CSetup::CopyRootFile(const char* source, const char* destination, const char* name) {
    char from[kSetupPathSize] = {};
    char to[kSetupPathSize] = {};
    bool fits = rules::AppendBounded(from, sizeof(from), source) &&
                rules::EnsureTrailingBackslash(from, sizeof(from)) &&
                rules::AppendBounded(from, sizeof(from), name) &&
                rules::AppendBounded(to, sizeof(to), destination) &&
                rules::EnsureTrailingBackslash(to, sizeof(to)) &&
                rules::AppendBounded(to, sizeof(to), name);
    return fits && m_pFileMgr->ForceCopyFile(from, to);
}

BOOL CSetup::CopyUnixSearchFile(const char* source, const char* destination) {
    return CopyRootFile(source, destination, "search");
}

void CSetup::ReportCopyFailure(const char* name) {
    std::string text = LoadResString(IDS_COULD_NOT_COPY);
    text += ' ';
    text += name;
    AfxMessageBox(text.c_str(), MB_OK);
}
