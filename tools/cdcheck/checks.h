// The checks cdcheck runs over a CD, each reporting what the setup would meet there.
#pragma once

#include <string>

#include "setup/copy_plan.h"
#include "tools/cdcheck/cd_paths.h"
#include "tools/cdcheck/cd_tree.h"
#include "tools/cdcheck/report.h"
#include "tools/cdcheck/settings_file.h"

namespace cdcheck {

// The longest path the copy takes, and what the engine's buffers hold.
using copy_plan::kMaxCopyPath;
using copy_plan::kMaxPathValue;
// The one platform box the publisher's destination dialog shows; the client's shows none.
constexpr copy_plan::PlatformBox kOfferedBox = copy_plan::PlatformBox::Solaris;

// A file or folder the setup needs on the CD, how much its absence matters, and what the
// setup does without it.
struct Needed {
    std::string cdPath;
    Severity severity;
    const char* effect;
};

// The course the setup will take on this CD, decided from the root settings alone.
struct Plan {
    bool publisher = true;
    // Whether the program files can reach the hard disk at all.
    bool copiesFiles = true;
    // The destination the dialog starts with, and as the copy uses it (a drive root
    // loses its backslash).
    std::string destinationShown;
    std::string destination;
};

// Decides the environment and the destination, with a note saying why.
Plan DecidePlan(const SettingsFile& root, Report& report);

// Whether the destination dialog offers the platform's box (never the Windows platform,
// which has none and is always copied).
bool OffersPlatform(const Plan& plan, const copy_plan::Platform& platform);

// Whether the publisher's dialog offers a platform whose copy needs the root's Unix start
// script and whose folder, followed by `part` ("" or a platform part), is on the CD.
bool OffersUnixPlatform(const CdTree& cd, const Plan& plan, const char* part);

// A settings file the store refuses, with its line and reason, and what that costs.
void CheckSettingsFile(const SettingsFile& file, Severity severity, const std::string& effect,
                       Report& report);

// Root files, the setup's folder, the publisher's workspace and the platform folders.
void CheckLayout(const CdTree& cd, const Plan& plan, Report& report);

// LicenseFile, Browser, _default, TemplateDir and the names of the application.
void CheckValues(const CdTree& cd, const SettingsFile& root, const SettingsFile& publish,
                 const Plan& plan, Report& report);

// Paths of the copied trees that grow too long at the default destination.
void CheckPathLengths(const CdTree& cd, const SettingsFile& root, const Plan& plan, Report& report);

} // namespace cdcheck
