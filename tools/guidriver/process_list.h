// The processes running under this Windows (here: this Wine prefix), for reports of what
// a program started. A program started by another may live for a moment only, so
// ProcessWatch is asked often and keeps everything it has seen.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace guidriver {

struct ProcessInfo {
    DWORD id = 0;
    DWORD parentId = 0;
    std::string name; // the program file's name
    std::string path; // its full path when it could be read, else the name
};

std::vector<ProcessInfo> RunningProcesses();

// Processes that were not running when the watch began. Each is held open from the
// moment it is first seen, so that a program ending at once can still be named.
class ProcessWatch {
public:
    ProcessWatch();
    ~ProcessWatch();
    ProcessWatch(const ProcessWatch&) = delete;
    ProcessWatch& operator=(const ProcessWatch&) = delete;
    // Takes a new look; returns the processes seen for the first time whose names are
    // known by now (a process that has only begun gets its name a moment later).
    std::vector<ProcessInfo> Poll();
    const std::vector<ProcessInfo>& Started() const { return started_; }
    // Whether a process is still running.
    static bool IsRunning(DWORD id);

private:
    std::vector<DWORD> before_;
    std::vector<ProcessInfo> started_;
    std::vector<HANDLE> handles_; // one for each of started_, or NULL
    std::vector<bool> reported_;  // one for each of started_
};

// Ends a process; false when it cannot be opened or ended.
bool EndProcess(DWORD id);

// Case-insensitive comparison of two file names.
bool SameName(const std::string& a, const std::string& b);

} // namespace guidriver
