// The files and folders the setup needs on every CD, and those it needs for the
// environment and platforms it will offer.
#include <string>

#include "integration/shortcut_rules.h"
#include "resources/titles.h"
#include "setup/copy_plan.h"
#include "setup/rules.h"
#include "setup/settings.h"
#include "tools/cdcheck/checks.h"

namespace cdcheck {

namespace {

// The platform's name as the setup's failure message gives it.
std::string FailureName(const copy_plan::Platform& platform) {
    return std::string("\"" TEXT_COULD_NOT_COPY " ") + platform.failureName + "\"";
}

// The Windows platform, whose "bin" part is the program folder.
const copy_plan::Platform& WindowsPlatform() {
    for (std::size_t i = 0; i < copy_plan::kPlatformCount; ++i) {
        if (copy_plan::kPlatforms[i].bits == 0)
            return copy_plan::kPlatforms[i];
    }
    return copy_plan::kPlatforms[0];
}

void CheckRootFiles(const CdTree& cd, Report& report) {
    const Needed rootFiles[] = {
        {RootSettings(), Severity::Error,
         "missing: every setting reads as empty (publisher environment), and the "
         "installation stops when it copies the root files"},
        {rules::kSetupProgram, Severity::Error,
         "missing: the installation stops when it copies the root files"},
    };
    for (const Needed& needed : rootFiles) {
        CdItem item = cd.Find(needed.cdPath);
        if (item.kind != HostKind::File)
            report.Add(needed.severity, item.hostPath, 0,
                       item.kind == HostKind::Folder ? "a folder, where the setup needs a file"
                                                     : needed.effect);
    }
}

void CheckSetupFolder(const CdTree& cd, Report& report) {
    CdItem folder = cd.Find(ProgramFolder());
    if (folder.kind != HostKind::Folder) {
        report.Error(folder.hostPath, 0,
                     "missing folder: the setup and its programs belong there, and the "
                     "installation stops with " +
                         FailureName(WindowsPlatform()));
        return;
    }
    const Needed files[] = {
        {InProgramFolder(shortcuts::kLinkLibrary), Severity::Error,
         "missing: no Start-menu shortcuts are made, so a later run cannot find this "
         "installation either"},
        {InProgramFolder(shortcuts::kSearchProgram), Severity::Error,
         "missing: the program the setup starts when the installation is done"},
        {InProgramFolder(rules::kSetupProgram), Severity::Warning,
         "missing: the setup is meant to be started from this folder"},
        {ProgramFolderSettings(), Severity::Warning,
         "missing: the setup reads the application's name here for its reinstall question"},
    };
    for (const Needed& needed : files) {
        CdItem item = cd.Find(needed.cdPath);
        if (item.kind != HostKind::File)
            report.Add(needed.severity, item.hostPath, 0, needed.effect);
    }
}

void CheckPublishSettings(const CdTree& cd, Report& report) {
    if (!cd.IsFolder(CdPath(settings::kPublishFolder)))
        return; // reported with the trees the copy needs
    CdItem settingsFile = cd.Find(PublishSettings());
    if (settingsFile.kind != HostKind::File)
        report.Warning(settingsFile.hostPath, 0,
                       "missing: the publisher's settings, where the licence agreement is "
                       "named and the installation records its environment");
}

void CheckPlatforms(const CdTree& cd, const Plan& plan, Report& report) {
    for (std::size_t i = 0; i < copy_plan::kPlatformCount; ++i) {
        const copy_plan::Platform& platform = copy_plan::kPlatforms[i];
        if (platform.bits == 0)
            continue; // the Windows platform is the setup's own folder
        const std::string folder = CdPath(platform.folder);
        const bool offered = OffersPlatform(plan, platform);
        CdItem item = cd.Find(folder);
        if (item.kind == HostKind::Missing && !offered)
            continue;
        if (cd.IsFolder(folder + copy_plan::kBinPart))
            continue;
        const std::string bin = CdPath(copy_plan::kBinPart);
        if (item.kind == HostKind::Folder)
            report.Warning(item.hostPath, 0,
                           "platform folder without \"" + bin +
                               "\": choosing this platform stops the installation with " +
                               FailureName(platform));
        else
            report.Warning(item.hostPath + HostSeparator() + bin, 0,
                           "missing, but the destination dialog offers \"" TEXT_SOLARIS_BOX "\": "
                           "ticking it stops the installation with " +
                               FailureName(platform));
    }
    // A Unix platform also needs the root's start script.
    if (OffersUnixPlatform(cd, plan, copy_plan::kBinPart) &&
        !cd.IsFile(copy_plan::kUnixSearchFile)) {
        report.Warning(cd.Find(copy_plan::kUnixSearchFile).hostPath, 0,
                       "missing: ticking \"" TEXT_SOLARIS_BOX "\" stops the installation when it "
                       "copies the root files");
    }
}

// The trees of the copy plan that the CD holds under their own names.
void CheckSharedTrees(const CdTree& cd, const Plan& plan, Report& report) {
    for (std::size_t i = 0; i < copy_plan::kSharedItemCount; ++i) {
        const copy_plan::SharedItem& item = copy_plan::kSharedItems[i];
        if (item.name == nullptr || item.kind != copy_plan::Kind::Tree ||
            !copy_plan::Applies(item.when, plan.publisher))
            continue;
        CdItem found = cd.Find(item.name);
        if (found.kind == HostKind::Folder)
            continue;
        if (item.onFailure == copy_plan::OnFailure::GoesOn) {
            report.Note(found.hostPath, 0,
                        "missing folder: the setup goes on without it, without a message");
            continue;
        }
        const char* copier = item.when == copy_plan::When::PublisherOnly
                                 ? "a publisher installation"
                                 : "the installation";
        report.Error(found.hostPath, 0,
                     std::string("missing folder: ") + copier +
                         " copies it and stops with \"" TEXT_COULD_NOT_COPY "\" without it");
    }
}

} // namespace

void CheckLayout(const CdTree& cd, const Plan& plan, Report& report) {
    CheckRootFiles(cd, report);
    CheckSetupFolder(cd, report);
    if (plan.publisher)
        CheckPublishSettings(cd, report);
    CheckPlatforms(cd, plan, report);
    CheckSharedTrees(cd, plan, report);
}

} // namespace cdcheck
