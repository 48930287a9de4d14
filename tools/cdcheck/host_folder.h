// The host's folders as cdcheck sees them: listings and the kind of one path. The only
// platform-specific part of the tool; the Windows side goes through the same ANSI calls
// as the setup's own copy, so names read there are the names the setup would see.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace cdcheck {

enum class HostKind { Missing, File, Folder };

struct HostEntry {
    std::string name;
    HostKind kind = HostKind::Missing;
    std::uint64_t size = 0; // files only
};

// The entries of a folder, "." and ".." left out, in no particular order. False when
// the folder cannot be listed.
bool ListHostFolder(const std::string& path, std::vector<HostEntry>* entries);

// What a path names; `size` (optional) receives a file's size.
HostKind HostKindOf(const std::string& path, std::uint64_t* size);

// The separator the host's paths are joined with.
char HostSeparator();

} // namespace cdcheck
