// The kit of the Wine tests: the GUI driver's readers of files, folders, the registry and
// shell links, the unit tests' scratch folder and file bytes, and what Windows adds: the
// current directory and the read-only attribute.
#pragma once

#include <windows.h>

#include <string>

#include "tests/unit/ini_test_files.h"
#include "tools/guidriver/machine_state.h"

namespace wine_test {

using guidriver::DirectoryExists;
using guidriver::FileExists;
using guidriver::ListFolder;
using ini_test::ReadBytes;
using ini_test::WriteBytes;

inline bool Exists(const std::string& path) {
    return ::GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

inline bool IsReadOnly(const std::string& path) {
    const DWORD attributes = ::GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY);
}

inline void WriteReadOnly(const std::string& path, const std::string& bytes) {
    WriteBytes(path, bytes);
    ::SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_READONLY);
}

inline std::string CurrentDir() {
    char buffer[MAX_PATH + 1] = "";
    ::GetCurrentDirectoryA(sizeof buffer, buffer);
    return buffer;
}

// The unit tests' scratch folder, which also gives back the current directory before it
// goes: Windows removes no folder that is current.
class ScratchDir : public ini_test::ScratchDir {
public:
    ~ScratchDir() { ::SetCurrentDirectoryA(saved_.c_str()); }
    std::string operator/(const std::string& name) const { return File(name.c_str()); }

private:
    std::string saved_ = CurrentDir();
};

} // namespace wine_test
