#include "tools/cdcheck/host_folder.h"

#include <windows.h>

namespace cdcheck {

namespace {

std::uint64_t SizeOf(DWORD high, DWORD low) {
    return (static_cast<std::uint64_t>(high) << 32) | low;
}

} // namespace

bool ListHostFolder(const std::string& path, std::vector<HostEntry>* entries) {
    entries->clear();
    std::string pattern = path;
    if (!pattern.empty() && pattern.back() != '\\' && pattern.back() != '/')
        pattern += '\\';
    pattern += '*';
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA(pattern.c_str(), &found);
    if (search == INVALID_HANDLE_VALUE)
        return GetLastError() == ERROR_FILE_NOT_FOUND; // an empty drive root lists nothing
    do {
        std::string name = found.cFileName;
        if (name == "." || name == "..")
            continue;
        HostEntry entry;
        entry.name = name;
        const bool folder = (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
        entry.kind = folder ? HostKind::Folder : HostKind::File;
        entry.size = folder ? 0 : SizeOf(found.nFileSizeHigh, found.nFileSizeLow);
        entries->push_back(entry);
    } while (FindNextFileA(search, &found));
    FindClose(search);
    return true;
}

HostKind HostKindOf(const std::string& path, std::uint64_t* size) {
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (!GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data))
        return HostKind::Missing;
    if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
        return HostKind::Folder;
    if (size != nullptr)
        *size = SizeOf(data.nFileSizeHigh, data.nFileSizeLow);
    return HostKind::File;
}

char HostSeparator() {
    return '\\';
}

} // namespace cdcheck
