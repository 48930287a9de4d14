#include "tools/cdcheck/host_folder.h"

#include <dirent.h>
#include <sys/stat.h>

namespace cdcheck {

namespace {

// Links are followed, as a CD image made from this folder would hold their targets.
HostKind KindOfStat(const std::string& path, std::uint64_t* size) {
    struct stat info;
    if (stat(path.c_str(), &info) != 0)
        return HostKind::Missing;
    if (S_ISDIR(info.st_mode))
        return HostKind::Folder;
    if (size != nullptr)
        *size = static_cast<std::uint64_t>(info.st_size);
    return HostKind::File;
}

} // namespace

bool ListHostFolder(const std::string& path, std::vector<HostEntry>* entries) {
    entries->clear();
    DIR* folder = opendir(path.c_str());
    if (folder == nullptr)
        return false;
    while (const dirent* item = readdir(folder)) {
        std::string name = item->d_name;
        if (name == "." || name == "..")
            continue;
        HostEntry entry;
        entry.name = name;
        entry.kind = KindOfStat(path + "/" + name, &entry.size);
        // A dangling link is nothing a CD could hold.
        if (entry.kind != HostKind::Missing)
            entries->push_back(entry);
    }
    closedir(folder);
    return true;
}

HostKind HostKindOf(const std::string& path, std::uint64_t* size) {
    return KindOfStat(path, size);
}

char HostSeparator() {
    return '/';
}

} // namespace cdcheck
