// A CD tree in a host folder, addressed as the setup addresses it: paths relative to the
// CD's root with backslashes, names matched without regard to letter case (on a Linux
// host too, as the CD will be read under Windows).
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "tools/cdcheck/host_folder.h"

namespace cdcheck {

struct CdItem {
    HostKind kind = HostKind::Missing;
    std::string hostPath; // the host path of what was found, else the path as asked for
    std::uint64_t size = 0;
};

class CdTree {
public:
    explicit CdTree(std::string hostRoot);

    // cdPath: components separated by backslashes or slashes, a leading one optional;
    // "." stays, ".." goes up but never above the root (as at a drive's root). A name
    // spelt exactly as asked wins over one that differs in case only.
    CdItem Find(const std::string& cdPath) const;
    bool IsFolder(const std::string& cdPath) const { return Find(cdPath).kind == HostKind::Folder; }
    bool IsFile(const std::string& cdPath) const { return Find(cdPath).kind == HostKind::File; }

    // Every file and folder below a folder, parents before children, names in byte
    // order. `relative` is the entry's path below the folder, with a leading backslash
    // and the CD's own names. A folder is entered only when `enter` says so.
    struct WalkEntry {
        std::string relative;
        std::string hostPath;
        HostKind kind;
    };
    void Walk(const std::string& hostFolder,
              const std::function<bool(const WalkEntry&)>& enter) const;

    const std::string& Root() const { return root_; }

private:
    std::string root_;
    std::string Join(const std::string& folder, const std::string& name) const;
};

// Splits a CD path at backslashes and slashes, dropping empty components.
std::vector<std::string> SplitCdPath(const std::string& cdPath);

// Byte-wise comparison ignoring ASCII letter case.
bool EqualNoCase(const std::string& a, const std::string& b);

} // namespace cdcheck
