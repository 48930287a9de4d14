// Paths that the copy to the default destination cannot take: the setup's file copy
// refuses a path longer than kMaxCopyPath and gives up the rest of that tree.
#include <string>
#include <vector>

#include "setup/install_rules.h"
#include "setup/settings.h"
#include "tools/cdcheck/checks.h"

namespace cdcheck {

namespace {

enum class OnFailure {
    Stops,         // the installation ends
    GoesOn,        // the rest of the tree is missing, without a message
    StopsIfChosen, // the installation ends when the user chose that platform
};

struct CopiedItem {
    std::string cdPath; // with a leading backslash, as the setup appends it
    OnFailure onFailure;
    std::string effect;
};

std::vector<CopiedItem> CopiedItems(const CdTree& cd, const SettingsFile& root, const Plan& plan) {
    const std::string stops = "the installation stops with \"Could not copy\" and the tree's path";
    const std::string goesOn = "the rest of the tree is not copied, without a message";
    const std::string rootFile = "the installation stops, without a message";
    const std::string solaris = "choosing \"Solaris Platform\" stops the installation";
    std::vector<CopiedItem> items;
    for (const char* tree : {"\\common", "\\common20", "\\plugins", "\\forms", "\\key.tbl"})
        items.push_back({tree, OnFailure::GoesOn, goesOn});
    for (const char* key : {settings::kDefaultTree, settings::kTemplateDir}) {
        const char* section =
            key == settings::kDefaultTree ? settings::kCommonSection : settings::kServerSection;
        const std::string value = root.Value(section, key);
        // Values the setup refuses outright are reported with the settings.
        if (value.size() <= kMaxPathValue && rules::IsSubfolderName(value.c_str()))
            items.push_back({value, OnFailure::Stops, stops});
    }
    items.push_back({"\\docs", OnFailure::GoesOn, goesOn});
    if (plan.publisher) {
        items.push_back({"\\publish", OnFailure::Stops, stops});
        items.push_back({"\\cgi-bin", OnFailure::GoesOn, goesOn});
    }
    items.push_back({"\\_red40\\bin", OnFailure::Stops,
                     "the installation stops with \"Could not copy _red40/\""});
    items.push_back({"\\_red40\\filters", OnFailure::GoesOn, goesOn});
    const bool solarisOffered = plan.publisher && cd.IsFolder("_ssol26");
    if (solarisOffered) {
        items.push_back({"\\_ssol26\\bin", OnFailure::StopsIfChosen, solaris});
        items.push_back({"\\_ssol26\\filters", OnFailure::GoesOn, goesOn});
    }
    items.push_back({"\\search.ini", OnFailure::Stops, rootFile});
    items.push_back({"\\setup.exe", OnFailure::Stops, rootFile});
    if (solarisOffered)
        items.push_back({"\\search", OnFailure::StopsIfChosen, solaris});
    if (!plan.publisher)
        items.push_back({"\\_red40\\perl", OnFailure::GoesOn, goesOn});
    return items;
}

void ReportTooLong(const CopiedItem& item, const std::string& hostPath, std::size_t length,
                   int more, const Plan& plan, Report& report) {
    std::string text = std::to_string(length) + " characters at the default destination " +
                       Quoted(plan.destinationShown) + ", more than the " +
                       std::to_string(kMaxCopyPath) + " the setup copies";
    if (more > 0)
        text += " (and " + std::to_string(more) + " more in this tree)";
    text += ": " + item.effect;
    report.Add(item.onFailure == OnFailure::Stops ? Severity::Error : Severity::Warning, hostPath,
               0, text);
}

void CheckItem(const CdTree& cd, const CopiedItem& item, const Plan& plan, Report& report) {
    CdItem found = cd.Find(item.cdPath);
    if (found.kind == HostKind::Missing)
        return; // reported, if it matters, with the layout
    const std::string base = plan.destination + item.cdPath;
    if (found.kind == HostKind::File || base.size() > kMaxCopyPath) {
        if (base.size() > kMaxCopyPath)
            ReportTooLong(item, found.hostPath, base.size(), 0, plan, report);
        return;
    }
    std::string first;
    std::size_t firstLength = 0;
    int count = 0;
    cd.Walk(found.hostPath, [&](const CdTree::WalkEntry& entry) {
        const std::size_t length = base.size() + entry.relative.size();
        if (length <= kMaxCopyPath)
            return true;
        if (count++ == 0) {
            first = entry.hostPath;
            firstLength = length;
        }
        return false; // what lies below is longer still and never reached
    });
    if (count > 0)
        ReportTooLong(item, first, firstLength, count - 1, plan, report);
}

} // namespace

void CheckPathLengths(const CdTree& cd, const SettingsFile& root, const Plan& plan,
                      Report& report) {
    if (!plan.copiesFiles)
        return;
    for (const CopiedItem& item : CopiedItems(cd, root, plan))
        CheckItem(cd, item, plan, report);
}

} // namespace cdcheck
