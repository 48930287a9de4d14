#include "tools/cdcheck/medium_limits.h"

#include <algorithm>
#include <map>
#include <set>

namespace cdcheck {

namespace {

std::string Parent(const std::string& path) {
    return path.substr(0, path.find_last_of('\\'));
}

std::string Lower(std::string text) {
    for (char& c : text) {
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
    }
    return text;
}

// Joliet counts UTF-16 units; a UTF-8 name has one for each byte that does not continue
// a character (four-byte characters need two, which this leaves out).
std::size_t Characters(const std::string& name) {
    return static_cast<std::size_t>(std::count_if(name.begin(), name.end(), [](char c) {
        return (static_cast<unsigned char>(c) & 0xC0) != 0x80;
    }));
}

// `unseen` holds the folders Windows does not see, so that their contents are not
// reported one by one.
void CheckName(const MediumEntry& entry, MediumKind kind, std::set<std::string>& unseen,
               Report& report) {
    if (kind == MediumKind::Image) {
        if (entry.readAs.empty()) {
            const bool inUnseenFolder = unseen.count(Parent(entry.path)) > 0;
            unseen.insert(entry.path);
            if (!inUnseenFolder)
                report.Error(entry.where, 0,
                             "not in the image's Joliet tree: Windows does not see it");
        } else if (LastName(entry.readAs) != LastName(entry.path)) {
            report.Warning(entry.where, 0,
                           "Windows reads this name as " + Quoted(LastName(entry.readAs)) +
                               " (its Joliet name): a setting or program looking for " +
                               Quoted(LastName(entry.path)) + " does not find it");
        }
        return;
    }
    const std::string name = LastName(entry.path);
    if (Characters(name) > kJolietNameLength)
        report.Warning(entry.where, 0,
                       "a name of " + std::to_string(Characters(name)) +
                           " characters: the image's Joliet names, which Windows reads, keep " +
                           std::to_string(kJolietNameLength) + ", so it is cut when pressed");
}

// The place of an entry: the first folder past the levels ISO 9660 keeps, and the first
// path past its length, each reported once for what lies below.
void CheckPlace(const MediumEntry& entry, Report& report) {
    const std::string& path = entry.readAs.empty() ? entry.path : entry.readAs;
    const int levels = static_cast<int>(std::count(path.begin(), path.end(), '\\')) + 1;
    if (entry.folder && levels == kIsoFolderLevels + 1)
        report.Warning(entry.where, 0,
                       "a folder on level " + std::to_string(levels) + " (the root is level 1): " +
                           "ISO 9660 keeps " + std::to_string(kIsoFolderLevels) +
                           " levels, and readers of its own names find this folder moved");
    const std::size_t length = path.size() - 1; // without the leading backslash
    const std::size_t parentLength = Parent(path).empty() ? 0 : Parent(path).size() - 1;
    if (length > kIsoPathLength && parentLength <= kIsoPathLength)
        report.Warning(entry.where, 0,
                       "a path of " + std::to_string(length) + " characters on the CD: ISO 9660 " +
                           "keeps " + std::to_string(kIsoPathLength));
}

// Two names of one folder that Windows takes for one: only the first is ever opened.
// What lies below such twin folders is reported with them.
void CheckCaseTwins(const std::vector<MediumEntry>& entries, Report& report) {
    std::map<std::string, const MediumEntry*> first;
    std::set<std::string> twins;
    for (const MediumEntry& entry : entries) {
        const std::string path = Lower(entry.readAs.empty() ? entry.path : entry.readAs);
        if (twins.count(Lower(Parent(path))) > 0) {
            twins.insert(path);
            continue;
        }
        auto found = first.emplace(path, &entry);
        if (!found.second) {
            twins.insert(path);
            report.Warning(entry.where, 0,
                           "differs only in letter case from " +
                               Quoted(LastName(found.first->second->path)) +
                               ": Windows sees one name and opens only one of them");
        }
    }
}

} // namespace

void CheckMediumLimits(const std::vector<MediumEntry>& entries, MediumKind kind, Report& report) {
    std::set<std::string> unseen;
    for (const MediumEntry& entry : entries) {
        CheckName(entry, kind, unseen, report);
        CheckPlace(entry, report);
    }
    CheckCaseTwins(entries, report);
}

std::string LastName(const std::string& path) {
    return path.substr(path.find_last_of('\\') + 1);
}

std::vector<MediumEntry> FolderEntries(const CdTree& cd) {
    std::vector<MediumEntry> entries;
    cd.Walk(cd.Root(), [&entries](const CdTree::WalkEntry& walked) {
        MediumEntry entry;
        entry.where = walked.hostPath;
        entry.path = walked.relative;
        entry.readAs = walked.relative;
        entry.folder = walked.kind == HostKind::Folder;
        entries.push_back(entry);
        return true;
    });
    return entries;
}

} // namespace cdcheck
