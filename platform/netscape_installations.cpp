#include "platform/netscape_installations.h"

#include <windows.h>

#include <string>
#include <vector>

#include "integration/browser_rules.h"
#include "platform/filemgr.h"

namespace {

const char kLabelPrefix[] = "Netscape Communicator ";
// Enumeration stops once this many are listed, so the second key can add one more and
// the list never holds more than browser::kMaxDetected.
constexpr int kStopAt = browser::kMaxDetected - 1;

// The "Install Directory" of key\name\main, or false when a key or the value is missing
// or does not fit the 512-byte buffer.
bool ReadInstallDirectory(const std::string& mainKey, std::string* dir) {
    HKEY key = nullptr;
    if (::RegOpenKeyExA(HKEY_LOCAL_MACHINE, mainKey.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS)
        return false;
    char value[512] = {};
    DWORD size = sizeof(value) - 1; // the last byte stays a terminator
    LONG status = ::RegQueryValueExA(key, "Install Directory", nullptr, nullptr,
                                     reinterpret_cast<BYTE*>(value), &size);
    ::RegCloseKey(key);
    if (status != ERROR_SUCCESS)
        return false;
    *dir = value;
    return true;
}

// Walks the version subkeys of one vendor key; `programPath` makes the program file's
// path from an install directory.
void WalkVersions(const char* vendorKey,
                  std::string (*programPath)(const std::string&, const chars::CodePage&),
                  std::vector<NetscapeInstallation>& found) {
    HKEY key = nullptr;
    if (::RegOpenKeyExA(HKEY_LOCAL_MACHINE, vendorKey, 0, KEY_READ, &key) != ERROR_SUCCESS)
        return;
    CFileMgr files;
    const std::size_t limit = browser::kMaxDetected;
    for (DWORD index = 0; found.size() < limit; ++index) {
        char name[128] = {};
        DWORD nameSize = sizeof(name);
        LONG status =
            ::RegEnumKeyExA(key, index, name, &nameSize, nullptr, nullptr, nullptr, nullptr);
        if (status == ERROR_NO_MORE_ITEMS)
            break;
        // A name longer than the buffer is skipped, the walk goes on.
        if (status != ERROR_SUCCESS || ::lstrcmpiA(name, "users") == 0)
            continue;
        std::string dir;
        if (!ReadInstallDirectory(std::string(vendorKey) + "\\" + name + "\\main", &dir))
            continue;
        std::string program = programPath(dir, chars::System());
        if (!files.FileExists(program.c_str()))
            continue;
        found.push_back({program, std::string(kLabelPrefix) + name});
        if (found.size() >= static_cast<std::size_t>(kStopAt))
            break;
    }
    ::RegCloseKey(key);
}

} // namespace

std::vector<NetscapeInstallation> DetectNetscapeInstallations() {
    std::vector<NetscapeInstallation> found;
    WalkVersions("Software\\Netscape\\Netscape Navigator", browser::Netscape4ProgramPath, found);
    WalkVersions("Software\\Netscape\\Netscape 6", browser::Netscape6ProgramPath, found);
    return found;
}
