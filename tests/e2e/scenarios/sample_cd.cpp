#include "tests/e2e/scenarios/sample_cd.h"

#include <gtest/gtest.h>

#include "tools/guidriver/machine_state.h"

namespace scenario {

std::string CdSetting(const char* file, const char* key) {
    char value[1024] = "";
    GetPrivateProfileStringA(kCommonSection, key, "", value, sizeof value, file);
    return value;
}

namespace {

bool Start(guidriver::ChildProcess& process, const std::string& commandLine,
           const std::string& workDir) {
    if (process.Start(commandLine, workDir))
        return true;
    ADD_FAILURE() << "cannot start " << commandLine << " (error " << process.StartError() << ")";
    return false;
}

// A program of the rig, found beside the scenario program.
std::string RigProgram(const char* name) {
    char self[MAX_PATH] = "";
    DWORD length = GetModuleFileNameA(nullptr, self, sizeof self);
    std::string folder(self, length < sizeof self ? length : 0);
    folder.erase(folder.find_last_of('\\') + 1);
    return folder + name;
}

} // namespace

bool StartSetup(guidriver::ChildProcess& setup) {
    return Start(setup, std::string("\"") + kCdBin + "\\setup.exe\"", kCdBin);
}

bool StartTestDialog(guidriver::ChildProcess& process, const std::string& arguments) {
    return Start(process, "\"" + RigProgram("e2e_testdlg.exe") + "\" " + arguments, "");
}

bool MakeEarlierInstallation(EarlierInstallation* installation) {
    installation->folder = "C:\\Lumora";
    std::string bin = installation->folder + "\\_red40\\bin";
    installation->program = bin + "\\search.exe";
    std::string group =
        guidriver::ProgramsFolder() + "\\" + CdSetting(kCdSettings, "ApplicationGroup");
    installation->shortcut = group + "\\" + CdSetting(kCdSettings, "ApplicationName") + ".lnk";

    if (!guidriver::MakeDirectories(bin) || !guidriver::MakeDirectories(group)) {
        ADD_FAILURE() << "cannot make " << bin << " or " << group;
        return false;
    }
    if (!CopyFileA((std::string(kCdBin) + "\\search.exe").c_str(), installation->program.c_str(),
                   FALSE)) {
        ADD_FAILURE() << "cannot copy search.exe to " << installation->program;
        return false;
    }
    guidriver::ShellLink link;
    link.target = installation->program;
    link.workingDirectory = bin;
    link.description = "Earlier installation";
    if (!guidriver::CreateShellLink(installation->shortcut, link)) {
        ADD_FAILURE() << "cannot create " << installation->shortcut;
        return false;
    }
    return true;
}

} // namespace scenario
