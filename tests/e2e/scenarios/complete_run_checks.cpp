#include "tests/e2e/scenarios/complete_run_checks.h"

#include <windows.h>

#include <tlhelp32.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>

#include "tools/guidriver/gui_driver.h"
#include "tools/guidriver/machine_state.h"
#include "tests/e2e/scenarios/sample_cd.h"

using namespace guidriver;

namespace completerun {

namespace {

// Wine's own export naming the host file behind a Windows path; the host reader needs it.
std::string HostPath(const std::string& windowsPath) {
    using UnixName = char*(CDECL*)(const WCHAR*);
    FARPROC entry = GetProcAddress(GetModuleHandleA("kernel32.dll"), "wine_get_unix_file_name");
    if (entry == nullptr)
        return "";
    WCHAR wide[MAX_PATH + 1] = {};
    MultiByteToWideChar(CP_ACP, 0, windowsPath.c_str(), -1, wide, MAX_PATH);
    char* unixName = reinterpret_cast<UnixName>(reinterpret_cast<void*>(entry))(wide);
    if (unixName == nullptr)
        return "";
    std::string result = unixName;
    HeapFree(GetProcessHeap(), 0, unixName);
    return result;
}

// Lines for check-links.sh: the file named by LUMORA_LINK_CHECKS, a host path.
void NoteForHostReader(const std::string& link, const char* field, const std::string& expected) {
    const char* list = std::getenv("LUMORA_LINK_CHECKS");
    if (list == nullptr || list[0] == '\0')
        return;
    std::string windowsList = std::string("Z:") + list;
    for (char& c : windowsList) {
        if (c == '/')
            c = '\\';
    }
    std::string hostLink = HostPath(link);
    ASSERT_FALSE(hostLink.empty()) << "no host path for " << link;
    FILE* file = std::fopen(windowsList.c_str(), "ab");
    ASSERT_NE(nullptr, file) << windowsList;
    std::fprintf(file, "%s\t%s\t%s\n", hostLink.c_str(), field, expected.c_str());
    std::fclose(file);
}

void ExpectLink(const std::string& link, const std::string& target, const std::string& description,
                const std::string& icon) {
    ShellLink read;
    ASSERT_TRUE(ReadShellLink(link, &read)) << "no readable shortcut " << link;
    EXPECT_TRUE(SamePath(target, read.target)) << link << " starts " << read.target;
    EXPECT_EQ(description, read.description) << link;
    NoteForHostReader(link, "Local path", target);
    NoteForHostReader(link, "Description", description);
    NoteForHostReader(link, "Icon location", icon);
}

} // namespace

std::string Unquoted(const std::string& commandLine) {
    if (commandLine.size() >= 2 && commandLine.front() == '"' && commandLine.back() == '"')
        return commandLine.substr(1, commandLine.size() - 2);
    return commandLine;
}

std::string ApplicationKey(bool publisher, const std::string& group, const std::string& name) {
    return std::string("SOFTWARE\\") + (publisher ? "Corvane\\" : "") + group + "\\" + name;
}

void ExpectApplicationKey(const std::string& key, const std::string& group, const std::string& name,
                          const std::string& browser) {
    ASSERT_TRUE(RegistryKeyExists(HKEY_CURRENT_USER, key)) << "no key " << key;
    EXPECT_EQ(group, RegistryString(HKEY_CURRENT_USER, key, "ApplicationGroup"));
    EXPECT_EQ(name, RegistryString(HKEY_CURRENT_USER, key, "ApplicationName"));
    HKEY opened = nullptr;
    ASSERT_EQ(ERROR_SUCCESS, RegOpenKeyExA(HKEY_CURRENT_USER, key.c_str(), 0, KEY_READ, &opened));
    char value[1024] = "";
    DWORD size = sizeof value;
    LONG found = RegQueryValueExA(opened, "Browser", nullptr, nullptr,
                                  reinterpret_cast<BYTE*>(value), &size);
    RegCloseKey(opened);
    if (browser.empty()) {
        EXPECT_NE(ERROR_SUCCESS, found) << "unexpected Browser value \"" << value << "\"";
    } else {
        EXPECT_EQ(ERROR_SUCCESS, found) << "no Browser value in " << key;
        EXPECT_EQ(browser, std::string(value));
    }
}

std::string ProgramFile(const std::string& destDir, const char* file) {
    return destDir + "\\_red40\\bin\\" + file;
}

std::string ShortForm(const std::string& path) {
    char shortPath[MAX_PATH + 1] = "";
    DWORD length = GetShortPathNameA(path.c_str(), shortPath, sizeof shortPath);
    return length > 0 && length < sizeof shortPath ? shortPath : "";
}

void ExpectStartMenuLinks(const std::string& group, const std::string& name,
                          const std::string& destDir, const std::string& appTarget) {
    std::string folder = ProgramsFolder() + "\\" + group;
    ExpectLink(folder + "\\" + name + ".lnk", appTarget, "Shortcut to " + name,
               ProgramFile(destDir, "search.ico"));
    ExpectLink(folder + "\\Uninstall " + name + ".lnk", ProgramFile(destDir, "c_uninst.exe"),
               "Shortcut to Uninstaller", ProgramFile(destDir, "uninstal.ico"));
}

void ExpectStartedOnce(const std::string& program) {
    std::vector<LaunchRecord> launches = WaitForLaunches(1, scenario::kTimeoutMs);
    ASSERT_EQ(1u, launches.size());
    EXPECT_TRUE(SamePath(program, Unquoted(launches[0].commandLine))) << launches[0].commandLine;
}

void CloseGroupWindow(const std::string& group) {
    HWND window = WaitForTitle(group, scenario::kTimeoutMs);
    ASSERT_NE(nullptr, window) << "no folder window for the group " << group;
    PostMessageA(window, WM_CLOSE, 0, 0);
    EXPECT_TRUE(WaitForWindowGone(window, scenario::kTimeoutMs));
}

int EndDesktopProcesses() {
    HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    if (snapshot == INVALID_HANDLE_VALUE)
        return 0;
    int ended = 0;
    PROCESSENTRY32 entry = {};
    entry.dwSize = sizeof entry;
    for (BOOL more = Process32First(snapshot, &entry); more;
         more = Process32Next(snapshot, &entry)) {
        if (lstrcmpiA(entry.szExeFile, "explorer.exe") != 0)
            continue;
        HANDLE process = OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, entry.th32ProcessID);
        if (process == nullptr)
            continue;
        if (TerminateProcess(process, 0) &&
            WaitForSingleObject(process, scenario::kTimeoutMs) == WAIT_OBJECT_0)
            ++ended;
        CloseHandle(process);
    }
    CloseHandle(snapshot);
    return ended;
}

bool SetSetupVersion(const char* version) {
    HKEY key = nullptr;
    if (RegCreateKeyExA(HKEY_CURRENT_USER, "Software\\Wine\\AppDefaults\\setup.exe", 0, nullptr, 0,
                        KEY_SET_VALUE, nullptr, &key, nullptr) != ERROR_SUCCESS)
        return false;
    LONG set = RegSetValueExA(key, "Version", 0, REG_SZ, reinterpret_cast<const BYTE*>(version),
                              static_cast<DWORD>(strlen(version) + 1));
    RegCloseKey(key);
    return set == ERROR_SUCCESS;
}

} // namespace completerun
