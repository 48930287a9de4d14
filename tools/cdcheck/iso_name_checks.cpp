#include "tools/cdcheck/iso_name_checks.h"

#include "tools/cdcheck/cd_tree.h"
#include "tools/cdcheck/windows_reads.h"

namespace cdcheck {

namespace {

// Whether `path` lies below a folder already reported.
bool Below(const std::string& path, const std::vector<std::string>& folders) {
    for (const std::string& folder : folders) {
        if (path.size() > folder.size() && path[folder.size()] == '\\' &&
            EqualNoCase(path.substr(0, folder.size()), folder))
            return true;
    }
    return false;
}

} // namespace

void CheckIsoNames(const std::vector<MediumEntry>& entries, Report& report) {
    const std::string readers = IsoNameReaders();
    std::vector<std::string> reported;
    for (const MediumEntry& entry : entries) {
        const std::string& named = entry.readAs.empty() ? entry.path : entry.readAs;
        if (entry.isoPath.empty() || EqualNoCase(entry.isoPath, named) ||
            Below(entry.path, reported))
            continue;
        if (entry.folder)
            reported.push_back(entry.path);
        report.Warning(entry.where, 0,
                       readers + " read the ISO 9660 name " + entry.isoPath + ": the setup there " +
                           "finds nothing named " + named);
    }
}

} // namespace cdcheck
