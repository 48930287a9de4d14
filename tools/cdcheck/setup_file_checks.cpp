#include "tools/cdcheck/setup_file_checks.h"

#include <algorithm>
#include <fstream>

#include "app/resource_library.h"
#include "integration/browser_rules.h"
#include "integration/shortcut_rules.h"
#include "setup/copy_plan.h"
#include "setup/rules.h"
#include "tools/cdcheck/cd_paths.h"
#include "tools/cdcheck/pe_audit.h"

namespace cdcheck {
namespace {

// Where the setup kit puts its program files: the two copies of the setup first, for
// their comparison.
const std::vector<std::string>& KitFiles() {
    static const std::vector<std::string> files = {
        rules::kSetupProgram,
        InProgramFolder(rules::kSetupProgram),
        InProgramFolder(shortcuts::kLinkLibrary),
        InProgramFolder(resource_library::kFileName),
        CdPath(std::string(copy_plan::kWindowsFolder) + resource_library::kGermanFolder + "\\" +
               resource_library::kFileName),
        CdPath(std::string(browser::kPluginTree) + "\\" + browser::kViewerControl),
    };
    return files;
}
constexpr std::size_t kRootSetup = 0;
constexpr std::size_t kProgramFolderSetup = 1;

// The publisher's programs that the setup starts or installs from its own folder.
const std::vector<std::string>& PublisherPrograms() {
    static const std::vector<std::string> files = {InProgramFolder(shortcuts::kSearchProgram),
                                                   InProgramFolder(shortcuts::kUninstallProgram)};
    return files;
}

bool IsProgramName(const std::string& name) {
    const std::string::size_type dot = name.rfind('.');
    if (dot == std::string::npos)
        return false;
    const std::string ext = name.substr(dot);
    return EqualNoCase(ext, ".exe") || EqualNoCase(ext, ".dll") || EqualNoCase(ext, ".ocx");
}

bool Listed(const std::string& cdPath) {
    for (const std::string& file : KitFiles())
        if (EqualNoCase(cdPath, file))
            return true;
    for (const std::string& file : PublisherPrograms())
        if (EqualNoCase(cdPath, file))
            return true;
    return false;
}

} // namespace

bool ReadProgramBytes(const std::string& hostPath, std::vector<unsigned char>* bytes,
                      std::uint64_t offset, std::uint64_t size) {
    // A program file of the setup is a few MiB; a larger file is read only as far as this,
    // which leaves it damaged for the audit.
    constexpr std::uint64_t kMaxProgramFile = 64 << 20;
    std::ifstream in(hostPath, std::ios::binary | std::ios::ate);
    if (!in)
        return false;
    const std::streamoff end = in.tellg();
    if (end < 0 || offset > static_cast<std::uint64_t>(end))
        return false;
    size = std::min({size, static_cast<std::uint64_t>(end) - offset, kMaxProgramFile});
    in.seekg(static_cast<std::streamoff>(offset));
    bytes->resize(static_cast<std::size_t>(size));
    in.read(reinterpret_cast<char*>(bytes->data()), static_cast<std::streamsize>(size));
    bytes->resize(static_cast<std::size_t>(in.gcount()));
    return !in.bad();
}

void CheckSetupPrograms(const ReadProgramFile& read, const std::string& prefix, Report& report) {
    // Both copies of the setup are kept for their comparison; a missing or unreadable one
    // leaves its bytes empty.
    std::vector<unsigned char> rootSetup, binSetup;
    auto audit = [&](const std::string& path, std::vector<unsigned char>* keep) {
        std::vector<unsigned char> bytes;
        const ProgramRead result = read(path, &bytes);
        if (result == ProgramRead::Missing)
            return;
        if (result == ProgramRead::Unreadable) {
            report.Warning(prefix + path, 0, "cannot be read");
            return;
        }
        for (const std::string& problem : AuditPeBytes(bytes))
            report.Warning(prefix + path, 0,
                           problem + "; the machines this CD is for cannot start it");
        if (keep != nullptr)
            *keep = std::move(bytes);
    };
    const std::vector<std::string>& kit = KitFiles();
    for (std::size_t i = 0; i < kit.size(); ++i) {
        std::vector<unsigned char>* keep = nullptr;
        if (i == kRootSetup)
            keep = &rootSetup;
        else if (i == kProgramFolderSetup)
            keep = &binSetup;
        audit(kit[i], keep);
    }
    for (const std::string& path : PublisherPrograms())
        audit(path, nullptr);
    if (!rootSetup.empty() && !binSetup.empty() && rootSetup != binSetup)
        report.Warning(prefix + kit[kRootSetup], 0,
                       "differs from " + kit[kProgramFolderSetup] +
                           ": one of them is not the kit's");
}

void CheckSetupFiles(const CdTree& cd, Report& report) {
    CheckSetupPrograms(
        [&](const std::string& path, std::vector<unsigned char>* bytes) {
            const CdItem item = cd.Find(path);
            if (item.kind != HostKind::File)
                return ProgramRead::Missing;
            return ReadProgramBytes(item.hostPath, bytes) ? ProgramRead::Read
                                                          : ProgramRead::Unreadable;
        },
        "", report);
    const CdItem folder = cd.Find(ProgramFolder());
    if (folder.kind != HostKind::Folder)
        return;
    cd.Walk(folder.hostPath, [&](const CdTree::WalkEntry& entry) {
        const std::string cdPath = ProgramFolder() + entry.relative;
        if (entry.kind == HostKind::File && IsProgramName(entry.relative) && !Listed(cdPath))
            report.Note(cdPath, 0, "a program file that is no part of the setup kit");
        return false;
    });
}

int AuditFiles(const std::vector<std::string>& files, bool showNotes) {
    Report report(stdout, showNotes);
    for (const std::string& file : files) {
        std::vector<unsigned char> bytes;
        if (!ReadProgramBytes(file, &bytes)) {
            report.Error(file, 0, "cannot be read");
            continue;
        }
        PeFile pe;
        std::string why;
        if (!ReadPeFile(bytes, &pe, &why)) {
            report.Error(file, 0, why);
            continue;
        }
        const std::vector<std::string> problems = AuditPeFile(pe);
        for (const std::string& problem : problems)
            report.Error(file, 0, problem);
        if (problems.empty())
            report.Note(file, 0, std::string("starts on ") + TargetOf(pe.machine)->name);
    }
    report.PrintSummary();
    return report.ExitCode();
}

} // namespace cdcheck
