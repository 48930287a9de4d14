// What a completed installation leaves for the user, checked after the setup ended: the
// application's key in the registry, its two Start-menu shortcuts (also handed to a
// reader outside Wine), the Program Manager group and the started search program.
#pragma once

#include <string>

namespace completerun {

// "SOFTWARE\" [+ "Corvane\"] + group + "\" + name.
std::string ApplicationKey(bool publisher, const std::string& group, const std::string& name);
// The key holds the group and the name, and "Browser" = browser, or no "Browser" value
// when browser is empty.
void ExpectApplicationKey(const std::string& key, const std::string& group, const std::string& name,
                          const std::string& browser);

// destDir + "\_red40\bin\" + file, as the setup builds it.
std::string ProgramFile(const std::string& destDir, const char* file);
// The 8.3 form the system gives for an existing path.
std::string ShortForm(const std::string& path);

// Programs\group\name.lnk starting appTarget and Programs\group\Uninstall name.lnk
// starting the uninstaller of destDir, read through the shell; both are also listed for
// lnkinfo on the host (run-scenario.sh), with their descriptions and icons.
void ExpectStartMenuLinks(const std::string& group, const std::string& name,
                          const std::string& destDir, const std::string& appTarget);

// Wine puts a program path that holds blanks in quotes when it starts it unquoted.
std::string Unquoted(const std::string& commandLine);
// One start of search.exe, with this command line, was recorded.
void ExpectStartedOnce(const std::string& program);

// Closes the folder window Wine opens for a new Program Manager group; fails the test
// when none opens in time.
void CloseGroupWindow(const std::string& group);

// Ends every explorer.exe of the prefix: Wine's desktop process, which is also its
// Program Manager. Returns how many were ended.
int EndDesktopProcesses();

// Makes setup.exe see this Windows version ("nt351", "win31"), as Wine keys it by name.
bool SetSetupVersion(const char* version);

} // namespace completerun
