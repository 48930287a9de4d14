// The environment, whether the program files are copied, and the default destination.
#include <cctype>

#include "platform/bounded_text.h"
#include "resources/titles.h"
#include "setup/install_rules.h"
#include "setup/rules.h"
#include "setup/settings.h"
#include "tools/cdcheck/checks.h"

namespace cdcheck {

namespace {

bool MentionsClient(const std::string& value) {
    std::string lower;
    for (char c : value)
        lower += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return lower.find("client") != std::string::npos;
}

bool IsFullPath(const std::string& path) {
    return path.size() >= 3 && std::isalpha(static_cast<unsigned char>(path[0])) &&
           path[1] == ':' && path[2] == '\\';
}

void NoteEnvironment(const SettingsFile& root, const Plan& plan, Report& report) {
    const std::string where = root.Where();
    if (!root.Present() || root.Refused()) {
        report.Note(where, 0,
                    std::string("publisher environment: the settings ") +
                        (root.Present() ? "do not load" : "are missing") +
                        ", so every setting reads as empty");
        return;
    }
    const int line = root.LineOf(settings::kCommonSection, settings::kCurrentEnv);
    const std::string env = root.Value(settings::kCommonSection, settings::kCurrentEnv);
    const std::string key = settings::kCurrentEnv;
    const std::string client = Quoted(settings::kClientCD);
    if (!plan.publisher) {
        report.Note(where, line, "client environment: " + key + " is " + Quoted(env));
    } else if (!root.Has(settings::kCommonSection, settings::kCurrentEnv)) {
        report.Note(where, 0,
                    "publisher environment: no " + key + " in [" + settings::kCommonSection + "]");
    } else if (MentionsClient(env)) {
        report.Warning(where, line,
                       key + " " + Quoted(env) + " installs as a publisher: only " + client +
                           " selects the client environment");
    } else {
        report.Note(where, line,
                    "publisher environment: " + key + " is " + Quoted(env) + ", not " + client);
    }
}

// forceInstall and MultiCD: true when either says yes; a value that looks meant as yes
// but is not is worth a warning.
bool ReadForced(const SettingsFile& root, Report& report, const char** forcedBy) {
    bool forced = false;
    for (const char* key : {settings::kForceInstall, settings::kMultiCD}) {
        const std::string value = root.Value(settings::kCommonSection, key);
        if (rules::IsYesSetting(value.c_str())) {
            if (!forced)
                *forcedBy = key;
            forced = true;
        } else if (!value.empty() && value[0] != 'n' && value[0] != 'N') {
            report.Warning(root.Where(), root.LineOf(settings::kCommonSection, key),
                           std::string(key) + " " + Quoted(value) +
                               " counts as no: only a first letter \"y\" or \"Y\" means yes");
        }
    }
    return forced;
}

} // namespace

Plan DecidePlan(const SettingsFile& root, Report& report) {
    Plan plan;
    const std::string env = root.Value(settings::kCommonSection, settings::kCurrentEnv);
    plan.publisher = !rules::IsClientEnvironment(env.c_str());
    NoteEnvironment(root, plan, report);

    const char* forcedBy = nullptr;
    const bool forced = ReadForced(root, report, &forcedBy);
    std::string defaultInstall = root.Value(settings::kCommonSection, settings::kDefaultInstall);
    const int defaultLine = root.LineOf(settings::kCommonSection, settings::kDefaultInstall);
    const std::string key = settings::kDefaultInstall;
    // What the dialog offers without the setting, in each environment.
    const std::string publisherDefault = rules::DefaultDestination(true, "");
    const std::string clientDefault = rules::DefaultDestination(false, "");
    if (plan.publisher) {
        if (!defaultInstall.empty())
            report.Note(root.Where(), defaultLine,
                        key +
                            " is not used in the publisher environment: the destination "
                            "offered is always " +
                            publisherDefault);
        defaultInstall.clear();
    } else if (defaultInstall.size() > kMaxPathValue) {
        report.Error(root.Where(), defaultLine,
                     key + " has " + std::to_string(defaultInstall.size()) +
                         " characters, more than the destination field holds (" +
                         std::to_string(kMaxPathValue) + "): the setup offers " + clientDefault +
                         " instead");
        defaultInstall.clear();
    } else if (!defaultInstall.empty() && !IsFullPath(defaultInstall)) {
        report.Warning(root.Where(), defaultLine,
                       key + " " + Quoted(defaultInstall) +
                           " is no full path with a drive letter: it would be taken relative "
                           "to the folder the setup runs in, on the CD");
    }
    plan.destinationShown = rules::DefaultDestination(plan.publisher, defaultInstall.c_str());
    char destination[bounded::kPathSize] = {};
    bounded::Copy(destination, sizeof destination, plan.destinationShown.c_str());
    rules::StripDriveRootBackslash(destination, sizeof destination);
    plan.destination = destination;

    if (plan.publisher) {
        report.Note(root.Where(), 0, "the program files are copied to " + plan.destination);
    } else if (forced) {
        report.Note(root.Where(), root.LineOf(settings::kCommonSection, forcedBy),
                    std::string("the program files are copied to the hard disk (") + forcedBy +
                        " says yes), by default to " + Quoted(plan.destinationShown));
    } else if (plan.destinationShown == clientDefault) {
        report.Note(root.Where(), 0,
                    "the program files stay on the CD unless the user clears the ticked "
                    "\"" TEXT_ICON_ONLY_BOX "\" box; then they go to " +
                        clientDefault);
    } else {
        // The box is shown only for the client's default destination and keeps its ticked
        // value when hidden, so the files cannot be copied at all.
        plan.copiesFiles = false;
        report.Note(root.Where(), defaultLine,
                    std::string("the program files stay on the CD: without ") +
                        settings::kForceInstall + " or " + settings::kMultiCD +
                        " saying yes, \"" TEXT_ICON_ONLY_BOX "\" is hidden and ticked, and " + key +
                        " " + Quoted(plan.destinationShown) + " is never used");
    }
    return plan;
}

void CheckSettingsFile(const SettingsFile& file, Severity severity, const std::string& effect,
                       Report& report) {
    if (!file.Refused())
        return;
    report.Add(severity, file.Where(), file.RefusedLine(), file.RefusedReason() + ": " + effect);
}

bool OffersPlatform(const Plan& plan, const copy_plan::Platform& platform) {
    return plan.publisher && platform.box == kOfferedBox;
}

bool OffersUnixPlatform(const CdTree& cd, const Plan& plan, const char* part) {
    for (std::size_t i = 0; i < copy_plan::kPlatformCount; ++i) {
        const copy_plan::Platform& platform = copy_plan::kPlatforms[i];
        if (OffersPlatform(plan, platform) && copy_plan::NeedsUnixSearchFile(platform.bits) &&
            cd.IsFolder(std::string(platform.folder) + part))
            return true;
    }
    return false;
}

} // namespace cdcheck
