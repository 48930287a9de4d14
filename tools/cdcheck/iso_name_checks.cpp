#include "tools/cdcheck/iso_name_checks.h"

#include "tools/cdcheck/cd_tree.h"
#include "tools/cdcheck/windows_versions.h"

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

bool IsAscii(const std::string& name) {
    for (char c : name) {
        if (static_cast<unsigned char>(c) >= 0x80)
            return false;
    }
    return true;
}

} // namespace

void CheckIsoNames(const std::vector<MediumEntry>& entries, MediumKind kind, Report& report) {
    const std::string readers = IsoNameReaders();
    const std::string none = ": the setup there finds nothing named ";
    std::vector<std::string> reported;
    for (const MediumEntry& entry : entries) {
        const std::string& named = entry.readAs.empty() ? entry.path : entry.readAs;
        std::string text;
        if (kind == MediumKind::Folder && !IsAscii(LastName(entry.path)))
            text = readers + " read the ISO 9660 names, which hold ASCII only" + none + named;
        else if (kind == MediumKind::Image && !entry.isoPath.empty() &&
                 !EqualNoCase(entry.isoPath, named))
            text = readers + " read the ISO 9660 name " + entry.isoPath + none + named;
        if (text.empty() || Below(entry.path, reported))
            continue;
        if (entry.folder)
            reported.push_back(entry.path);
        report.Warning(entry.where, 0, text);
    }
}

} // namespace cdcheck
