// The nodes of a loaded INI file, shared by the store's loading, editing and saving.
//
// The file's bytes are read into one block of the file's pool and split there: a line's
// key, comment or section name and its value end in a zero written over the byte after
// them (a blank, the '=' or the line's terminator), so every string of a loaded file
// points into that one copy. Each line is an 8-byte Entry in its section's array; a line
// that an edit builds lives in the pool instead, found through the file's line table.
#pragma once

#include <cstddef>
#include <cstdint>

#include "platform/inifile.h"

namespace inifile {

// Separators longer than this are rewritten as a bare "=".
constexpr std::size_t kMaxSeparator = 8;

// A pair's line as stored: the key, a zero in place of the separator's first byte, the
// rest of the separator, then the value and its zero. A comment's line is its text.
struct Entry {
    enum Flags : std::uint16_t {
        kValueOffsetMask = 0x07FF, // value start from the key's: below the line length
        kComment = 0x0800,
        kMultiLine = 0x1000, // the value holds CR LF between pieces
        kTabFirst = 0x2000,  // the separator's first byte, replaced by the zero, was a tab
        kRemoved = 0x4000,   // removed by an edit: skipped, as if unlinked
        kInTable = 0x8000,   // `line` indexes the line table, not the file's bytes
    };
    std::uint32_t line = 0; // offset in the file's bytes, or index in the line table
    std::uint16_t hash = 0; // of the key; valid once the section's keysHashed is set
    std::uint16_t bits = 0;

    bool Is(Flags flag) const { return (bits & flag) != 0; }
    std::size_t ValueOffset() const { return bits & kValueOffsetMask; }
};
static_assert(sizeof(Entry) == 8, "a loaded line costs 8 bytes besides its text");

struct Section {
    Section* next = nullptr;
    char* name = nullptr; // null for the leading section
    std::uint16_t hash = 0;
    // Key hashes are computed at a section's first lookup, not at load: most keys of a
    // large file are never looked up, and hashing each one cost a sixth of the load.
    bool keysHashed = false;
    Entry* entries = nullptr; // in file order, removed ones included
    std::uint32_t count = 0;
};

inline char* IniFile::LineOf(const Entry& entry) const {
    return entry.Is(Entry::kInTable) ? table_[entry.line] : text_ + entry.line;
}

inline const char* IniFile::KeyOf(const Entry& entry) const {
    return entry.Is(Entry::kComment) ? nullptr : LineOf(entry);
}

inline const char* IniFile::ValueOf(const Entry& entry) const {
    return LineOf(entry) + entry.ValueOffset();
}

} // namespace inifile
