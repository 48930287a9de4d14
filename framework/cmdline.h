// CCommandLineInfo: what the command line asks the application to do. The defaults
// create a new document; a file name opens that file instead.
#pragma once

#include <windows.h>

#include <string>

class CCommandLineInfo {
public:
    enum ShellCommand {
        FileNew,
        FileOpen,
        FilePrint,
        FilePrintTo,
        FileDDE,
        AppUnregister,
        FileNothing = -1
    };

    CCommandLineInfo() = default;
    virtual ~CCommandLineInfo() = default;

    // One argument: `flag` is TRUE when it began with '/' or '-' (the marker removed),
    // `last` when no argument follows.
    virtual void ParseParam(const char* param, BOOL flag, BOOL last);

    ShellCommand m_nShellCommand = FileNew;
    std::string m_strFileName;
    std::string m_strPrinterName;
    BOOL m_bRunEmbedded = FALSE;
    BOOL m_bRunAutomated = FALSE;

private:
    int m_nPrintToArgs = 0;
};
