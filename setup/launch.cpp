// CSetup::LaunchProgram: starts a program without waiting for it.
#include "setup/setup.h"

#include <cstring>
#include <vector>

#include "framework/handles.h"

BOOL CSetup::LaunchProgram(const char* commandLine) {
    STARTUPINFOA startupInfo = {};
    startupInfo.cb = sizeof(startupInfo);
    ::GetStartupInfoA(&startupInfo);
    PROCESS_INFORMATION processInfo = {};
    // CreateProcessA may write into its command line: give it a copy.
    std::vector<char> command(commandLine, commandLine + std::strlen(commandLine) + 1);
    BOOL created = ::CreateProcessA(NULL, command.data(), NULL, NULL, FALSE, 0, NULL, NULL,
                                    &startupInfo, &processInfo);
    if (created) {
        UniqueHandle process(processInfo.hProcess);
        UniqueHandle thread(processInfo.hThread);
    }
    return created;
}
