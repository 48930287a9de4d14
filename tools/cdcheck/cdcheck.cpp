// cdcheck: looks over a CD tree before it is pressed and reports, as a compiler does,
// what the setup would meet there: settings files that do not load, the environment it
// will take, missing files and folders, settings that name nothing on the CD or do not
// fit, paths too long for the copy to the default destination, names the pressed image
// will not keep, and names the code pages of its users' Windows cannot show. Given the
// pressed image, it reports what only the image shows.
//
// Exit codes: 0 a clean CD (notes only), 1 warnings, 2 errors, 64 usage error.
#include <cstdio>
#include <cstring>
#include <new>
#include <string>
#include <vector>

#if defined(_WIN32)
#include <fcntl.h>
#include <io.h>
#endif

#include "tools/cdcheck/checks.h"
#include "tools/cdcheck/code_pages.h"
#include "tools/cdcheck/image_checks.h"
#include "tools/cdcheck/iso_name_checks.h"
#include "tools/cdcheck/medium_limits.h"
#include "tools/cdcheck/setup_file_checks.h"

namespace {

// %s: the default code pages.
const char kUsage[] =
    "usage: cdcheck [--quiet] [--code-pages LIST] CD_FOLDER|CD_IMAGE.iso\n"
    "       cdcheck [--quiet] --audit PROGRAM_FILE...\n"
    "  --quiet       leave out the notes (the environment and such)\n"
    "  --code-pages  the ANSI code pages of the Windows the CD is for, such as 1252,932\n"
    "                (the default is %s): a name one of them cannot show is a warning\n"
    "  --audit       whether the oldest Windows of each file's machine starts it\n";

void PrintUsage(std::FILE* out) {
    std::fprintf(out, kUsage, cdcheck::kDefaultCodePages);
}

int Usage() {
    PrintUsage(stderr);
    return cdcheck::kExitUsage;
}

int Check(const std::string& folder, const std::vector<int>& codePages, bool showNotes) {
    using namespace cdcheck;
    CdTree cd(folder);
    Report report(stdout, showNotes);

    SettingsFile root(cd, RootSettings());
    CheckSettingsFile(root, Severity::Error,
                      "the setup reads every setting as empty and installs as a publisher", report);
    Plan plan = DecidePlan(root, report);

    SettingsFile publish(cd, PublishSettings());
    if (plan.publisher)
        CheckSettingsFile(publish, Severity::Error,
                          "the licence agreement is not shown, and the installation cannot "
                          "record its environment there",
                          report);
    else
        CheckSettingsFile(publish, Severity::Warning,
                          "not read on a client CD, but installed as it is by a publisher", report);
    SettingsFile setupFolder(cd, ProgramFolderSettings());
    CheckSettingsFile(setupFolder, Severity::Warning, "the reinstall question has no caption",
                      report);

    CheckLayout(cd, plan, report);
    CheckValues(cd, root, publish, plan, report);
    CheckPathLengths(cd, root, plan, report);
    const std::vector<MediumEntry> entries = FolderEntries(cd);
    CheckMediumLimits(entries, MediumKind::Folder, report);
    CheckIsoNames(entries, MediumKind::Folder, report);
    CheckCodePages(entries, codePages, report);
    CheckSetupFiles(cd, report);
    report.PrintSummary();
    return report.ExitCode();
}

} // namespace

int main(int argc, char** argv) {
#if defined(_WIN32)
    // Lines end with one LF on every platform, as scripts reading them expect.
    _setmode(_fileno(stdout), _O_BINARY);
#endif
    bool showNotes = true;
    const char* folder = nullptr;
    const char* codePageList = cdcheck::kDefaultCodePages;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--quiet") == 0 || std::strcmp(argv[i], "-q") == 0) {
            showNotes = false;
        } else if (std::strcmp(argv[i], "--code-pages") == 0) {
            if (++i == argc)
                return Usage();
            codePageList = argv[i];
        } else if (std::strcmp(argv[i], "--audit") == 0) {
            if (i + 1 == argc)
                return Usage();
            return cdcheck::AuditFiles(std::vector<std::string>(argv + i + 1, argv + argc), showNotes);
        } else if (std::strcmp(argv[i], "--help") == 0) {
            PrintUsage(stdout);
            return cdcheck::kExitClean;
        } else if (argv[i][0] == '-' || folder != nullptr) {
            return Usage();
        } else {
            folder = argv[i];
        }
    }
    if (folder == nullptr)
        return Usage();
    std::vector<int> codePages;
    std::string why;
    if (!cdcheck::ParseCodePages(codePageList, &codePages, &why)) {
        std::fprintf(stderr, "cdcheck: --code-pages: %s\n", why.c_str());
        return cdcheck::kExitUsage;
    }
    const cdcheck::HostKind kind = cdcheck::HostKindOf(folder, nullptr);
    if (kind == cdcheck::HostKind::Missing) {
        std::fprintf(stderr, "cdcheck: %s: no such folder or image\n", folder);
        return cdcheck::kExitUsage;
    }
    try {
        if (kind == cdcheck::HostKind::File)
            return cdcheck::CheckImage(folder, codePages, showNotes);
        return Check(folder, codePages, showNotes);
    } catch (const std::bad_alloc&) {
        std::fputs("cdcheck: out of memory\n", stderr);
        return cdcheck::kExitErrors;
    }
}
