// What the pressed medium keeps of a CD's names: Windows reads the Joliet names, which
// hold at most 64 characters; ISO 9660 keeps 8 levels of folders and paths of at most
// 255 characters; a CD's names differ in letter case where Windows sees one name. The
// same rules look at a CD folder before it is pressed and at the image after.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "tools/cdcheck/cd_tree.h"
#include "tools/cdcheck/report.h"

namespace cdcheck {

constexpr std::size_t kJolietNameLength = 64;
// Levels of folders, the root counted as the first.
constexpr int kIsoFolderLevels = 8;
constexpr std::size_t kIsoPathLength = 255;

// One file or folder of the medium.
struct MediumEntry {
    std::string where;   // for messages: the host path, or the image and the path on it
    std::string path;    // below the root, "\a\b", as the publisher named it
    std::string readAs;  // the same path as Windows reads it; empty: Windows does not see it
    std::string isoPath; // an image's ISO 9660 path ("\A\B.TXT"), as Windows 3.1 reads it
    bool folder = false;
    // An image's file: where the bytes Windows reads lie in the image, and how many.
    std::uint64_t dataOffset = 0;
    std::uint64_t dataSize = 0;
};

// Which names the entries' readAs holds: for a folder the names as they stand, which the
// pressing will cut; for an image the Joliet names read from it.
enum class MediumKind { Folder, Image };

// Names cut or changed, names that differ only in case, folders too deep, paths too long.
void CheckMediumLimits(const std::vector<MediumEntry>& entries, MediumKind kind, Report& report);

// A CD folder before it is pressed: every file and folder below its root, each read as
// it stands.
std::vector<MediumEntry> FolderEntries(const CdTree& cd);

// The last name of a path "\a\b": "b".
std::string LastName(const std::string& path);

} // namespace cdcheck
