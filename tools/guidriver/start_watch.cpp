#include "tools/guidriver/start_watch.h"

#include <winternl.h>

#include <algorithm>

namespace guidriver {

namespace {

// How often the debugger looks whether the watch is ending.
constexpr DWORD kStopCheckMs = 50;

// The id of the process that started this one, 0 when it cannot be read.
DWORD ParentOf(HANDLE process) {
    PROCESS_BASIC_INFORMATION basic = {};
    return process && NtQueryInformationProcess(process, ProcessBasicInformation, &basic,
                                                sizeof basic, nullptr) >= 0
               ? static_cast<DWORD>(basic.InheritedFromUniqueProcessId)
               : 0;
}

// The path of an open image file, as Windows names it ("\\?\" left out).
std::string PathOfFile(HANDLE file) {
    char path[MAX_PATH * 2] = "";
    DWORD length = file ? GetFinalPathNameByHandleA(file, path, sizeof path, VOLUME_NAME_DOS) : 0;
    std::string name(path, length < sizeof path ? length : 0);
    return name.rfind("\\\\?\\", 0) == 0 ? name.substr(4) : name;
}

} // namespace

StartWatch::StartWatch() {
    InitializeCriticalSection(&lock_);
    started_event_ = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    arrived_ = CreateEventA(nullptr, FALSE, FALSE, nullptr);
}

StartWatch::~StartWatch() {
    if (debugger_) {
        InterlockedExchange(&stop_, 1);
        WaitForSingleObject(debugger_, INFINITE);
        CloseHandle(debugger_);
    }
    if (program_.hProcess)
        CloseHandle(program_.hProcess);
    CloseHandle(started_event_);
    CloseHandle(arrived_);
    DeleteCriticalSection(&lock_);
}

bool StartWatch::Start(const std::string& commandLine, const std::string& workDir,
                       ChildProcess* child) {
    commandLine_ = commandLine;
    workDir_ = workDir;
    // Only the thread that starts a program under debugging receives its reports.
    debugger_ = CreateThread(nullptr, 0, Debug, this, 0, nullptr);
    if (!debugger_)
        return child->Start(commandLine, workDir);
    WaitForSingleObject(started_event_, INFINITE);
    if (!program_.hProcess)
        return child->Start(commandLine, workDir); // reports why it cannot start
    HANDLE own = nullptr;
    DuplicateHandle(GetCurrentProcess(), program_.hProcess, GetCurrentProcess(), &own, 0, FALSE,
                    DUPLICATE_SAME_ACCESS);
    child->Adopt(own, program_.dwProcessId);
    return true;
}

DWORD WINAPI StartWatch::Debug(void* self) {
    static_cast<StartWatch*>(self)->DebugLoop();
    return 0;
}

void StartWatch::DebugLoop() {
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    std::string mutableLine = commandLine_; // CreateProcessA may write into it
    const BOOL created =
        CreateProcessA(nullptr, &mutableLine[0], nullptr, nullptr, FALSE, DEBUG_PROCESS, nullptr,
                       workDir_.empty() ? nullptr : workDir_.c_str(), &startup, &program_);
    if (created) {
        CloseHandle(program_.hThread);
        program_.hThread = nullptr;
        // The processes outlive the watch: it detaches from them when it ends.
        DebugSetProcessKillOnExit(FALSE);
    }
    SetEvent(started_event_);
    if (!created)
        return;
    std::vector<DWORD> debugged;
    std::vector<DWORD> pastFirstBreak;
    while (!InterlockedCompareExchange(&stop_, 0, 0)) {
        DEBUG_EVENT event = {};
        if (!WaitForDebugEvent(&event, kStopCheckMs))
            continue;
        DWORD reply = DBG_CONTINUE;
        switch (event.dwDebugEventCode) {
        case CREATE_PROCESS_DEBUG_EVENT: {
            ProcessInfo info;
            info.id = event.dwProcessId;
            info.parentId = ParentOf(event.u.CreateProcessInfo.hProcess);
            info.path = PathOfFile(event.u.CreateProcessInfo.hFile);
            info.name = info.path.substr(info.path.find_last_of('\\') + 1);
            if (event.u.CreateProcessInfo.hFile)
                CloseHandle(event.u.CreateProcessInfo.hFile);
            debugged.push_back(event.dwProcessId);
            Named(info);
            break;
        }
        case LOAD_DLL_DEBUG_EVENT:
            if (event.u.LoadDll.hFile)
                CloseHandle(event.u.LoadDll.hFile);
            break;
        case EXIT_PROCESS_DEBUG_EVENT:
            debugged.erase(std::remove(debugged.begin(), debugged.end(), event.dwProcessId),
                           debugged.end());
            break;
        case EXCEPTION_DEBUG_EVENT: {
            // Each process's first breakpoint is the debugger's own; everything else
            // goes to the program as if no debugger were there.
            const bool first = std::find(pastFirstBreak.begin(), pastFirstBreak.end(),
                                         event.dwProcessId) == pastFirstBreak.end();
            if (first && event.u.Exception.ExceptionRecord.ExceptionCode == EXCEPTION_BREAKPOINT)
                pastFirstBreak.push_back(event.dwProcessId);
            else
                reply = DBG_EXCEPTION_NOT_HANDLED;
            break;
        }
        default:
            break;
        }
        ContinueDebugEvent(event.dwProcessId, event.dwThreadId, reply);
    }
    for (DWORD id : debugged)
        DebugActiveProcessStop(id);
}

void StartWatch::Named(const ProcessInfo& info) {
    EnterCriticalSection(&lock_);
    named_.push_back(info);
    LeaveCriticalSection(&lock_);
    SetEvent(arrived_);
}

std::vector<ProcessInfo> StartWatch::Take(DWORD timeoutMs) {
    EnterCriticalSection(&lock_);
    const bool none = taken_ == named_.size();
    LeaveCriticalSection(&lock_);
    if (none && timeoutMs > 0)
        WaitForSingleObject(arrived_, timeoutMs);
    EnterCriticalSection(&lock_);
    std::vector<ProcessInfo> fresh(named_.begin() + static_cast<std::ptrdiff_t>(taken_),
                                   named_.end());
    taken_ = named_.size();
    LeaveCriticalSection(&lock_);
    started_.insert(started_.end(), fresh.begin(), fresh.end());
    return fresh;
}

} // namespace guidriver
