#include "tools/guidriver/machine_state.h"

#include <objbase.h>
#include <shlobj.h>
#include <shobjidl.h>

#include <algorithm>
#include <fstream>
#include <sstream>

#include "integration/shortcut_rules.h"
#include "product/search/launch_log.h"
#include "tools/guidriver/process_list.h"

namespace guidriver {

namespace {

constexpr DWORD kPollMs = 20;

// Owns one COM initialisation of this thread.
class ComScope {
public:
    ComScope() : m_ok(SUCCEEDED(CoInitialize(nullptr))) {}
    ~ComScope() {
        if (m_ok)
            CoUninitialize();
    }
    ComScope(const ComScope&) = delete;
    ComScope& operator=(const ComScope&) = delete;

private:
    bool m_ok;
};

template <class T> class ComPtr {
public:
    ComPtr() = default;
    ~ComPtr() {
        if (m_p)
            m_p->Release();
    }
    ComPtr(const ComPtr&) = delete;
    ComPtr& operator=(const ComPtr&) = delete;
    T* operator->() const { return m_p; }
    void** OutVoid() { return reinterpret_cast<void**>(&m_p); }

private:
    T* m_p = nullptr;
};

std::wstring Wide(const std::string& text) {
    int length = MultiByteToWideChar(CP_ACP, 0, text.c_str(), -1, nullptr, 0);
    std::wstring wide(length > 0 ? length : 1, L'\0');
    MultiByteToWideChar(CP_ACP, 0, text.c_str(), -1, &wide[0], length);
    wide.resize(wide.size() - 1);
    return wide;
}

} // namespace

std::string LaunchRecord::Unquoted() const {
    if (commandLine.size() >= 2 && commandLine.front() == '"' && commandLine.back() == '"')
        return commandLine.substr(1, commandLine.size() - 2);
    return commandLine;
}

std::vector<LaunchRecord> ReadLaunchLog() {
    std::vector<LaunchRecord> records;
    std::istringstream lines(ReadTextFile(launch_log::kPath));
    std::string line;
    while (std::getline(lines, line)) {
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        size_t tab = line.find(launch_log::kSeparator);
        if (tab == std::string::npos)
            continue;
        records.push_back({line.substr(0, tab), line.substr(tab + 1)});
    }
    return records;
}

std::vector<LaunchRecord> WaitForLaunches(size_t count, DWORD timeoutMs) {
    DWORD start = GetTickCount();
    for (;;) {
        std::vector<LaunchRecord> records = ReadLaunchLog();
        if (records.size() >= count || GetTickCount() - start >= timeoutMs)
            return records;
        Sleep(kPollMs);
    }
}

namespace {

// The ids of the prefix's processes of this file name. A process that has only just been
// created has no name yet; `withUnnamed` counts those too, as they may become one.
std::vector<DWORD> ProcessesNamed(const char* exeName, bool withUnnamed = false) {
    std::vector<DWORD> ids;
    for (const ProcessInfo& info : RunningProcesses()) {
        if (lstrcmpiA(info.name.c_str(), exeName) == 0 || (withUnnamed && info.name.empty()))
            ids.push_back(info.id);
    }
    return ids;
}

} // namespace

bool WaitForProcessesToEnd(const char* exeName, DWORD timeoutMs) {
    DWORD start = GetTickCount();
    while (!ProcessesNamed(exeName, true).empty()) {
        if (GetTickCount() - start >= timeoutMs)
            return false;
        Sleep(kPollMs);
    }
    return true;
}

int EndProcesses(const char* exeName) {
    int ended = 0;
    for (DWORD id : ProcessesNamed(exeName)) {
        HANDLE process = OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, id);
        if (process == nullptr)
            continue;
        if (TerminateProcess(process, 0) && WaitForSingleObject(process, 30000) == WAIT_OBJECT_0)
            ++ended;
        CloseHandle(process);
    }
    return ended;
}

std::vector<LaunchRecord> ReadSettledLaunchLog(DWORD timeoutMs) {
    WaitForProcessesToEnd(shortcuts::kSearchProgram, timeoutMs);
    return ReadLaunchLog();
}

bool FileExists(const std::string& path) {
    DWORD attributes = GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool DirectoryExists(const std::string& path) {
    DWORD attributes = GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

std::vector<std::string> ListFolder(const std::string& folder) {
    std::vector<std::string> names;
    WIN32_FIND_DATAA data;
    HANDLE find = FindFirstFileA((folder + "\\*").c_str(), &data);
    if (find == INVALID_HANDLE_VALUE)
        return names;
    do {
        std::string name = data.cFileName;
        if (name != "." && name != "..")
            names.push_back(name);
    } while (FindNextFileA(find, &data));
    FindClose(find);
    return names;
}

std::vector<std::string> ListTree(const std::string& folder) {
    std::vector<std::string> paths;
    for (const std::string& name : ListFolder(folder)) {
        paths.push_back(name);
        if (DirectoryExists(folder + "\\" + name)) {
            for (const std::string& below : ListTree(folder + "\\" + name))
                paths.push_back(name + "\\" + below);
        }
    }
    std::sort(paths.begin(), paths.end());
    return paths;
}

bool MakeDirectories(const std::string& path) {
    if (path.empty() || DirectoryExists(path))
        return true;
    size_t slash = path.find_last_of('\\');
    if (slash != std::string::npos && slash > 2 && !MakeDirectories(path.substr(0, slash)))
        return false;
    return CreateDirectoryA(path.c_str(), nullptr) || GetLastError() == ERROR_ALREADY_EXISTS;
}

std::string ReadTextFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream content;
    content << in.rdbuf();
    return content.str();
}

bool WriteTextFile(const std::string& path, const std::string& content) {
    size_t slash = path.find_last_of('\\');
    if (slash != std::string::npos && !MakeDirectories(path.substr(0, slash)))
        return false;
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << content;
    return static_cast<bool>(out.flush());
}

std::string ShortPath(const std::string& path) {
    char shortPath[MAX_PATH + 1] = "";
    DWORD length = GetShortPathNameA(path.c_str(), shortPath, sizeof shortPath);
    return length > 0 && length < sizeof shortPath ? shortPath : "";
}

std::string WindowsDirectory() {
    char dir[MAX_PATH] = "";
    UINT length = GetWindowsDirectoryA(dir, sizeof dir);
    return std::string(dir, length < sizeof dir ? length : 0);
}

std::string ProfileString(const std::string& file, const char* section, const char* key) {
    char value[2048] = "";
    GetPrivateProfileStringA(section, key, "", value, sizeof value, file.c_str());
    return value;
}

bool SetProfileString(const std::string& file, const char* section, const char* key,
                      const std::string& value) {
    return WritePrivateProfileStringA(section, key, value.c_str(), file.c_str()) != FALSE;
}

bool RegistryKeyExists(HKEY root, const std::string& subkey) {
    HKEY key = nullptr;
    if (RegOpenKeyExA(root, subkey.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS)
        return false;
    RegCloseKey(key);
    return true;
}

std::vector<std::string> RegistrySubkeys(HKEY root, const std::string& subkey) {
    std::vector<std::string> names;
    HKEY key = nullptr;
    if (RegOpenKeyExA(root, subkey.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS)
        return names;
    char name[256];
    DWORD length = sizeof name;
    for (DWORD i = 0;
         RegEnumKeyExA(key, i, name, &length, nullptr, nullptr, nullptr, nullptr) == ERROR_SUCCESS;
         ++i, length = sizeof name)
        names.push_back(std::string(name, length));
    RegCloseKey(key);
    std::sort(names.begin(), names.end());
    return names;
}

std::string RegistryString(HKEY root, const std::string& subkey, const std::string& name) {
    HKEY key = nullptr;
    if (RegOpenKeyExA(root, subkey.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS)
        return std::string();
    char value[1024] = "";
    DWORD size = sizeof value - 1;
    DWORD type = 0;
    LONG result = RegQueryValueExA(key, name.empty() ? nullptr : name.c_str(), nullptr, &type,
                                   reinterpret_cast<BYTE*>(value), &size);
    RegCloseKey(key);
    if (result != ERROR_SUCCESS || (type != REG_SZ && type != REG_EXPAND_SZ))
        return std::string();
    value[size < sizeof value ? size : sizeof value - 1] = '\0';
    return value;
}

DWORD RegistryDword(HKEY root, const std::string& subkey, const std::string& name, DWORD fallback) {
    DWORD value = 0;
    DWORD size = sizeof value;
    if (RegGetValueA(root, subkey.c_str(), name.c_str(), RRF_RT_REG_DWORD, nullptr, &value,
                     &size) != ERROR_SUCCESS)
        return fallback;
    return value;
}

bool SetRegistryString(HKEY root, const std::string& subkey, const std::string& name,
                       const std::string& value) {
    HKEY key = nullptr;
    if (RegCreateKeyExA(root, subkey.c_str(), 0, nullptr, 0, KEY_SET_VALUE, nullptr, &key,
                        nullptr) != ERROR_SUCCESS)
        return false;
    LONG set = RegSetValueExA(key, name.empty() ? nullptr : name.c_str(), 0, REG_SZ,
                              reinterpret_cast<const BYTE*>(value.c_str()),
                              static_cast<DWORD>(value.size() + 1));
    RegCloseKey(key);
    return set == ERROR_SUCCESS;
}

bool SetWindowsVersionFor(const std::string& exeName, const std::string& version) {
    return SetRegistryString(HKEY_CURRENT_USER, "Software\\Wine\\AppDefaults\\" + exeName,
                             "Version", version);
}

std::string LibraryString(const std::string& library, int id) {
    HMODULE module = LoadLibraryExA(library.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    if (!module)
        return std::string();
    char text[1024] = "";
    LoadStringA(module, id, text, sizeof text);
    FreeLibrary(module);
    return text;
}

std::string ProgramsFolder() {
    std::string folder = RegistryString(
        HKEY_CURRENT_USER, "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders",
        "Programs");
    if (!folder.empty())
        return folder;
    // A fresh prefix may not have written the value yet; asking the shell writes it.
    char path[MAX_PATH] = "";
    if (SUCCEEDED(SHGetFolderPathA(nullptr, CSIDL_PROGRAMS | CSIDL_FLAG_CREATE, nullptr, 0, path)))
        folder = path;
    return folder;
}

bool CreateShellLink(const std::string& linkPath, const ShellLink& link) {
    ComScope com;
    ComPtr<IShellLinkA> shellLink;
    if (FAILED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA,
                                shellLink.OutVoid())))
        return false;
    shellLink->SetPath(link.target.c_str());
    shellLink->SetWorkingDirectory(link.workingDirectory.c_str());
    shellLink->SetDescription(link.description.c_str());
    ComPtr<IPersistFile> file;
    if (FAILED(shellLink->QueryInterface(IID_IPersistFile, file.OutVoid())))
        return false;
    return SUCCEEDED(file->Save(Wide(linkPath).c_str(), TRUE));
}

bool ReadShellLink(const std::string& linkPath, ShellLink* link) {
    ComScope com;
    ComPtr<IShellLinkA> shellLink;
    if (FAILED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA,
                                shellLink.OutVoid())))
        return false;
    ComPtr<IPersistFile> file;
    if (FAILED(shellLink->QueryInterface(IID_IPersistFile, file.OutVoid())) ||
        FAILED(file->Load(Wide(linkPath).c_str(), STGM_READ)))
        return false;
    char text[1024] = "";
    shellLink->GetPath(text, sizeof text, nullptr, 0);
    link->target = text;
    text[0] = '\0';
    shellLink->GetWorkingDirectory(text, sizeof text);
    link->workingDirectory = text;
    text[0] = '\0';
    shellLink->GetDescription(text, sizeof text);
    link->description = text;
    text[0] = '\0';
    shellLink->GetIconLocation(text, sizeof text, &link->iconIndex);
    link->iconPath = text;
    return true;
}

bool SamePath(const std::string& a, const std::string& b) {
    return lstrcmpiA(a.c_str(), b.c_str()) == 0;
}

} // namespace guidriver
