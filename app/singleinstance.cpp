// The single-instance guard of CSearchApp: a named mapping that the first instance
// holds until it exits.
#include "app/searchapp.h"
#include "app/windowsearch.h"
#include "resources/titles.h"

namespace {
const char kInstanceMappingName[] = "SrchMap";

// Titles of the dialogs a running setup may be showing, in the order they are tried.
const char* const kOtherInstanceTitles[] = {
    TITLE_BROWSER_SELECT, "No browser has been found", TITLE_DESTINATION,
    "File Destination",   "Choose a Language",         "Restart Browser",
};
} // namespace

BOOL CSearchApp::CreateInstanceMapping() {
    HANDLE mapping = ::CreateFileMappingA(INVALID_HANDLE_VALUE, NULL, PAGE_READONLY, 0, 32,
                                          kInstanceMappingName);
    // Read at once: any later call, even closing a handle, may overwrite the last error.
    DWORD error = ::GetLastError();
    m_hInstanceMapping.reset(mapping);
    if (m_hInstanceMapping && error == ERROR_ALREADY_EXISTS)
        m_hInstanceMapping.reset();
    return m_hInstanceMapping ? TRUE : FALSE;
}

BOOL CSearchApp::CheckSingleInstance() {
    if (!CreateInstanceMapping()) {
        // Also when the mapping cannot be made at all: safer to assume another copy.
        ActivateOtherInstance();
        return FALSE;
    }
    return TRUE;
}

void CSearchApp::ActivateOtherInstance() {
    for (const char* title : kOtherInstanceTitles) {
        HWND window = FindTopLevelWindowByTitle(title);
        if (window != NULL) {
            ::SetForegroundWindow(window);
            return;
        }
    }
}
