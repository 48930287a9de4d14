#include "tools/guidriver/child_process.h"

#include <algorithm>

#include "tools/guidriver/gui_driver.h"

namespace guidriver {

namespace {
constexpr DWORD kPollMs = 10;
} // namespace

std::string ProgramBesideThisOne(const char* name) {
    char self[MAX_PATH] = "";
    DWORD length = GetModuleFileNameA(nullptr, self, sizeof self);
    std::string folder(self, length < sizeof self ? length : 0);
    return folder.erase(folder.find_last_of('\\') + 1) + name;
}

ChildProcess::~ChildProcess() {
    Kill();
}

void ChildProcess::Adopt(HANDLE process, DWORD id) {
    Kill();
    m_process = process;
    m_id = id;
}

bool ChildProcess::Start(const std::string& commandLine, const std::string& workDir) {
    Kill();
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info = {};
    std::string mutableLine = commandLine; // CreateProcessA may write into it
    if (!CreateProcessA(nullptr, &mutableLine[0], nullptr, nullptr, FALSE, 0, nullptr,
                        workDir.empty() ? nullptr : workDir.c_str(), &startup, &info)) {
        m_startError = GetLastError();
        return false;
    }
    CloseHandle(info.hThread);
    m_process = info.hProcess;
    m_id = info.dwProcessId;
    return true;
}

bool ChildProcess::Running() const {
    return m_process && WaitForSingleObject(m_process, 0) == WAIT_TIMEOUT;
}

bool ChildProcess::WaitForExit(DWORD timeoutMs, DWORD* exitCode) {
    if (!m_process || WaitForSingleObject(m_process, timeoutMs) != WAIT_OBJECT_0)
        return false;
    if (exitCode)
        GetExitCodeProcess(m_process, exitCode);
    return true;
}

bool ChildProcess::WatchUntilExit(DWORD timeoutMs, std::vector<std::string>* visibleTitles) {
    if (!m_process)
        return false;
    WindowQuery query;
    query.processId = m_id;
    // Each window counts once, with the title it had when first seen: a closing window
    // may still be visible while its title can no longer be read.
    std::vector<HWND> seen;
    DWORD start = GetTickCount();
    for (;;) {
        for (HWND hwnd : FindWindows(query)) {
            if (std::find(seen.begin(), seen.end(), hwnd) != seen.end())
                continue;
            seen.push_back(hwnd);
            visibleTitles->push_back(WindowText(hwnd));
        }
        if (WaitForSingleObject(m_process, kPollMs) == WAIT_OBJECT_0)
            return true;
        if (GetTickCount() - start >= timeoutMs)
            return false;
    }
}

void ChildProcess::Kill() {
    if (!m_process)
        return;
    if (WaitForSingleObject(m_process, 0) == WAIT_TIMEOUT) {
        TerminateProcess(m_process, 1);
        WaitForSingleObject(m_process, 5000);
    }
    CloseHandle(m_process);
    m_process = nullptr;
    m_id = 0;
}

} // namespace guidriver
