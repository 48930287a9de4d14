// CSetup: the installation engine. The document creates one, calls Run once and deletes
// it. Run drives the installation step by step; a step that returns FALSE ends the run
// at once, leaving what earlier steps did in place.
#pragma once

#include <windows.h>

#include <cstddef>

#include "framework/object.h"
#include "platform/bounded_text.h"

class CFileMgr;
class CIni;
class CRegistry;
class CSearchApp;
class CSearchDoc;

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

    // The directory the setup was started in, lower-cased and without "\_red40\bin" or a
    // trailing backslash; computed on the first call, before anything changes the
    // current directory.
    const char* GetSourceRoot();
    // Opens the source search.ini into m_pSourceIni and sets m_bPublisher from it.
    void OpenSourceSettings();
    // m_pSourceIni opened (again) on the source root's search.ini.
    void ReopenSourceSettings();
    // TRUE when the Start-menu shortcut group\name.lnk exists and could be read.
    BOOL FindInstalledShortcut(const char* group, const char* name, char (&target)[1024],
                               char (&workingDir)[1024]);
    // The user's Programs folder, or the Windows directory when it cannot be read.
    void GetProgramsFolder(char* out, std::size_t size);
    // The Start-menu shortcut's path for the group and prefix + name, as the shortcut
    // step makes it and the reinstall check looks for it; FALSE when there is none.
    BOOL GetShortcutPath(const char* group, const char* prefix, const char* name, char* out,
                         std::size_t size);
    // Starts `commandLine` and returns at once; TRUE when the process was created.
    BOOL LaunchProgram(const char* commandLine);
    BOOL IsWin32s();
    DWORD GetWindowsMajorVersion();

    // Steps of the run, in its order.
    void DetectBrowsers();
    void DisableAutodial();
    BOOL ShowLicenseAgreement();
    BOOL SelectDestination();
    int CopyPlatformPart(const char* platformDir, const char* sourceRoot, const char* destDir,
                         const char* part);
    void CopyInstalledFilters();

    // The destination step and the copy of the program files. environment is 101 for a
    // publisher, 102 for a client; platforms is the dialog's platform mask.
    BOOL AskDestination(int environment);
    BOOL InstallFiles(const char* destDir, DWORD platforms);
    // The shared trees; on failure failedSource receives the source path of the tree.
    BOOL CopyCommonFiles(const char* sourceRoot, const char* destDir, char* failedSource,
                         std::size_t failedSourceSize);
    BOOL CopySubtree(const char* sourceRoot, const char* destDir, const char* subfolder);
    int CopyPlatformBin(const char* platformDir, const char* sourceRoot, const char* destDir);
    int CopyPlatformFilters(const char* platformDir, const char* sourceRoot, const char* destDir);
    BOOL CopyPlatform(const char* platformDir, const char* sourceRoot, const char* destDir);
    BOOL CopyRootFile(const char* sourceRoot, const char* destDir, const char* name);
    BOOL CopyUnixSearchFile(const char* sourceRoot, const char* destDir);
    // "Could not copy" and the name, in a message box.
    void ReportCopyFailure(const char* name);
    BOOL DestHasDir(const char* subfolder);
    void CopyFiltersFor(const char* platformDir);
    BOOL RecordBrowser();
    BOOL InstallPlugins(int browserKind);
    BOOL BypassProxyForNavigator();
    BOOL BypassProxyForIE();
    BOOL BypassProxyForCommunicator();
    BOOL RegisterApplication();
    BOOL CreateShortcuts();
    // The application key's values; the result of the last write.
    BOOL WriteApplicationKey(const char* group, const char* name);
    // Windows 4 and later: two Start-menu shortcuts made by the CD's install.dll.
    BOOL CreateStartMenuShortcuts();
    BOOL CreateAppShortcut();
    BOOL CreateUninstallShortcut();
    // Earlier Windows: a Program Manager group with the same two items.
    BOOL CreateProgramManagerGroup();
    // 1 when install.dll's CreateLink was found and called.
    BOOL CallCreateLink(const char* program, const char* linkPath, const char* description,
                        const char* iconPath);
    // The Programs folder + the group, created on the way.
    void GetProgramGroupDir(char* buffer, size_t size);
    void GetShortcutDescription(char* buffer, size_t size);
    // A path holding a blank becomes its 8.3 form in place, or empty when the system has
    // none for it.
    void MakeShortPath(char* path, size_t size);
    BOOL RegisterViewerControl();

    // Browser detection: each finder writes a folder into a 261-byte buffer, empty when
    // the browser is not there.
    void FindNavigatorPluginDir(char* out);
    void FindCommunicatorPluginDir(char* out);
    void FindIEPluginDir(char* out);
    void FindIEDirectory(char* buffer);
    BOOL FindIEDirFromCache(char* out);
    BOOL FindIEDirFromViewers(char* out);
    BOOL HasIExplore(const char* dir);
    static void StripTrailingBackslash(char* path);
    static int EndsWithNoCase(const char* text, const char* suffix);
    BOOL ChooseBrowser(char* text, size_t textSize);
    BOOL CopyPluginFiles(const char* sourceDir, const char* pluginDir);

    BOOL m_bPublisher;
    CSearchApp* m_pApp;
    CIni* m_pSourceIni;
    CRegistry* m_pRegistry;
    BOOL m_bWin32s;
    BOOL m_bNetscapeFound;
    BOOL m_bIEFound;
    BOOL m_bCommunicatorFound;
    // 0 Navigator, 1 Internet Explorer, 2 Communicator, 4 a browser given by its path.
    int m_nBrowserKind;
    CFileMgr* m_pFileMgr;
    char* m_pszSourceRoot;  // 261 bytes once computed
    char* m_pszNetscapeIni; // 261 bytes, only on Win32s
    char* m_pszDestDir;     // 261 bytes
    BOOL m_bLeaveOnCD;
    char* m_pszBrowser; // 512 bytes
    CSearchDoc* m_pDoc;

private:
    // Steps 5 to 8 of InstallFiles: everything copied while the notice shows.
    BOOL CopyProgramFiles(const char* sourceRoot, const char* destDir, DWORD platforms);
};

// Sizes of the engine's buffers.
constexpr int kSetupPathSize = static_cast<int>(bounded::kPathSize);
constexpr int kSetupBrowserSize = 512;
