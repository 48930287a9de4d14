#include "tools/guidriver/process_list.h"

#include <tlhelp32.h>

#include <algorithm>

namespace guidriver {

namespace {

std::string PathOf(HANDLE process) {
    char path[MAX_PATH * 2] = "";
    DWORD size = sizeof path;
    return process && QueryFullProcessImageNameA(process, 0, path, &size) ? std::string(path, size)
                                                                          : std::string();
}

std::string FullPath(DWORD id, const std::string& name) {
    HANDLE process = OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, id);
    std::string path = PathOf(process);
    if (process)
        CloseHandle(process);
    return path.empty() ? name : path;
}

std::string FileName(const std::string& path) {
    return path.substr(path.find_last_of('\\') + 1);
}

bool Contains(const std::vector<DWORD>& ids, DWORD id) {
    return std::find(ids.begin(), ids.end(), id) != ids.end();
}

} // namespace

std::vector<ProcessInfo> RunningProcesses() {
    std::vector<ProcessInfo> processes;
    HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    if (snapshot == INVALID_HANDLE_VALUE)
        return processes;
    PROCESSENTRY32 entry = {};
    entry.dwSize = sizeof entry;
    for (BOOL more = Process32First(snapshot, &entry); more;
         more = Process32Next(snapshot, &entry)) {
        ProcessInfo info;
        info.id = entry.th32ProcessID;
        info.parentId = entry.th32ParentProcessID;
        info.name = entry.szExeFile;
        processes.push_back(info);
    }
    CloseHandle(snapshot);
    for (ProcessInfo& info : processes) {
        info.path = FullPath(info.id, info.name);
        // A process that has only begun may have no name in the list yet.
        if (info.name.empty())
            info.name = FileName(info.path);
    }
    return processes;
}

ProcessWatch::ProcessWatch() {
    for (const ProcessInfo& info : RunningProcesses())
        before_.push_back(info.id);
}

ProcessWatch::~ProcessWatch() {
    for (HANDLE handle : handles_) {
        if (handle)
            CloseHandle(handle);
    }
}

std::vector<ProcessInfo> ProcessWatch::Poll() {
    std::vector<ProcessInfo> fresh;
    for (const ProcessInfo& info : RunningProcesses()) {
        if (Contains(before_, info.id))
            continue;
        before_.push_back(info.id);
        started_.push_back(info);
        handles_.push_back(
            OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION | SYNCHRONIZE, FALSE, info.id));
        reported_.push_back(false);
    }
    for (std::size_t i = 0; i < started_.size(); ++i) {
        ProcessInfo& info = started_[i];
        if (info.path.empty() || info.path == info.name) {
            std::string path = PathOf(handles_[i]);
            if (!path.empty()) {
                info.path = path;
                info.name = FileName(path);
            }
        }
        const bool ended = !handles_[i] || WaitForSingleObject(handles_[i], 0) == WAIT_OBJECT_0;
        if (!reported_[i] && (!info.name.empty() || ended)) {
            reported_[i] = true;
            fresh.push_back(info);
        }
    }
    return fresh;
}

bool ProcessWatch::IsRunning(DWORD id) {
    HANDLE process = OpenProcess(SYNCHRONIZE, FALSE, id);
    if (process == nullptr)
        return false;
    bool running = WaitForSingleObject(process, 0) == WAIT_TIMEOUT;
    CloseHandle(process);
    return running;
}

bool EndProcess(DWORD id) {
    HANDLE process = OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, id);
    if (process == nullptr)
        return false;
    bool ok = TerminateProcess(process, 1) && WaitForSingleObject(process, 5000) == WAIT_OBJECT_0;
    CloseHandle(process);
    return ok;
}

bool SameName(const std::string& a, const std::string& b) {
    return lstrcmpiA(a.c_str(), b.c_str()) == 0;
}

} // namespace guidriver
