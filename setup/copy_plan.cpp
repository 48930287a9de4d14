#include "setup/copy_plan.h"

#include "setup/rules.h"
#include "setup/settings.h"

namespace copy_plan {

const SharedItem kSharedItems[] = {
    {"\\common", nullptr, nullptr, Kind::Tree, When::Always, OnFailure::GoesOn, false},
    {"\\common20", nullptr, nullptr, Kind::Tree, When::Always, OnFailure::GoesOn, false},
    {"\\plugins", nullptr, nullptr, Kind::Tree, When::Always, OnFailure::GoesOn, false},
    {"\\forms", nullptr, nullptr, Kind::Tree, When::Always, OnFailure::GoesOn, false},
    {"\\key.tbl", nullptr, nullptr, Kind::File, When::Always, OnFailure::GoesOn, false},
    {nullptr, settings::kCommonSection, settings::kDefaultTree, Kind::Tree, When::Always,
     OnFailure::StopsNamingPath, true},
    {nullptr, settings::kServerSection, settings::kTemplateDir, Kind::Tree, When::Always,
     OnFailure::StopsNamingPath, true},
    {"\\docs", nullptr, nullptr, Kind::Tree, When::Always, OnFailure::GoesOn, false},
    {settings::kPublishTree, nullptr, nullptr, Kind::Tree, When::PublisherOnly,
     OnFailure::StopsNamingPath, false},
    {"\\cgi-bin", nullptr, nullptr, Kind::Tree, When::PublisherOnly, OnFailure::GoesOn, false},
};
const std::size_t kSharedItemCount = sizeof(kSharedItems) / sizeof(kSharedItems[0]);

bool Applies(When when, bool publisher) {
    return when == When::Always || publisher;
}

const Platform kPlatforms[] = {
    {0, kWindowsFolder, "_red40/", PlatformBox::Count},
    {0x0040, "\\_isvr4", "_isvr4/", PlatformBox::IRIX},
    {0x0004, "\\_ssol26", "_solaris/", PlatformBox::Solaris},
    {0x0008, "\\_sun441", "_sun441/", PlatformBox::SunOS},
    {0x0020, "\\_rs6k41", "_rs6k41/", PlatformBox::AIX},
    {0x0100, "\\_aosf32", "_aosf32/", PlatformBox::AlphaOSF},
    {0x0080, "\\_irix62", "_irix/", PlatformBox::IRIX},
    {0x0010 | 0x0200, "\\_hpux11", "_hpux11/", PlatformBox::HPUX},
    {0x0002, "\\_mac", "_mac/", PlatformBox::Macintosh},
};
const std::size_t kPlatformCount = sizeof(kPlatforms) / sizeof(kPlatforms[0]);

const char* const kFilterFolders[] = {kWindowsFolder, "\\_ssol26", "\\_sun441", "\\_hpux11",
                                      "\\_rs6k41",    "\\_aosf32", "\\_irix62"};
const std::size_t kFilterFolderCount = sizeof(kFilterFolders) / sizeof(kFilterFolders[0]);

const RootFile kRootFiles[] = {
    {settings::kSettingsFile, false}, {rules::kSetupProgram, false}, {kUnixSearchFile, true}};
const std::size_t kRootFileCount = sizeof(kRootFiles) / sizeof(kRootFiles[0]);

bool NeedsUnixSearchFile(std::uint32_t mask) {
    return (mask & kUnixPlatformBits) != 0;
}

bool TreeName(const char* value, char* out, std::size_t outSize, const chars::CodePage& page) {
    if (out == nullptr || outSize == 0)
        return false;
    out[0] = '\0';
    // Appended to "c:\nodra30", a name without its backslash would be a sibling folder.
    if (value == nullptr || (value[0] != '\\' && value[0] != '/') ||
        !bounded::StaysBelow(value, page))
        return false;
    return bounded::AppendName(out, outSize, value, page);
}

} // namespace copy_plan
