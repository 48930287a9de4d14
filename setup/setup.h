// CSetup: the installation engine. The document creates one, calls Run once and deletes
// it. Run drives the installation step by step; a step that returns FALSE ends the run
// at once, leaving what earlier steps did in place.
#pragma once

#include <windows.h>

#include <array>
#include <cstddef>
#include <memory>
#include <string>

#include "framework/object.h"
#include "integration/browser_rules.h"
#include "platform/bounded_text.h"
#include "setup/settings.h"

class CFileMgr;
class CIni;
class CRegistry;
class CSearchApp;
class CSearchDoc;

// Sizes of the engine's buffers: paths of 260 characters and the terminator, and the
// browser text kept for the application key.
constexpr std::size_t kSetupBrowserSize = 512;
using PathBuffer = std::array<char, bounded::kPathSize>;

class CSetup : public CObject {
public:
    explicit CSetup(CSearchDoc* pDoc);
    ~CSetup() override;
    CSetup(const CSetup&) = delete;
    CSetup& operator=(const CSetup&) = delete;

    const char* GetRuntimeClassName() const override { return "CSetup"; }

    // The whole installation; TRUE when it completed (or an installed copy was started
    // instead), FALSE when it stopped early.
    BOOL Run();

    // The directory the setup was started in, lower-cased and without the program folder
    // or a trailing backslash; computed on the first call, before anything changes the
    // current directory.
    const char* GetSourceRoot();
    // Opens the source search.ini into m_pSourceIni and sets m_bPublisher from it: the
    // first step of the run.
    void OpenSourceSettings();
    // TRUE when the Start-menu shortcut group\name.lnk exists and could be read.
    BOOL FindInstalledShortcut(const char* group, const char* name, char (&target)[1024],
                               char (&workingDir)[1024]);
    // Starts `commandLine` and returns at once; TRUE when the process was created.
    BOOL LaunchProgram(const char* commandLine);
    BOOL IsWin32s();
    DWORD GetWindowsMajorVersion();

    // The settings files besides the source root's search.ini; each path is empty when
    // it does not fit. The licence's: the source root's, below "publish\" for a
    // publisher. The installed one: the destination's, below "publish\" for a publisher.
    std::string GetLicenseSettingsPath();
    std::string GetInstalledSettingsPath();

    // The user's Programs folder, or the Windows directory when it cannot be read.
    void GetProgramsFolder(char* out, std::size_t size);
    // The Start-menu shortcut's path for the group and prefix + name, where the shortcut
    // step makes it (the same folder and link name rules), for the reinstall check;
    // FALSE when there is none.
    BOOL GetShortcutPath(const char* group, const char* prefix, const char* name, char* out,
                         std::size_t size);

    // Construction: the browsers found and automatic dialling switched off.
    void DetectBrowsers();
    void DisableAutodial();

    // The licence agreement the settings name; FALSE when the user declines it.
    BOOL ShowLicenseAgreement();

    // The destination step: m_pSourceIni read afresh, then AskDestination with
    // m_bPublisher's environment code, which picks the dialog's variant and default.
    BOOL SelectDestination();
    BOOL AskDestination(settings::Environment environment);
    // The copy of the program files into destDir, which becomes m_pszDestDir; platforms
    // is the dialog's platform mask.
    BOOL InstallFiles(const char* destDir, DWORD platforms);
    // The shared trees; on failure failedSource receives the source path of the tree.
    BOOL CopyCommonFiles(const char* sourceRoot, const char* destDir, char* failedSource,
                         std::size_t failedSourceSize);
    BOOL CopySubtree(const char* sourceRoot, const char* destDir, const char* subfolder);
    int CopyPlatformPart(const char* platformDir, const char* sourceRoot, const char* destDir,
                         const char* part);
    int CopyPlatformBin(const char* platformDir, const char* sourceRoot, const char* destDir);
    int CopyPlatformFilters(const char* platformDir, const char* sourceRoot, const char* destDir);
    BOOL CopyPlatform(const char* platformDir, const char* sourceRoot, const char* destDir);
    BOOL CopyRootFile(const char* sourceRoot, const char* destDir, const char* name);
    BOOL CopyUnixSearchFile(const char* sourceRoot, const char* destDir);
    // "Could not copy" and the name, in a message box.
    void ReportCopyFailure(const char* name);
    // A publisher's filters, after the copy, for the platforms found at the destination.
    void CopyInstalledFilters();
    BOOL DestHasDir(const char* subfolder);
    void CopyFiltersFor(const char* platformDir);

    // The browser: the settings' choice or the user's, in m_nBrowserKind and
    // m_pszBrowser; always TRUE.
    BOOL RecordBrowser();
    // The selection dialog's answer as a browser text and m_nBrowserKind; always TRUE.
    BOOL ChooseBrowser(std::string& text);
    // The CD's plug-in tree into the plug-in folders of one browser kind; always TRUE.
    BOOL InstallPlugins(browser::Kind browserKind);
    BOOL CopyPluginFiles(const char* sourceDir, const char* pluginDir);
    BOOL RegisterViewerControl();
    BOOL BypassProxyForNavigator();
    BOOL BypassProxyForIE();
    BOOL BypassProxyForCommunicator();

    // The application key with the default names; always TRUE.
    BOOL RegisterApplication();
    // The application key's values; the result of the last write.
    BOOL WriteApplicationKey(const char* group, const char* name);
    // The shortcuts, or a Program Manager group before Windows 4; TRUE when made.
    BOOL CreateShortcuts();
    // Windows 4 and later: two Start-menu shortcuts made by the CD's install.dll.
    BOOL CreateStartMenuShortcuts();
    BOOL CreateAppShortcut();
    BOOL CreateUninstallShortcut();
    // Earlier Windows: a Program Manager group with the same two items.
    BOOL CreateProgramManagerGroup();
    // 1 when install.dll's CreateLink was found and called.
    BOOL CallCreateLink(const char* program, const char* linkPath, const char* description,
                        const char* iconPath);
    // Creates the group's folder below the Programs folder (and its parents) and returns
    // its path in `buffer`; empty when the group leads out of it or does not fit.
    void GetProgramGroupDir(char* buffer, size_t size);
    void GetShortcutDescription(char* buffer, size_t size);
    // A path holding a blank becomes its 8.3 form in place, or empty when the system has
    // none for it.
    void MakeShortPath(char* path, size_t size);

    // Browser detection: each finder writes a folder into a 261-byte buffer, empty when
    // the browser is not there.
    void FindNavigatorPluginDir(char* out);
    void FindCommunicatorPluginDir(char* out);
    void FindIEPluginDir(char* out);
    void FindIEDirectory(char* buffer);
    BOOL FindIEDirFromCache(char* out);
    BOOL FindIEDirFromViewers(char* out);
    BOOL HasIExplore(const char* dir);
    // The finders' text tests, kept as the engine's names for them; the finders apply them
    // to strings in the browser rules (NavigatorProgramFolder, DirectoryFromCacheFolder),
    // which are tested natively, so nothing in the engine calls these two.
    static void StripTrailingBackslash(char* path);
    static int EndsWithNoCase(const char* text, const char* suffix);

    BOOL m_bPublisher;
    CSearchApp* m_pApp;
    std::unique_ptr<CIni> m_pSourceIni;
    std::unique_ptr<CRegistry> m_pRegistry;
    BOOL m_bWin32s;
    BOOL m_bNetscapeFound;
    BOOL m_bIEFound;
    BOOL m_bCommunicatorFound;
    browser::Kind m_nBrowserKind;
    std::unique_ptr<CFileMgr> m_pFileMgr;
    std::unique_ptr<PathBuffer> m_pszSourceRoot;  // null until GetSourceRoot first runs
    std::unique_ptr<PathBuffer> m_pszNetscapeIni; // only on Win32s
    char m_pszDestDir[bounded::kPathSize];
    BOOL m_bLeaveOnCD;
    char m_pszBrowser[kSetupBrowserSize];
    CSearchDoc* m_pDoc;

private:
    // m_pSourceIni (re)loaded from the source root's search.ini: the run's first open and
    // the destination step's.
    void LoadSourceSettings();
    // The application key below the registry root, with `subkey` when not null; FALSE
    // when it does not fit (BuildApplicationKey).
    BOOL GetApplicationKey(const char* group, const char* name, const char* subkey, char* out,
                           std::size_t size);
    // Everything InstallFiles copies while its notice shows.
    BOOL CopyProgramFiles(const char* sourceRoot, const char* destDir, DWORD platforms);
};
