// Settings whose values must name something on the CD, or must fit what the setup holds.
#include <cctype>
#include <cstdint>
#include <cstring>
#include <string>

#include "integration/browser_rules.h"
#include "platform/bounded_text.h"
#include "resources/titles.h"
#include "setup/copy_plan.h"
#include "setup/install_rules.h"
#include "setup/settings.h"
#include "tools/cdcheck/checks.h"

namespace cdcheck {

namespace {

// "communicator", "netscape4", ... or "msie": the codes the setup knows.
std::string BrowserCodes() {
    std::string text;
    for (std::size_t i = 0; i < browser::kBrowserCodeCount; ++i) {
        if (i > 0)
            text += i + 1 == browser::kBrowserCodeCount ? " or " : ", ";
        text += Quoted(browser::kBrowserCodes[i].code);
    }
    return text;
}

bool HasDrive(const std::string& path) {
    return path.size() >= 2 && std::isalpha(static_cast<unsigned char>(path[0])) && path[1] == ':';
}

std::string Characters(std::size_t count) {
    return std::to_string(count) + " characters";
}

void CheckLicenseFile(const CdTree& cd, const SettingsFile& root, const SettingsFile& publish,
                      const Plan& plan, Report& report) {
    const SettingsFile& source = plan.publisher ? publish : root;
    const std::string value = source.Value(settings::kCommonSection, settings::kLicenseFile);
    const std::string rootValue = root.Value(settings::kCommonSection, settings::kLicenseFile);
    if (plan.publisher && value.empty() && !rootValue.empty()) {
        report.Warning(root.Where(), root.LineOf(settings::kCommonSection, settings::kLicenseFile),
                       std::string(settings::kLicenseFile) +
                           " is not read in the publisher environment, which takes the "
                           "agreement from " +
                           PublishSettings() + ": no agreement is shown");
    }
    if (value.empty())
        return;
    const int line = source.LineOf(settings::kCommonSection, settings::kLicenseFile);
    const std::string key = settings::kLicenseFile;
    if (value.size() > kMaxPathValue) {
        report.Error(source.Where(), line,
                     key + " has " + Characters(value.size()) +
                         ", more than a path holds: the agreement is shown empty");
        return;
    }
    // The setup opens the name two folders above its own (the CD's root), then the name
    // as it stands, from its own folder.
    CdItem fromRoot;
    CdItem asGiven;
    if (HasDrive(value)) {
        asGiven = cd.Find(value.substr(2));
        fromRoot.hostPath = asGiven.hostPath;
    } else {
        fromRoot = cd.Find(value);
        asGiven = cd.Find(value[0] == '\\' || value[0] == '/' ? value : InProgramFolder(value));
    }
    const CdItem& found = fromRoot.kind == HostKind::File ? fromRoot : asGiven;
    if (found.kind == HostKind::File && HasDrive(value)) {
        report.Warning(source.Where(), line,
                       key + " " + Quoted(value) + " is found only while the CD is in drive " +
                           value.substr(0, 2) + " (" + found.hostPath + ")");
    } else if (found.kind == HostKind::File) {
        if (found.size > static_cast<std::uint64_t>(rules::kMaxLicenseBytes))
            report.Warning(found.hostPath, 0,
                           "the licence agreement is shown cut to its first " +
                               std::to_string(rules::kMaxLicenseBytes >> 20) + " MB");
    } else if (HasDrive(value)) {
        report.Error(source.Where(), line,
                     key + " " + Quoted(value) + " names no file on the CD (looked for " +
                         asGiven.hostPath + "): the agreement is shown empty");
    } else {
        std::string places = fromRoot.hostPath;
        if (asGiven.hostPath != fromRoot.hostPath)
            places += " and " + asGiven.hostPath;
        report.Error(source.Where(), line,
                     key + " " + Quoted(value) + " names no file (the setup looks for " + places +
                         "): the agreement is shown empty");
    }
}

// The code a mistyped browser code was probably meant as, or "".
std::string MeantCode(const std::string& value) {
    std::string letters;
    for (char c : value) {
        if (std::isalnum(static_cast<unsigned char>(c)))
            letters += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    }
    for (std::size_t i = 0; i < browser::kBrowserCodeCount; ++i) {
        if (letters == browser::kBrowserCodes[i].code)
            return letters;
    }
    if (letters == "ie" || letters == "internetexplorer" || letters == "explorer")
        return browser::CodeForKind(browser::kInternetExplorer, "");
    if (letters == "navigator")
        return browser::CodeForKind(browser::kNavigator, "");
    return std::string();
}

void CheckBrowser(const CdTree& cd, const SettingsFile& root, Report& report) {
    const std::string value = root.Value(settings::kCommonSection, settings::kBrowser);
    if (value.empty() || browser::KindFromCode(value.c_str()) != browser::kOther)
        return;
    const std::string where = root.Where();
    const int line = root.LineOf(settings::kCommonSection, settings::kBrowser);
    const std::string named = std::string(settings::kBrowser) + " " + Quoted(value);
    if (value.size() >= browser::kBrowserTextSize) {
        report.Warning(where, line,
                       named + " has " + Characters(value.size()) +
                           ", more than the setup reads: it asks the user instead");
        return;
    }
    const std::string meant = MeantCode(value);
    if (!meant.empty()) {
        report.Warning(where, line,
                       named + " is no browser code (meant \"" + meant +
                           "\"?): the setup takes it as a program's path and asks the user "
                           "when there is no such file");
        return;
    }
    if (value.size() > kMaxPathValue) {
        report.Warning(where, line,
                       named + " is no browser code and longer than any program path: the "
                               "setup asks the user");
        return;
    }
    if (HasDrive(value)) {
        CdItem onCd = cd.Find(value.substr(2));
        if (onCd.kind == HostKind::File)
            report.Warning(where, line,
                           named + " is a program on the CD (" + onCd.hostPath +
                               "), found only while the CD is in drive " + value.substr(0, 2));
        else
            report.Warning(where, line,
                           named + " is none of " + BrowserCodes() +
                               ": the setup takes it as a program's path on the target "
                               "machine, which only that machine can confirm, and asks the "
                               "user when there is no such file");
        return;
    }
    // The setup tests the path from its own folder on the CD.
    CdItem onCd = cd.Find(value[0] == '\\' || value[0] == '/' ? value : InProgramFolder(value));
    if (onCd.kind == HostKind::File)
        report.Note(where, line, named + " is the browser program on the CD, " + onCd.hostPath);
    else
        report.Warning(where, line,
                       named + " is none of " + BrowserCodes() +
                           " and no program on the CD: the setup asks the user instead");
}

void CheckCopiedFolders(const CdTree& cd, const SettingsFile& root, Report& report) {
    // The trees the copy plan names by a setting.
    for (std::size_t i = 0; i < copy_plan::kSharedItemCount; ++i) {
        const copy_plan::SharedItem& named = copy_plan::kSharedItems[i];
        if (named.name != nullptr)
            continue;
        const std::string value = root.Value(named.section, named.key);
        if (value.empty())
            continue;
        const int line = root.LineOf(named.section, named.key);
        const std::string what = std::string(named.key) + " " + Quoted(value);
        const std::string stops = ": the installation stops with \"" TEXT_COULD_NOT_COPY "\"";
        char tree[bounded::kPathSize];
        if (value.size() > kMaxPathValue)
            report.Error(root.Where(), line,
                         std::string(named.key) + " has " + Characters(value.size()) +
                             ", more than a path holds" + stops);
        else if (value[0] != '\\' && value[0] != '/')
            report.Error(root.Where(), line, what + " does not begin with a backslash" + stops);
        else if (!copy_plan::TreeName(value.c_str(), tree, sizeof tree))
            report.Error(root.Where(), line,
                         what + " leads out of the destination (a drive or \"..\")" + stops);
        else if (tree[0] != '\0' && !cd.IsFolder(tree))
            report.Error(root.Where(), line,
                         what + " names no folder on the CD (" + cd.Find(value).hostPath + ")" +
                             stops);
    }
}

void CheckApplicationNames(const SettingsFile& root, Report& report) {
    for (const char* key : {settings::kApplicationGroup, settings::kApplicationName}) {
        const std::string value = root.Value(settings::kCommonSection, key);
        const int line = root.LineOf(settings::kCommonSection, key);
        if (value.size() > kMaxPathValue) {
            report.Error(root.Where(), line,
                         std::string(key) + " has " + Characters(value.size()) +
                             ", more than the setup holds (" + std::to_string(kMaxPathValue) +
                             "): it reads the name as empty");
            continue;
        }
        // The group names a folder below the Programs folder, whose parts the setup
        // makes; the name a file in it. Separators doubled or at either end are dropped.
        if (!bounded::StaysBelow(value.c_str())) {
            report.Warning(root.Where(), line,
                           std::string(key) + " " + Quoted(value) +
                               " leads out of the Start menu (a drive or \"..\"): no shortcut "
                               "is made, and a later run finds none");
            continue;
        }
        const std::size_t first = value.find_first_not_of("\\/");
        const std::size_t last = value.find_last_not_of("\\/");
        if (std::strcmp(key, settings::kApplicationName) == 0 && first != std::string::npos &&
            value.find_first_of("\\/", first) < last) {
            report.Warning(root.Where(), line,
                           std::string(key) + " " + Quoted(value) +
                               " names a folder inside the group that the setup does not make: "
                               "no shortcut is made, and a later run finds none");
            continue;
        }
        for (char c : value) {
            if (std::strchr("*?\"<>|", c) != nullptr || static_cast<unsigned char>(c) < 0x20) {
                report.Warning(root.Where(), line,
                               std::string(key) + " " + Quoted(value) +
                                   " holds a character no file name may hold: the Start-menu "
                                   "shortcut cannot be made");
                break;
            }
        }
    }
}

} // namespace

void CheckValues(const CdTree& cd, const SettingsFile& root, const SettingsFile& publish,
                 const Plan& plan, Report& report) {
    CheckLicenseFile(cd, root, publish, plan, report);
    CheckBrowser(cd, root, report);
    CheckCopiedFolders(cd, root, report);
    CheckApplicationNames(root, report);
}

} // namespace cdcheck
