// Times one tree copy under Wine for dev/bench-copy.sh:
//   copytree_timer copytree SOURCE TARGET   CFileMgr::CopyTree with force, in-process
//   copytree_timer run COMMAND LINE...      another program, started and waited for
// Prints "seconds <elapsed> result <n>"; the exit code is 0 only when the copy worked.
#include <windows.h>

#include <cstdio>
#include <cstring>
#include <string>

#include "platform/filemgr.h"

namespace {

double Seconds(const LARGE_INTEGER& start, const LARGE_INTEGER& stop) {
    LARGE_INTEGER frequency;
    ::QueryPerformanceFrequency(&frequency);
    return static_cast<double>(stop.QuadPart - start.QuadPart) /
           static_cast<double>(frequency.QuadPart);
}

// Process start-up is part of what a copy tool costs, so it stays inside the timing.
int RunAndWait(int argc, char** argv) {
    std::string commandLine;
    for (int i = 2; i < argc; ++i) {
        if (!commandLine.empty())
            commandLine += ' ';
        commandLine += argv[i];
    }
    STARTUPINFOA startup;
    std::memset(&startup, 0, sizeof startup);
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process;
    if (!::CreateProcessA(nullptr, &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                          &startup, &process))
        return -1;
    ::WaitForSingleObject(process.hProcess, INFINITE);
    DWORD exitCode = 1;
    ::GetExitCodeProcess(process.hProcess, &exitCode);
    ::CloseHandle(process.hThread);
    ::CloseHandle(process.hProcess);
    return exitCode == 0 ? 1 : 0;
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 3 || (std::strcmp(argv[1], "copytree") == 0 && argc != 4)) {
        std::fprintf(stderr, "usage: copytree_timer copytree SOURCE TARGET\n"
                             "       copytree_timer run COMMAND [ARGS...]\n");
        return 2;
    }
    LARGE_INTEGER start, stop;
    ::QueryPerformanceCounter(&start);
    int result;
    if (std::strcmp(argv[1], "copytree") == 0) {
        CFileMgr manager;
        result = manager.CopyTree(argv[2], argv[3], 1, nullptr);
    } else {
        result = RunAndWait(argc, argv);
    }
    ::QueryPerformanceCounter(&stop);
    std::printf("seconds %.3f result %d\n", Seconds(start, stop), result);
    return result == 1 ? 0 : 1;
}
