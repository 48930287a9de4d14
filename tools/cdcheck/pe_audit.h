// The import audit: whether the oldest Windows a program file is built for can start it.
// The knowledge of the Windows API comes from the MinGW-w64 headers and import libraries
// (make-winapi-table.sh), not from a list kept here.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "tools/cdcheck/pe_file.h"

namespace cdcheck {

struct WindowsTarget {
    const char* name;
    std::uint16_t version;       // as _WIN32_WINNT
    std::uint16_t subsystemMajor; // the highest subsystem version it starts
    std::uint16_t subsystemMinor;
    const char* runtime;         // the C runtime DLL that every Windows of the machine carries
    const char* runtimeCarriers; // the oldest of those, for the finding
};

// The oldest Windows of a machine type: Windows NT 4.0 for i386 (its C runtime the one of
// Windows 95, Win32s and Windows NT 3.51 too), the first x64 Windows for amd64; nullptr
// for a machine no target runs.
const WindowsTarget* TargetOf(std::uint16_t machine);

// "Windows Vista" for 0x0600 and so on.
std::string WindowsName(std::uint16_t version);

// What keeps the file's target from starting it: a machine or subsystem it does not run,
// a newer subsystem version, a DLL that is not part of it (a C runtime other than the
// target's own among them), a function its DLL does not export or that came with a newer
// Windows, an import by number. Empty when it starts.
std::vector<std::string> AuditPeFile(const PeFile& pe);

// Reads and audits a file; a file that is no PE file, or a damaged one, gives one problem.
std::vector<std::string> AuditPeBytes(const std::vector<unsigned char>& bytes);

} // namespace cdcheck
