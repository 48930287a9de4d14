#include "tools/guidriver/start_watch.h"

#include <winternl.h>

namespace guidriver {

namespace {

// The id of the process that started this one, 0 when it cannot be read.
DWORD ParentOf(HANDLE process) {
    PROCESS_BASIC_INFORMATION basic = {};
    return process && NtQueryInformationProcess(process, ProcessBasicInformation, &basic,
                                                sizeof basic, nullptr) >= 0
               ? static_cast<DWORD>(basic.InheritedFromUniqueProcessId)
               : 0;
}

std::string ImagePath(HANDLE process) {
    char path[MAX_PATH * 2] = "";
    DWORD size = sizeof path;
    return process && QueryFullProcessImageNameA(process, 0, path, &size) ? std::string(path, size)
                                                                          : std::string();
}

} // namespace

// The completion key that asks the listener to end.
constexpr ULONG_PTR kStopKey = 1;

StartWatch::StartWatch() {
    InitializeCriticalSection(&lock_);
    job_ = CreateJobObjectA(nullptr, nullptr);
    port_ = CreateIoCompletionPort(INVALID_HANDLE_VALUE, nullptr, 0, 1);
    arrived_ = CreateEventA(nullptr, FALSE, FALSE, nullptr);
    JOBOBJECT_ASSOCIATE_COMPLETION_PORT link = {};
    link.CompletionKey = job_;
    link.CompletionPort = port_;
    if (job_ && port_ && arrived_ &&
        SetInformationJobObject(job_, JobObjectAssociateCompletionPortInformation, &link,
                                sizeof link))
        listener_ = CreateThread(nullptr, 0, Listen, this, 0, nullptr);
    if (!listener_ && job_) {
        CloseHandle(job_);
        job_ = nullptr;
    }
}

StartWatch::~StartWatch() {
    if (listener_) {
        PostQueuedCompletionStatus(port_, 0, kStopKey, nullptr);
        WaitForSingleObject(listener_, INFINITE);
        CloseHandle(listener_);
    }
    // Closing the job ends nothing: it was made without KILL_ON_JOB_CLOSE.
    if (job_)
        CloseHandle(job_);
    if (port_)
        CloseHandle(port_);
    if (arrived_)
        CloseHandle(arrived_);
    DeleteCriticalSection(&lock_);
}

DWORD WINAPI StartWatch::Listen(void* self) {
    auto* watch = static_cast<StartWatch*>(self);
    DWORD message = 0;
    ULONG_PTR key = 0;
    LPOVERLAPPED detail = nullptr;
    while (GetQueuedCompletionStatus(watch->port_, &message, &key, &detail, INFINITE) &&
           key != kStopKey) {
        if (message != JOB_OBJECT_MSG_NEW_PROCESS)
            continue;
        // For job messages the "overlapped" pointer carries the process id.
        ProcessInfo info = watch->Named(static_cast<DWORD>(reinterpret_cast<ULONG_PTR>(detail)));
        EnterCriticalSection(&watch->lock_);
        watch->named_.push_back(info);
        LeaveCriticalSection(&watch->lock_);
        SetEvent(watch->arrived_);
    }
    return 0;
}

ProcessInfo StartWatch::Named(DWORD id) {
    ProcessInfo info;
    info.id = id;
    HANDLE process = OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION | SYNCHRONIZE, FALSE, id);
    if (!process)
        return info;
    info.parentId = ParentOf(process);
    // The report comes as the process is created; Windows knows its image a moment
    // later, when the process has mapped it, and forgets it when the process ends.
    for (;;) {
        info.path = ImagePath(process);
        if (!info.path.empty() || WaitForSingleObject(process, 1) != WAIT_TIMEOUT)
            break;
    }
    info.name = info.path.substr(info.path.find_last_of('\\') + 1);
    CloseHandle(process);
    return info;
}

std::vector<ProcessInfo> StartWatch::Take(DWORD timeoutMs) {
    std::vector<ProcessInfo> fresh;
    if (!listener_)
        return fresh;
    EnterCriticalSection(&lock_);
    bool none = taken_ == named_.size();
    LeaveCriticalSection(&lock_);
    if (none && timeoutMs > 0)
        WaitForSingleObject(arrived_, timeoutMs);
    EnterCriticalSection(&lock_);
    fresh.assign(named_.begin() + static_cast<std::ptrdiff_t>(taken_), named_.end());
    taken_ = named_.size();
    LeaveCriticalSection(&lock_);
    started_.insert(started_.end(), fresh.begin(), fresh.end());
    return fresh;
}

} // namespace guidriver
