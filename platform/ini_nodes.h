// The nodes of a loaded INI file, shared by the store's loading, editing and saving.
#pragma once

#include <cstddef>
#include <cstdint>

namespace inifile {

// Separators longer than this are rewritten as a bare "=".
constexpr std::size_t kMaxSeparator = 8;

struct Entry {
    Entry* next = nullptr;
    char* key = nullptr;    // null for a comment line
    char* value = nullptr;  // for a comment line, the comment text
    std::uint16_t hash = 0; // of the key; valid once the section's keysHashed is set
    bool multiLine = false; // the value holds CR LF between pieces
    char separator[kMaxSeparator + 1] = {'='};
};

struct Section {
    Section* next = nullptr;
    char* name = nullptr; // null for the leading section
    std::uint16_t hash = 0;
    Entry* first = nullptr;
    Entry* last = nullptr;
    // Key hashes are computed at a section's first lookup, not at load: most keys of a
    // large file are never looked up, and hashing each one cost a sixth of the load.
    bool keysHashed = false;
};

} // namespace inifile
