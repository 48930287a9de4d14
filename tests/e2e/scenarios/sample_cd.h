// What every setup scenario shares: the sample CD as drive D: (the rig maps it), the
// setup started from the CD's _red40\bin folder as a user would start it, and an earlier
// installation made by hand.
#pragma once

#include <windows.h>

#include <string>

#include "tools/guidriver/child_process.h"

namespace scenario {

constexpr DWORD kTimeoutMs = 30000;
constexpr char kCdBin[] = "D:\\_red40\\bin";
constexpr char kCdSettings[] = "D:\\search.ini";
constexpr char kCdBinSettings[] = "D:\\_red40\\bin\\search.ini";
constexpr char kCommonSection[] = "IS\\SearchApp\\Common";
constexpr char kReinstallQuestion[] = "A version of this application is found on your machine.  "
                                      "Would you like to reinstall the application? ";
constexpr int kReinstallQuestionId = 61226;

// A value of a CD settings file, read with the Windows profile functions.
std::string CdSetting(const char* file, const char* key);
// Starts D:\_red40\bin\setup.exe in that folder (a failure is reported to the test).
bool StartSetup(guidriver::ChildProcess& setup);
// Starts the rig's test dialog program, found beside the scenario program, with these
// arguments (a failure is reported to the test).
bool StartTestDialog(guidriver::ChildProcess& process, const std::string& arguments);

struct EarlierInstallation {
    std::string folder;   // the installation's root
    std::string program;  // its search.exe, the shortcut's target
    std::string shortcut; // Programs\<ApplicationGroup>\<ApplicationName>.lnk
};
// Copies the CD's search.exe below C:\Lumora and makes the Start-menu shortcut that the
// setup looks for; false (with a message in the test's output) when that fails.
bool MakeEarlierInstallation(EarlierInstallation* installation);

} // namespace scenario
