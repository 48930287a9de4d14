// The copy of the program files from the source root to the destination, as tables: the
// shared trees and files, the platforms with their bits and failure names, the filter
// folders copied afterwards, the root files, and the path limits. The engine's copy walks
// them to copy; cdcheck walks the same tables to say what that copy will meet on a CD.
#pragma once

#include <cstddef>
#include <cstdint>

#include "platform/bounded_text.h"

namespace copy_plan {

// The file manager refuses a longer path, and the copy of a tree stops at the first.
constexpr std::size_t kMaxCopyPath = bounded::kMaxFilePath;
// Settings and folder names longer than the engine's path buffers hold.
constexpr std::size_t kMaxPathValue = bounded::kPathSize - 1;

enum class Kind { Tree, File };
enum class When { Always, PublisherOnly };
// What a failed copy does to the installation.
enum class OnFailure {
    GoesOn,          // nothing is said, the installation goes on
    StopsNamingPath, // "Could not copy" and the source path, the installation ends
};

// The shared items, in the order they are copied. `name` is appended to the source root
// and the destination as written; a null name is the value of `key` in `section` of the
// source settings (nothing to copy when it is empty).
struct SharedItem {
    const char* name;
    const char* section;
    const char* key;
    Kind kind;
    When when;
    OnFailure onFailure;
    // A copy already at the destination holds the user's own work: left untouched.
    bool keepExisting;
};
extern const SharedItem kSharedItems[];
extern const std::size_t kSharedItemCount;

bool Applies(When when, bool publisher);

// The destination dialog's platform check boxes.
enum class PlatformBox { Solaris, SunOS, AIX, HPUX, Macintosh, IRIX, AlphaOSF, Count };

// A platform the copy walks, in the order it walks them: the one table of the platform
// mask's bits. `bits` is 0 for the Windows platform, which has no bit and no box and is
// always copied first; a box sets the bits of every platform it chooses.
struct Platform {
    std::uint32_t bits;
    const char* folder;      // appended to the source root and the destination
    const char* failureName; // named after "Could not copy" when its "bin" tree fails
    PlatformBox box;         // PlatformBox::Count for the Windows platform
};
extern const Platform kPlatforms[];
extern const std::size_t kPlatformCount;

// A platform's parts: "bin" is needed (its failure ends the installation), "filters"
// goes on without a message; a client copies filters with "bin", a publisher afterwards
// for the platforms that arrived, in the order of kFilterFolders.
constexpr char kBinPart[] = "\\bin";
constexpr char kFiltersPart[] = "\\filters";
extern const char* const kFilterFolders[];
extern const std::size_t kFilterFolderCount;

// The Windows platform's folder; its "bin" part is the program folder (rules.h). The
// client's perl tree is copied after the destination step; its failure goes on.
constexpr char kWindowsFolder[] = "\\_red40";
constexpr char kPerlPart[] = "\\perl";

// Files of the root, copied after the platforms; a failure ends the installation without
// a message. The Unix start script (kUnixSearchFile) only when a Unix platform is chosen.
constexpr char kUnixSearchFile[] = "search";
struct RootFile {
    const char* name;
    bool unixOnly;
};
extern const RootFile kRootFiles[];
extern const std::size_t kRootFileCount;
constexpr std::uint32_t kUnixPlatformBits = 0x33FC;
bool NeedsUnixSearchFile(std::uint32_t mask);

// A tree named by a setting, as the copy appends it: "\data", "\data\", "\data\\" and
// "/data" all give "\data" (Windows takes "/" as a separator as well); a bare "\" gives "",
// the destination itself, which is never copied. False for a name that leads out of the
// destination (no leading separator, a drive, "..") or does not fit `outSize`.
bool TreeName(const char* value, char* out, std::size_t outSize,
              const chars::CodePage& page = chars::System());

} // namespace copy_plan
