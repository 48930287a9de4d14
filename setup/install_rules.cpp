#include "setup/install_rules.h"

#include <cstdio>
#include <cstring>

#include "platform/bounded_text.h"
#include "setup/settings.h"

namespace rules {

const PlatformBoxRule kPlatformBoxes[static_cast<int>(PlatformBox::Count)] = {
    {PlatformBox::Solaris, 20000000},   {PlatformBox::SunOS, 20000000},
    {PlatformBox::AIX, 20000000},       {PlatformBox::HPUX, 20000000},
    {PlatformBox::Macintosh, 60000000}, {PlatformBox::IRIX, 20000000},
    {PlatformBox::AlphaOSF, 20000000},
};

std::uint32_t RequiredBytes(const bool (&ticked)[static_cast<int>(PlatformBox::Count)]) {
    std::uint32_t bytes = kWindowsBytes;
    for (const PlatformBoxRule& rule : kPlatformBoxes) {
        if (ticked[static_cast<int>(rule.box)])
            bytes += rule.bytes;
    }
    return bytes;
}

std::uint32_t PlatformMask(const bool (&ticked)[static_cast<int>(PlatformBox::Count)]) {
    std::uint32_t mask = 0;
    for (std::size_t i = 0; i < copy_plan::kPlatformCount; ++i) {
        const copy_plan::Platform& platform = copy_plan::kPlatforms[i];
        if (platform.box != PlatformBox::Count && ticked[static_cast<int>(platform.box)])
            mask |= platform.bits;
    }
    return mask;
}

std::uint32_t ClampFreeBytes(std::uint64_t freeBytes) {
    return freeBytes >= 0xFFFFFFFFull ? 0xFFFFFFFFu : static_cast<std::uint32_t>(freeBytes);
}

std::string FreeSpaceRoot(const char* path) {
    if (path == nullptr || path[0] == '\0')
        return std::string();
    std::string root(1, path[0]);
    if (path[0] != '\\')
        root += ":\\";
    return root;
}

std::string DriveName(const char* path) {
    if (path == nullptr || path[0] == '\0')
        return ":";
    return std::string(1, path[0]) + ":";
}

std::string FormatNoSpaceMessage(const char* format, std::uint32_t requiredBytes,
                                 std::uint32_t freeBytes, const char* drive) {
    std::string out;
    if (format == nullptr)
        return out;
    char figures[2][32] = {};
    std::snprintf(figures[0], sizeof(figures[0]), "%.1f",
                  static_cast<double>(requiredBytes) / 1048576.0);
    std::snprintf(figures[1], sizeof(figures[1]), "%.1f", static_cast<double>(freeBytes >> 20));
    int figuresUsed = 0;
    bool driveUsed = false;
    for (const char* p = format; *p != '\0';) {
        if (p[0] == '%' && p[1] == '%') {
            out += '%';
            p += 2;
        } else if (std::strncmp(p, "%.1f", 4) == 0 && figuresUsed < 2) {
            out += figures[figuresUsed++];
            p += 4;
        } else if (std::strncmp(p, "%s", 2) == 0 && !driveUsed) {
            out += drive != nullptr ? drive : "";
            driveUsed = true;
            p += 2;
        } else {
            out += *p++;
        }
    }
    return out;
}

void StripDriveRootBackslash(char* path, std::size_t size, const chars::CodePage& page) {
    if (path == nullptr || size < 4)
        return;
    // Three bytes that are three characters: "a" and a two-byte character ending in 0x5C
    // is a folder name.
    if (strnlen(path, size) == 3 && page.CharSize(path) == 1 && page.CharSize(path + 1) == 1 &&
        path[2] == '\\')
        path[2] = '\0';
}

bool BuildSettingsPath(const char* dir, bool publisher, char* out, std::size_t outSize,
                       const chars::CodePage& page) {
    if (out == nullptr || outSize == 0)
        return false;
    out[0] = '\0';
    bool fits = bounded::Append(out, outSize, dir != nullptr ? dir : "") &&
                bounded::EnsureTrailingBackslash(out, outSize, page) &&
                (!publisher || bounded::Append(out, outSize, settings::kPublishFolder)) &&
                bounded::Append(out, outSize, settings::kSettingsFile);
    if (!fits)
        out[0] = '\0';
    return fits;
}

const char* DefaultDestination(bool publisher, const char* defaultInstall) {
    if (publisher)
        return "c:\\nodra30";
    if (defaultInstall == nullptr || defaultInstall[0] == '\0')
        return "c:\\";
    return defaultInstall;
}

long LicenseBytesToRead(long fileSize) {
    if (fileSize < 0)
        return 0;
    return fileSize > kMaxLicenseBytes ? kMaxLicenseBytes : fileSize;
}

} // namespace rules
