// What a scenario checks after the setup ran, and what it prepares before: the launch
// log of the stand-in search program, files, registry keys and shell links.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace guidriver {

struct LaunchRecord {
    std::string currentDirectory;
    std::string commandLine;
    // The command line without the quotes Wine puts around a program path with blanks
    // that was started unquoted.
    std::string Unquoted() const;
};

// Every start of search.exe recorded so far (none when the log does not exist).
std::vector<LaunchRecord> ReadLaunchLog();
// Waits until at least `count` starts are recorded; returns what was read last.
std::vector<LaunchRecord> WaitForLaunches(size_t count, DWORD timeoutMs);
// Waits until no process of this file name (e.g. "search.exe") runs in the prefix, nor
// one so new that it has no name yet; false when one still runs at the time limit.
bool WaitForProcessesToEnd(const char* exeName, DWORD timeoutMs);
// Ends every process of this file name in the prefix; returns how many ended.
int EndProcesses(const char* exeName);
// The whole launch log once every search.exe has ended: a program that the setup started
// before it ended exists as a process by then, so nothing it logs comes later.
std::vector<LaunchRecord> ReadSettledLaunchLog(DWORD timeoutMs);

bool FileExists(const std::string& path);
bool DirectoryExists(const std::string& path);
// The names in a folder, without "." and "..".
std::vector<std::string> ListFolder(const std::string& folder);
// Every file and folder below a folder, as relative paths, sorted.
std::vector<std::string> ListTree(const std::string& folder);
bool MakeDirectories(const std::string& path);
std::string ReadTextFile(const std::string& path);
// Writes the file whole, making its folders as needed.
bool WriteTextFile(const std::string& path, const std::string& content);
// The 8.3 form the system gives for an existing path; empty when there is none.
std::string ShortPath(const std::string& path);
std::string WindowsDirectory();
// A value of an INI file through the Windows profile functions (empty when missing).
std::string ProfileString(const std::string& file, const char* section, const char* key);
bool SetProfileString(const std::string& file, const char* section, const char* key,
                      const std::string& value);

bool RegistryKeyExists(HKEY root, const std::string& subkey);
// The names of a key's subkeys, sorted; none when the key is missing.
std::vector<std::string> RegistrySubkeys(HKEY root, const std::string& subkey);
// A string value; empty when the key or value is missing.
std::string RegistryString(HKEY root, const std::string& subkey, const std::string& name);
// A DWORD value; `fallback` when the key or value is missing.
DWORD RegistryDword(HKEY root, const std::string& subkey, const std::string& name, DWORD fallback);
// Sets a string value (name empty: the key's default value), making the key as needed.
bool SetRegistryString(HKEY root, const std::string& subkey, const std::string& name,
                       const std::string& value);
// The Windows version Wine reports to one program ("win31", "nt351", ...), by file name.
bool SetWindowsVersionFor(const std::string& exeName, const std::string& version);

// A string of a library's string table, the library loaded as data; empty when it has
// none.
std::string LibraryString(const std::string& library, int id);

// The user's Start-menu Programs folder as the shell records it.
std::string ProgramsFolder();

struct ShellLink {
    std::string target;
    std::string workingDirectory;
    std::string description;
    std::string iconPath; // read only
    int iconIndex = 0;    // read only
};
bool CreateShellLink(const std::string& linkPath, const ShellLink& link);
bool ReadShellLink(const std::string& linkPath, ShellLink* link);

// Case-insensitive comparison, as Windows compares paths.
bool SamePath(const std::string& a, const std::string& b);


} // namespace guidriver
