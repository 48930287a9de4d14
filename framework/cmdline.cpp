#include "framework/cmdline.h"

#include <cstring>

namespace {
bool EqualNoCase(const char* a, const char* b) {
    return ::lstrcmpiA(a, b) == 0;
}
} // namespace

void CCommandLineInfo::ParseParam(const char* param, BOOL flag, BOOL /*last*/) {
    if (flag) {
        if (EqualNoCase(param, "pt")) {
            m_nShellCommand = FilePrintTo;
            m_nPrintToArgs = 0;
        } else if (EqualNoCase(param, "p")) {
            m_nShellCommand = FilePrint;
        } else if (EqualNoCase(param, "unregister") || EqualNoCase(param, "unregserver")) {
            m_nShellCommand = AppUnregister;
        } else if (EqualNoCase(param, "dde")) {
            m_nShellCommand = FileDDE;
        } else if (EqualNoCase(param, "embedding")) {
            m_bRunEmbedded = TRUE;
        } else if (EqualNoCase(param, "automation")) {
            m_bRunAutomated = TRUE;
        }
        return;
    }
    if (m_nShellCommand == FilePrintTo && !m_strFileName.empty()) {
        // "/pt file printer driver port": only the printer is kept.
        if (m_nPrintToArgs++ == 0)
            m_strPrinterName = param;
        return;
    }
    if (m_strFileName.empty()) {
        m_strFileName = param;
        if (m_nShellCommand == FileNew)
            m_nShellCommand = FileOpen;
    }
}
