// CWinApp: the one application object of the process. AfxWinMain drives it:
// InitInstance, then the message loop in Run, then ExitInstance.
#pragma once

#include <windows.h>

#include <memory>
#include <string>
#include <vector>

#include "framework/cmdline.h"

class CWnd;
class CDocument;
class CSingleDocTemplate;

class CWinApp {
public:
    CWinApp();
    virtual ~CWinApp();
    CWinApp(const CWinApp&) = delete;
    CWinApp& operator=(const CWinApp&) = delete;

    HINSTANCE m_hInstance = NULL;
    const char* m_lpCmdLine = "";
    int m_nCmdShow = SW_SHOWNORMAL;
    CWnd* m_pMainWnd = nullptr;
    // Caption of the program's message boxes: string AFX_IDS_APP_TITLE of the executable.
    std::string m_strAppName;

    virtual BOOL InitInstance() { return TRUE; }
    virtual int Run();
    virtual int ExitInstance() { return m_nExitCode; }
    // Application-wide commands, reached after the view and the frame declined them.
    virtual BOOL OnCommand(UINT id);

    // Three-dimensional controls are what every supported system draws anyway.
    void Enable3dControls() {}
    // The recently-used list is never shown or stored; only its size is remembered.
    void LoadStdProfileSettings(UINT maxMruEntries = 4) { m_nMaxMru = maxMruEntries; }
    void AddDocTemplate(CSingleDocTemplate* docTemplate);
    void ParseCommandLine(CCommandLineInfo& info);
    BOOL ProcessShellCommand(CCommandLineInfo& info);
    void OnFileNew();
    void OnFileOpen();
    void OnAppExit();
    CDocument* OpenDocumentFile(const char* path);
    void CloseAllDocuments();

    // Part of AfxWinMain: handles, title and common controls before InitInstance.
    void InitApplication(HINSTANCE instance, LPSTR cmdLine, int cmdShow);

protected:
    // Gives modeless dialogs their keyboard navigation; TRUE when the message was used.
    virtual BOOL PreTranslateMessage(MSG* msg);

private:
    std::vector<std::unique_ptr<CSingleDocTemplate>> m_templates;
    UINT m_nMaxMru = 0;
    int m_nExitCode = 0;
};

CWinApp* AfxGetApp();
CWnd* AfxGetMainWnd();
int AfxWinMain(HINSTANCE instance, HINSTANCE previous, LPSTR cmdLine, int cmdShow);
