// CSearchApp: the setup program's application object. Its start-up refuses a second
// running copy, picks the resource module, and creates the document, whose construction
// performs the whole installation; then it closes the hidden main window again.
#pragma once

#include <windows.h>

#include "framework/handles.h"
#include "framework/winapp.h"
#include "platform/bounded_text.h"

class CSearchApp : public CWinApp {
public:
    CSearchApp();
    ~CSearchApp() override;

    BOOL InitInstance() override;
    BOOL OnCommand(UINT id) override;

    BOOL CheckSingleInstance();
    BOOL CreateInstanceMapping();
    void ActivateOtherInstance();
    BOOL InitRegistryRoot();
    void CloseMainWindow();
    void OnAppAbout();

    // "SOFTWARE\" once start-up has run: the start of every HKEY_CURRENT_USER key the
    // installation writes.
    char m_pszRegistryRoot[bounded::kPathSize] = {};
    // The named mapping that marks the running instance; empty in a second instance.
    UniqueHandle m_hInstanceMapping;
};
