#include "tools/cdcheck/image_checks.h"

#include <cstdio>

#include "setup/rules.h"
#include "tools/cdcheck/cd_paths.h"
#include "tools/cdcheck/cd_tree.h"
#include "tools/cdcheck/checks.h"
#include "tools/cdcheck/code_pages.h"
#include "tools/cdcheck/iso_name_checks.h"
#include "tools/cdcheck/iso_image.h"
#include "tools/cdcheck/setup_file_checks.h"

namespace cdcheck {

namespace {

// Looks the file up by the names Windows reads, without regard to case, as it opens them.
const MediumEntry* FindAsRead(const ImageListing& listing, const std::string& cdPath) {
    const std::string wanted = "\\" + cdPath;
    for (const MediumEntry& entry : listing.entries) {
        if (!entry.folder && EqualNoCase(entry.readAs, wanted))
            return &entry;
    }
    return nullptr;
}

void CheckSetupFilesAsPressed(const std::string& imagePath, const ImageListing& listing,
                              Report& report) {
    const Needed needed[] = {
        {InProgramFolder(rules::kSetupProgram), Severity::Error,
         "missing: there is no setup to start from the CD"},
        {RootSettings(), Severity::Error,
         "missing where the setup looks: every setting reads as empty (publisher environment)"},
        {rules::kSetupProgram, Severity::Error,
         "missing: the installation stops when it copies the root files"},
        {ProgramFolderSettings(), Severity::Warning,
         "missing beside the setup: the reinstall question has no caption"},
    };
    for (const Needed& file : needed) {
        if (FindAsRead(listing, file.cdPath) == nullptr)
            report.Add(file.severity, imagePath + ":\\" + file.cdPath, 0, file.effect);
    }
    // The program files as pressed, read where Windows finds them.
    CheckSetupPrograms(
        [&](const std::string& cdPath, std::vector<unsigned char>* bytes) {
            const MediumEntry* entry = FindAsRead(listing, cdPath);
            if (entry == nullptr)
                return ProgramRead::Missing;
            return ReadProgramBytes(imagePath, bytes, entry->dataOffset, entry->dataSize)
                       ? ProgramRead::Read
                       : ProgramRead::Unreadable;
        },
        imagePath + ":\\", report);
}

} // namespace

int CheckImage(const std::string& imagePath, const std::vector<int>& codePages, bool showNotes) {
    ImageListing listing;
    std::string why;
    const ImageRead read = ReadImage(imagePath, &listing, &why);
    if (read != ImageRead::Ok) {
        std::fprintf(stderr, "cdcheck: %s: %s\n", imagePath.c_str(), why.c_str());
        return read == ImageRead::Damaged ? kExitErrors : kExitUsage;
    }
    Report report(stdout, showNotes);
    report.Note(imagePath, 0,
                "volume " + Quoted(listing.label) + ", " + std::to_string(listing.entries.size()) +
                    " files and folders");
    if (!listing.joliet)
        report.Error(imagePath, 0,
                     "no Joliet names (xorriso -as mkisofs -J): Windows reads the short ISO "
                     "9660 names, which do not keep the CD's names");
    CheckMediumLimits(listing.entries, MediumKind::Image, report);
    CheckIsoNames(listing.entries, MediumKind::Image, report);
    CheckCodePages(listing.entries, codePages, report);
    CheckSetupFilesAsPressed(imagePath, listing, report);
    report.PrintSummary();
    return report.ExitCode();
}

} // namespace cdcheck
