// The files and folders the setup needs on every CD, and those it needs for the
// environment and platforms it will offer.
#include <string>

#include "integration/shortcut_rules.h"
#include "setup/copy_plan.h"
#include "tools/cdcheck/checks.h"

namespace cdcheck {

namespace {

constexpr char kSetupFolder[] = "_red40\\bin";

struct Needed {
    const char* cdPath;
    Severity severity;
    const char* effect;
};

// The platform's name as the setup's failure message gives it.
std::string FailureName(const copy_plan::Platform& platform) {
    return std::string("\"Could not copy ") + platform.failureName + "\"";
}

void CheckRootFiles(const CdTree& cd, Report& report) {
    const Needed rootFiles[] = {
        {kRootSettings, Severity::Error,
         "missing: every setting reads as empty (publisher environment), and the "
         "installation stops when it copies the root files"},
        {"setup.exe", Severity::Error,
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
    CdItem folder = cd.Find(kSetupFolder);
    if (folder.kind != HostKind::Folder) {
        report.Error(folder.hostPath, 0,
                     "missing folder: the setup and its programs belong there, and the "
                     "installation stops with \"Could not copy _red40/\"");
        return;
    }
    const std::string dll = std::string(kSetupFolder) + "\\" + shortcuts::kLinkLibrary;
    const std::string program = std::string(kSetupFolder) + "\\" + shortcuts::kSearchProgram;
    const Needed files[] = {
        {dll.c_str(), Severity::Error,
         "missing: no Start-menu shortcuts are made, so a later run cannot find this "
         "installation either"},
        {program.c_str(), Severity::Error,
         "missing: the program the setup starts when the installation is done"},
        {"_red40\\bin\\setup.exe", Severity::Warning,
         "missing: the setup is meant to be started from this folder"},
        {kSetupFolderSettings, Severity::Warning,
         "missing: the setup reads the application's name here for its reinstall question"},
    };
    for (const Needed& needed : files) {
        CdItem item = cd.Find(needed.cdPath);
        if (item.kind != HostKind::File)
            report.Add(needed.severity, item.hostPath, 0, needed.effect);
    }
}

void CheckPublisherWorkspace(const CdTree& cd, Report& report) {
    CdItem publish = cd.Find("publish");
    if (publish.kind != HostKind::Folder) {
        report.Error(publish.hostPath, 0,
                     "missing folder: a publisher installation copies it and stops with "
                     "\"Could not copy\" without it");
        return;
    }
    CdItem settingsFile = cd.Find(kPublishSettings);
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
        const std::string folder = platform.folder + 1; // without its leading backslash
        const bool offered = plan.publisher && (platform.bits & kOfferedPlatformBits) != 0;
        CdItem item = cd.Find(folder);
        if (item.kind == HostKind::Missing && !offered)
            continue;
        if (cd.IsFolder(folder + copy_plan::kBinPart))
            continue;
        if (item.kind == HostKind::Folder)
            report.Warning(item.hostPath, 0,
                           "platform folder without \"bin\": choosing this platform stops the "
                           "installation with " +
                               FailureName(platform));
        else
            report.Warning(item.hostPath + HostSeparator() + "bin", 0,
                           "missing, but the destination dialog offers \"Solaris Platform\": "
                           "ticking it stops the installation with " +
                               FailureName(platform));
    }
    // A Unix platform also needs the root's start script.
    if (OffersUnixPlatform(cd, plan, copy_plan::kBinPart) && !cd.IsFile("search")) {
        report.Warning(cd.Find("search").hostPath, 0,
                       "missing: ticking \"Solaris Platform\" stops the installation when it "
                       "copies the root files");
    }
}

void NoteSharedTrees(const CdTree& cd, const Plan& plan, Report& report) {
    for (std::size_t i = 0; i < copy_plan::kSharedItemCount; ++i) {
        const copy_plan::SharedItem& item = copy_plan::kSharedItems[i];
        if (item.name == nullptr || item.kind != copy_plan::Kind::Tree ||
            item.onFailure != copy_plan::OnFailure::GoesOn ||
            !copy_plan::Applies(item.when, plan.publisher))
            continue;
        CdItem found = cd.Find(item.name);
        if (found.kind != HostKind::Folder)
            report.Note(found.hostPath, 0,
                        "missing folder: the setup goes on without it, without a message");
    }
}

} // namespace

void CheckLayout(const CdTree& cd, const Plan& plan, Report& report) {
    CheckRootFiles(cd, report);
    CheckSetupFolder(cd, report);
    if (plan.publisher)
        CheckPublisherWorkspace(cd, report);
    CheckPlatforms(cd, plan, report);
    NoteSharedTrees(cd, plan, report);
}

} // namespace cdcheck
