// The Windows versions a CD is made for and which names of a pressed CD each reads, from
// tools/windows_versions.txt (the table that the CD try-out reads too): the Joliet names,
// or only the ISO 9660 names.
#pragma once

#include <string>
#include <vector>

namespace cdcheck {

struct WindowsVersion {
    std::string version; // the version name Wine gives it, e.g. "win31"
    bool readsJoliet;    // reads the Joliet names where the disc has them
    std::string who;     // e.g. "Windows 3.1 with Win32s"
};

const std::vector<WindowsVersion>& WindowsVersions();

// "Windows 3.1 with Win32s and Windows NT 3.51": those that read the ISO 9660 names only.
std::string IsoNameReaders();

} // namespace cdcheck
