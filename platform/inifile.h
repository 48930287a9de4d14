// The INI file store: the in-memory form of one whole INI file in the program's own
// format (comments and spacing around '=' survive a rewrite, blank lines do not).
//
// Error contract: every operation returns a small signed code, 0 for success.
//   -2  out of memory (Set)          -20 out of memory (Load)
//   -21 the file cannot be opened    -22 the file cannot be opened for writing
//   -23 syntax error                  1  no such section      2  no such key / index
// Nothing here shows a message or throws.
#pragma once

#include <cstddef>

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

// Why a load was refused, for tools that report it (initool check).
struct LoadDiagnostic {
    int line = 0;               // 1-based line number of the offending line, 0 if none
    const char* reason = "";    // static text: "no '=' in line", "header without ']'", ...
};

// One loaded file. Created only by Load/LoadFromMemory, destroyed only by Release.
// (The private representation — pool, section and entry nodes — is in the .cpp.)
class IniFile {
public:
    static int Load(const char* fileName, OpenMode mode, IniFile** out,
                    LoadDiagnostic* diag = nullptr);
    // The same parser over bytes in memory (tests, fuzzing); saves go to fileName.
    static int LoadFromMemory(const char* data, std::size_t size, const char* fileName,
                              IniFile** out, LoadDiagnostic* diag = nullptr);
    static void Release(IniFile* ini);

    int Save();
    int Find(const char* section, const char* key, const char** value) const;
    int Set(const char* section, const char* key, const char* value);
    int RemoveKey(const char* section, const char* key);
    int RemoveSection(const char* section);
    int EntryAt(const char* section, int index, const char** key, const char** value) const;

    IniFile(const IniFile&) = delete;
    IniFile& operator=(const IniFile&) = delete;

private:
    IniFile() = default;
    ~IniFile() = default;
    struct Impl;
    Impl* impl_ = nullptr; // the helper may replace this with inline members
};

} // namespace inifile
