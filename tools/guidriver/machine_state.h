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
};

// Every start of search.exe recorded so far (none when the log does not exist).
std::vector<LaunchRecord> ReadLaunchLog();
// Waits until at least `count` starts are recorded; returns what was read last.
std::vector<LaunchRecord> WaitForLaunches(size_t count, DWORD timeoutMs);

bool FileExists(const std::string& path);
bool DirectoryExists(const std::string& path);
// The names in a folder, without "." and "..".
std::vector<std::string> ListFolder(const std::string& folder);
// Every file and folder below a folder, as relative paths, sorted.
std::vector<std::string> ListTree(const std::string& folder);
bool MakeDirectories(const std::string& path);
std::string ReadTextFile(const std::string& path);

bool RegistryKeyExists(HKEY root, const std::string& subkey);
// A string value; empty when the key or value is missing.
std::string RegistryString(HKEY root, const std::string& subkey, const std::string& name);

// The user's Start-menu Programs folder as the shell records it.
std::string ProgramsFolder();

struct ShellLink {
    std::string target;
    std::string workingDirectory;
    std::string description;
};
bool CreateShellLink(const std::string& linkPath, const ShellLink& link);
bool ReadShellLink(const std::string& linkPath, ShellLink* link);

// Case-insensitive comparison, as Windows compares paths.
bool SamePath(const std::string& a, const std::string& b);

// A shell link's icon location; false when the link cannot be read.
bool ReadShellLinkIcon(const std::string& linkPath, std::string* iconPath, int* iconIndex);

} // namespace guidriver
