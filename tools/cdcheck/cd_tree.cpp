#include "tools/cdcheck/cd_tree.h"

#include <algorithm>
#include <cctype>
#include <utility>

namespace cdcheck {

namespace {

// Deep enough for any tree a setup can copy (each level adds at least two characters
// to a path of at most 255), shallow enough to end a walk through a link loop.
constexpr int kMaxWalkDepth = 130;

char Lower(char c) {
    return static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
}

} // namespace

bool EqualNoCase(const std::string& a, const std::string& b) {
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (Lower(a[i]) != Lower(b[i]))
            return false;
    }
    return true;
}

std::vector<std::string> SplitCdPath(const std::string& cdPath) {
    std::vector<std::string> parts;
    std::string part;
    for (char c : cdPath) {
        if (c == '\\' || c == '/') {
            if (!part.empty())
                parts.push_back(part);
            part.clear();
        } else {
            part += c;
        }
    }
    if (!part.empty())
        parts.push_back(part);
    return parts;
}

CdTree::CdTree(std::string hostRoot) : root_(std::move(hostRoot)) {
    while (root_.size() > 1 && (root_.back() == '/' || root_.back() == '\\'))
        root_.pop_back();
}

std::string CdTree::Join(const std::string& folder, const std::string& name) const {
    if (!folder.empty() && (folder.back() == '/' || folder.back() == '\\'))
        return folder + name;
    return folder + HostSeparator() + name;
}

CdItem CdTree::Find(const std::string& cdPath) const {
    std::vector<std::string> found; // host names of the folders entered so far
    std::string asked = root_;
    bool missing = false;
    std::vector<HostEntry> entries;
    std::uint64_t size = 0;
    HostKind kind = HostKind::Folder;
    for (const std::string& part : SplitCdPath(cdPath)) {
        asked = Join(asked, part);
        if (missing)
            continue;
        if (part == ".")
            continue;
        if (part == "..") {
            if (!found.empty())
                found.pop_back();
            kind = HostKind::Folder;
            continue;
        }
        std::string folder = root_;
        for (const std::string& name : found)
            folder = Join(folder, name);
        if (kind != HostKind::Folder || !ListHostFolder(folder, &entries)) {
            missing = true;
            continue;
        }
        const HostEntry* match = nullptr;
        for (const HostEntry& entry : entries) {
            if (entry.name == part) {
                match = &entry;
                break;
            }
            if (match == nullptr && EqualNoCase(entry.name, part))
                match = &entry;
            else if (match != nullptr && EqualNoCase(entry.name, part) && entry.name < match->name)
                match = &entry; // the same choice whatever order the host lists in
        }
        if (match == nullptr) {
            missing = true;
            continue;
        }
        found.push_back(match->name);
        kind = match->kind;
        size = match->size;
    }
    CdItem item;
    if (missing) {
        item.hostPath = asked;
        return item;
    }
    item.hostPath = root_;
    for (const std::string& name : found)
        item.hostPath = Join(item.hostPath, name);
    item.kind = kind;
    item.size = kind == HostKind::File ? size : 0;
    return item;
}

void CdTree::Walk(const std::string& hostFolder,
                  const std::function<bool(const WalkEntry&)>& enter) const {
    struct Level {
        std::string host;
        std::string relative;
        int depth;
    };
    std::vector<Level> pending{{hostFolder, "", 0}};
    std::vector<HostEntry> entries;
    while (!pending.empty()) {
        Level level = pending.back();
        pending.pop_back();
        if (!ListHostFolder(level.host, &entries))
            continue;
        std::sort(entries.begin(), entries.end(),
                  [](const HostEntry& a, const HostEntry& b) { return a.name < b.name; });
        std::vector<Level> children;
        for (const HostEntry& entry : entries) {
            WalkEntry walked{level.relative + "\\" + entry.name, Join(level.host, entry.name),
                             entry.kind};
            bool wanted = enter(walked);
            if (entry.kind == HostKind::Folder && wanted && level.depth < kMaxWalkDepth)
                children.push_back({walked.hostPath, walked.relative, level.depth + 1});
        }
        // Depth first, in name order.
        pending.insert(pending.end(), children.rbegin(), children.rend());
    }
}

} // namespace cdcheck
