// The processes a program starts, its children and theirs, each named as it begins. The
// program runs in a job object whose completion port reports every process created in
// the job (JOB_OBJECT_MSG_NEW_PROCESS). A thread of the watch waits on the port and names
// each process the moment its report arrives: Windows gives no name for a process that
// has ended, and a program the setup starts may end at once. Nothing is polled.
#pragma once

#include <windows.h>

#include <vector>

#include "tools/guidriver/process_list.h"

namespace guidriver {

class StartWatch {
public:
    StartWatch();
    ~StartWatch();
    StartWatch(const StartWatch&) = delete;
    StartWatch& operator=(const StartWatch&) = delete;

    // The job to start the program in (ChildProcess::Start); NULL when this Windows
    // offers no job with a completion port.
    HANDLE Job() const { return job_; }
    // Takes the reports that arrive within timeoutMs (0: those already there); returns
    // the processes they name.
    std::vector<ProcessInfo> Take(DWORD timeoutMs);
    const std::vector<ProcessInfo>& Started() const { return started_; }

private:
    static DWORD WINAPI Listen(void* self);
    ProcessInfo Named(DWORD id);

    HANDLE job_ = nullptr;
    HANDLE port_ = nullptr;
    HANDLE listener_ = nullptr;
    HANDLE arrived_ = nullptr; // set when the listener has named a process
    CRITICAL_SECTION lock_;    // guards named_ and taken_
    std::vector<ProcessInfo> named_;
    std::size_t taken_ = 0;
    std::vector<ProcessInfo> started_; // those taken, for the caller's thread
};

} // namespace guidriver
