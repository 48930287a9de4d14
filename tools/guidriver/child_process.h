// A process started by a scenario: it is never left behind. The destructor ends it if
// it still runs, so a failed check cannot leave a setup waiting at a question.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace guidriver {

// A program found beside the running one (name: its file name).
std::string ProgramBesideThisOne(const char* name);

class ChildProcess {
public:
    ChildProcess() = default;
    ~ChildProcess();
    ChildProcess(const ChildProcess&) = delete;
    ChildProcess& operator=(const ChildProcess&) = delete;

    // Starts commandLine (no waiting) in directory workDir (empty: ours).
    bool Start(const std::string& commandLine, const std::string& workDir);
    // Takes over a process started elsewhere (its handle is closed here).
    void Adopt(HANDLE process, DWORD id);
    DWORD Id() const { return m_id; }
    // Why the last Start failed (GetLastError of the process creation).
    DWORD StartError() const { return m_startError; }
    bool Running() const;
    // Waits for the end; false when the time limit passes first.
    bool WaitForExit(DWORD timeoutMs, DWORD* exitCode = nullptr);
    // Waits for the end and notes every visible top-level window of the process seen
    // meanwhile (their titles); false when the time limit passes first.
    bool WatchUntilExit(DWORD timeoutMs, std::vector<std::string>* visibleTitles);
    void Kill();

private:
    HANDLE m_process = nullptr;
    DWORD m_id = 0;
    DWORD m_startError = 0;
};

} // namespace guidriver
