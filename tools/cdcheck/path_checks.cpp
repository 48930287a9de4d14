// Paths that the copy to the default destination cannot take: the setup's file copy
// refuses a path longer than kMaxCopyPath and gives up the rest of that tree.
#include <string>
#include <vector>

#include "platform/bounded_text.h"
#include "resources/titles.h"
#include "setup/copy_plan.h"
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

// What the setup copies on this CD, walking the setup's own copy plan.
std::vector<CopiedItem> CopiedItems(const CdTree& cd, const SettingsFile& root, const Plan& plan) {
    const std::string stops =
        "the installation stops with \"" TEXT_COULD_NOT_COPY "\" and the tree's path";
    const std::string goesOn = "the rest of the tree is not copied, without a message";
    const std::string rootFile = "the installation stops, without a message";
    const std::string solaris = "choosing \"" TEXT_SOLARIS_BOX "\" stops the installation";
    std::vector<CopiedItem> items;
    for (std::size_t i = 0; i < copy_plan::kSharedItemCount; ++i) {
        const copy_plan::SharedItem& item = copy_plan::kSharedItems[i];
        if (!copy_plan::Applies(item.when, plan.publisher))
            continue;
        const bool stopping = item.onFailure == copy_plan::OnFailure::StopsNamingPath;
        const std::string value =
            item.name != nullptr ? item.name : root.Value(item.section, item.key);
        // Values the setup refuses outright are reported with the settings.
        char tree[bounded::kPathSize];
        if (copy_plan::TreeName(value.c_str(), tree, sizeof tree) && tree[0] != '\0')
            items.push_back(
                {tree, stopping ? OnFailure::Stops : OnFailure::GoesOn, stopping ? stops : goesOn});
    }
    // The destination dialog offers the Windows platform always, Solaris to a publisher.
    for (std::size_t i = 0; i < copy_plan::kPlatformCount; ++i) {
        const copy_plan::Platform& platform = copy_plan::kPlatforms[i];
        const bool windows = platform.bits == 0;
        if (!windows && !(OffersPlatform(plan, platform) && cd.IsFolder(platform.folder)))
            continue;
        items.push_back(
            {std::string(platform.folder) + copy_plan::kBinPart,
             windows ? OnFailure::Stops : OnFailure::StopsIfChosen,
             windows ? std::string("the installation stops with \"" TEXT_COULD_NOT_COPY " ") +
                           platform.failureName + "\""
                     : solaris});
        items.push_back(
            {std::string(platform.folder) + copy_plan::kFiltersPart, OnFailure::GoesOn, goesOn});
    }
    const bool solarisOffered = OffersUnixPlatform(cd, plan, "");
    for (std::size_t i = 0; i < copy_plan::kRootFileCount; ++i) {
        const copy_plan::RootFile& file = copy_plan::kRootFiles[i];
        if (file.unixOnly && !solarisOffered)
            continue;
        items.push_back({std::string("\\") + file.name,
                         file.unixOnly ? OnFailure::StopsIfChosen : OnFailure::Stops,
                         file.unixOnly ? solaris : rootFile});
    }
    if (!plan.publisher)
        items.push_back({std::string(copy_plan::kWindowsFolder) + copy_plan::kPerlPart,
                         OnFailure::GoesOn, goesOn});
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
