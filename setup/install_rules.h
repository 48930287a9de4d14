// Pure rules of the destination dialog and its step: the platform check boxes, disk
// space figures, the drive-root rule, the default destination and the text of the
// no-space message. No Win32 calls; every function that writes takes its buffer size.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "platform/code_page.h"
#include "setup/copy_plan.h"

namespace rules {

// The destination dialog's platform check boxes (their bits stand in the copy plan's
// platform table) and the bytes each one needs.
using PlatformBox = copy_plan::PlatformBox;
struct PlatformBoxRule {
    PlatformBox box;
    std::uint32_t bytes;
};
extern const PlatformBoxRule kPlatformBoxes[static_cast<int>(PlatformBox::Count)];
// Every platform needs the Windows files as well.
constexpr std::uint32_t kWindowsBytes = 40000000;

// ticked[i] says whether box i (PlatformBox order) is ticked.
std::uint32_t RequiredBytes(const bool (&ticked)[static_cast<int>(PlatformBox::Count)]);
std::uint32_t PlatformMask(const bool (&ticked)[static_cast<int>(PlatformBox::Count)]);

// Free space as the dialog counts it: sizes of 4 GB or more stay at 0xFFFFFFFF rather
// than wrap, so a large disk never fails the test.
std::uint32_t ClampFreeBytes(std::uint64_t freeBytes);

// The root whose free space is asked for: the path's first character and ":\", or "\"
// (the current drive) when the path begins with a backslash; "" for an empty path.
std::string FreeSpaceRoot(const char* path);
// The drive as the message names it: the path's first character and ":".
std::string DriveName(const char* path);

// The no-space message from its string-table `format`: the first two "%.1f" take the
// required megabytes (bytes / 1,048,576) and the free whole megabytes (bytes >> 20), the
// first "%s" takes `drive`, "%%" gives "%". Any other conversion stays as written, so a
// translated text can never make the formatter read arguments that are not there.
std::string FormatNoSpaceMessage(const char* format, std::uint32_t requiredBytes,
                                 std::uint32_t freeBytes, const char* drive);

// A drive root such as "d:\" (three characters, the third a backslash) loses its
// backslash: the trees then go to "d:\common".
void StripDriveRootBackslash(char* path, std::size_t size,
                             const chars::CodePage& page = chars::System());

// The settings file of a folder: dir, a backslash unless dir ends with one, "publish\"
// for a publisher, "search.ini". False, with `out` empty, when it does not fit.
bool BuildSettingsPath(const char* dir, bool publisher, char* out, std::size_t outSize,
                       const chars::CodePage& page = chars::System());

// The destination the dialog starts with.
const char* DefaultDestination(bool publisher, const char* defaultInstall);

// An agreement text larger than this is shown cut to its first kMaxLicenseBytes bytes.
constexpr long kMaxLicenseBytes = 16L * 1024 * 1024;
long LicenseBytesToRead(long fileSize);

} // namespace rules
