// cdcheck: looks over a CD tree before it is pressed and reports, as a compiler does,
// what the setup would meet there: settings files that do not load, the environment it
// will take, missing files and folders, settings that name nothing on the CD or do not
// fit, paths too long for the copy to the default destination, and names the pressed
// image will not keep. Given the pressed image, it reports what only the image shows.
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
#include "tools/cdcheck/image_checks.h"
#include "tools/cdcheck/medium_limits.h"
#include "tools/cdcheck/setup_file_checks.h"

namespace {

const char kUsage[] = "usage: cdcheck [--quiet] CD_FOLDER|CD_IMAGE.iso\n"
                      "       cdcheck [--quiet] --audit PROGRAM_FILE...\n"
                      "  --quiet  leave out the notes (the environment and such)\n"
                      "  --audit  whether the oldest Windows of each file's machine starts it\n";

int Usage() {
    std::fputs(kUsage, stderr);
    return cdcheck::kExitUsage;
}

int Check(const std::string& folder, bool showNotes) {
    using namespace cdcheck;
    CdTree cd(folder);
    Report report(stdout, showNotes);

    SettingsFile root(cd, kRootSettings);
    CheckSettingsFile(root, Severity::Error,
                      "the setup reads every setting as empty and installs as a publisher", report);
    Plan plan = DecidePlan(root, report);

    SettingsFile publish(cd, kPublishSettings);
    if (plan.publisher)
        CheckSettingsFile(publish, Severity::Error,
                          "the licence agreement is not shown, and the installation cannot "
                          "record its environment there",
                          report);
    else
        CheckSettingsFile(publish, Severity::Warning,
                          "not read on a client CD, but installed as it is by a publisher", report);
    SettingsFile setupFolder(cd, kSetupFolderSettings);
    CheckSettingsFile(setupFolder, Severity::Warning, "the reinstall question has no caption",
                      report);

    CheckLayout(cd, plan, report);
    CheckValues(cd, root, publish, plan, report);
    CheckPathLengths(cd, root, plan, report);
    CheckFolderForPressing(cd, report);
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
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--quiet") == 0 || std::strcmp(argv[i], "-q") == 0) {
            showNotes = false;
        } else if (std::strcmp(argv[i], "--audit") == 0) {
            if (i + 1 == argc)
                return Usage();
            return cdcheck::AuditFiles(std::vector<std::string>(argv + i + 1, argv + argc), showNotes);
        } else if (std::strcmp(argv[i], "--help") == 0) {
            std::fputs(kUsage, stdout);
            return cdcheck::kExitClean;
        } else if (argv[i][0] == '-' || folder != nullptr) {
            return Usage();
        } else {
            folder = argv[i];
        }
    }
    if (folder == nullptr)
        return Usage();
    const cdcheck::HostKind kind = cdcheck::HostKindOf(folder, nullptr);
    if (kind == cdcheck::HostKind::Missing) {
        std::fprintf(stderr, "cdcheck: %s: no such folder or image\n", folder);
        return cdcheck::kExitUsage;
    }
    try {
        if (kind == cdcheck::HostKind::File)
            return cdcheck::CheckImage(folder, showNotes);
        return Check(folder, showNotes);
    } catch (const std::bad_alloc&) {
        std::fputs("cdcheck: out of memory\n", stderr);
        return cdcheck::kExitErrors;
    }
}
