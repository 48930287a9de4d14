// The INI file store: the in-memory form of one whole INI file in the program's own
// format (comments and spacing around '=' survive a rewrite, blank lines do not).
//
// Error contract: every operation returns a small signed code, 0 for success.
//   -2  out of memory (Set)          -20 out of memory (Load)
//   -21 the file cannot be opened or read
//   -22 the file cannot be opened for writing (or a write failed)
//   -23 syntax error (Load); a section, key or value that cannot be written back
//       as one readable line (Set)
//    1  no such section               2  no such key / index
// Nothing here shows a message or throws.
#pragma once

#include <cstddef>
#include <cstdint>

#include "platform/code_page.h"
#include "platform/ini_pool.h"

namespace inifile {

enum Result : int {
    kOk = 0,
    kNoSection = 1,
    kNoKey = 2,
    kSetNoMemory = -2,
    kNoMemory = -20,
    kCannotOpen = -21,
    kCannotWrite = -22,
    kSyntaxError = -23,
};

enum class OpenMode {
    CreateReadWrite, // opened read-write, created empty if missing
    ReadOnly,
};

// The longest line the store reads or writes, terminator excluded.
constexpr std::size_t kMaxLineLength = 2047;

// Why a load was refused, for tools that report it (initool check).
struct LoadDiagnostic {
    int line = 0;            // 1-based line number of the offending line, 0 if none
    const char* reason = ""; // static text: "no '=' in line", "header without ']'", ...
};

// Receives every section (duplicates included) and entry in file order; the leading
// section comes first with a null name. A comment entry has a null key.
class IniVisitor {
public:
    virtual void OnSection(const char* name) = 0;
    virtual void OnEntry(const char* key, const char* value) = 0;

protected:
    ~IniVisitor() = default;
};

struct Section;
struct Entry;

// One loaded file. Created only by Load/LoadFromMemory, destroyed only by Release. Its
// text is read in the characters of `page`: a header's closing bracket and the letter case
// of names are characters, never the second byte of one.
class IniFile {
public:
    static int Load(const char* fileName, OpenMode mode, IniFile** out,
                    LoadDiagnostic* diag = nullptr, const chars::CodePage& page = chars::System());
    // The same parser over bytes in memory (tests, fuzzing); saves go to fileName.
    static int LoadFromMemory(const char* data, std::size_t size, const char* fileName,
                              IniFile** out, LoadDiagnostic* diag = nullptr,
                              const chars::CodePage& page = chars::System());
    static void Release(IniFile* ini);

    int Save();
    int Find(const char* section, const char* key, const char** value) const;
    int Set(const char* section, const char* key, const char* value);
    int RemoveKey(const char* section, const char* key);
    int RemoveSection(const char* section);
    int EntryAt(const char* section, int index, const char** key, const char** value) const;

    // Whether an edit has changed something since loading or the last save.
    bool Changed() const { return changed_; }
    void Walk(IniVisitor& visitor) const;
    // Bytes the store holds from the system: the file's bytes, all nodes and strings.
    std::size_t MemoryUsed() const {
        return pool_.BytesReserved() + tableCapacity_ * sizeof(char*) + sizeof(IniFile);
    }

    IniFile(const IniFile&) = delete;
    IniFile& operator=(const IniFile&) = delete;

private:
    class Parser;
    IniFile() = default;
    ~IniFile();
    static int Create(const char* fileName, const chars::CodePage& page, IniFile** out);
    int Parse(char* text, std::size_t size, LoadDiagnostic* diag);
    Section* FindSection(const char* name) const;
    Section* AppendSection(char* name);
    bool AppendEntry(Section* section, const Entry& entry);
    Entry* FindKey(Section* section, const char* key) const;
    // The entry's line: its key (or comment text), the value at its value offset.
    char* LineOf(const Entry& entry) const;
    const char* KeyOf(const Entry& entry) const; // null for a comment
    const char* ValueOf(const Entry& entry) const;
    // The separator text to write back: as read when at most kMaxSeparator bytes,
    // else "=". `out` holds kMaxSeparator + 1 bytes.
    void SeparatorOf(const Entry& entry, char* out) const;
    // Points `entry` at a line built in the pool from key, separator and value.
    bool StoreLine(Entry* entry, const char* key, const char* separator, const char* value);

    Pool pool_;
    chars::CodePage page_;
    char* fileName_ = nullptr;
    char* text_ = nullptr; // the file's bytes, split into zero-terminated pieces
    char** table_ = nullptr; // lines built by edits (heap, grown by doubling)
    std::uint32_t tableCount_ = 0;
    std::uint32_t tableCapacity_ = 0;
    Section* first_ = nullptr; // the leading section, never null once created
    Section* last_ = nullptr;
    bool changed_ = false;
};

} // namespace inifile
