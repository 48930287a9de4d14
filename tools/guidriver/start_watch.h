// Starts a program and names every process that it and its descendants start, each at
// the moment it is created. The program runs with this watch as its debugger
// (DEBUG_PROCESS): Windows holds each new process until its creation report has been
// read, so a program that ends at once is still named. (A job object's completion port
// reports new processes too, and Wine 8 sends those reports, but by id only, before
// the process has an image name, which it loses again when it ends.) The debugger
// passes every exception on and detaches when the watch ends, so the processes run on
// as they would without it.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "tools/guidriver/child_process.h"
#include "tools/guidriver/process_list.h"

namespace guidriver {

class StartWatch {
public:
    StartWatch();
    ~StartWatch();
    StartWatch(const StartWatch&) = delete;
    StartWatch& operator=(const StartWatch&) = delete;

    // Starts commandLine in workDir and hands the process to `child`; false when it
    // cannot be started (child->StartError() then says why).
    bool Start(const std::string& commandLine, const std::string& workDir, ChildProcess* child);
    // The processes named since the last call, waiting up to timeoutMs for the first.
    std::vector<ProcessInfo> Take(DWORD timeoutMs);
    const std::vector<ProcessInfo>& Started() const { return started_; }

private:
    static DWORD WINAPI Debug(void* self);
    void DebugLoop();
    void Named(const ProcessInfo& info);

    std::string commandLine_;
    std::string workDir_;
    HANDLE debugger_ = nullptr;
    HANDLE started_event_ = nullptr; // the program was started, or could not be
    HANDLE arrived_ = nullptr;       // a process was named
    volatile LONG stop_ = 0;
    PROCESS_INFORMATION program_ = {};
    DWORD startError_ = 0;
    CRITICAL_SECTION lock_; // guards named_ and taken_
    std::vector<ProcessInfo> named_;
    std::size_t taken_ = 0;
    std::vector<ProcessInfo> started_; // those taken, for the caller's thread
};

} // namespace guidriver
