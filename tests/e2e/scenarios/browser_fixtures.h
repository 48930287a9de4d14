// What the browser scenarios share: browsers installed by hand in the Wine prefix
// (registry keys, profile files and stand-in program files), the Windows version the
// setup is shown, the browser selection dialog, and where the run left its choice.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "tools/guidriver/child_process.h"

namespace browserfixture {

constexpr char kDialogTitle[] = "Please Choose a Browser";
constexpr char kInternetSettings[] =
    "Software\\Microsoft\\Windows\\CurrentVersion\\Internet Settings";
constexpr char kNavigatorProxy[] = "Software\\Netscape\\Netscape Navigator\\Proxy Information";
constexpr char kIELabel[] = " Microsoft Internet Explorer";
constexpr char kNavigator3Label[] = " Netscape Navigator 3.x or earlier";
constexpr int kFirstRadio = 1028;
constexpr int kLastRadio = 1038;
constexpr int kBrowseButton = 1039;
constexpr int kPathEdit = 1040;

// Each returns false, with a failure noted in the test, when the prefix refuses it.
bool SetRegistryString(HKEY root, const std::string& key, const std::string& name,
                       const std::string& value);
bool DeleteRegistryKey(HKEY root, const std::string& key);
// A stand-in program file (its folders made as needed).
bool MakeFile(const std::string& path, const std::string& content = "stand-in\r\n");
bool SetProfileString(const std::string& file, const char* section, const char* key,
                      const std::string& value);
std::string ProfileString(const std::string& file, const char* section, const char* key);
std::string WindowsDirectory();
// The Windows version Wine reports to setup.exe ("win31", "nt351", ...).
bool SetSetupWindowsVersion(const char* version);

// Navigator 3 in C:\Netscape3 as its own registry key names it.
bool InstallNavigator3();
// Communicator with the version subkey "4.7 (en)" in C:\Netscape\Communicator\Program.
constexpr char kCommunicatorProgram[] = "C:\\Netscape\\Communicator\\Program\\netscape.exe";
bool InstallCommunicator();
// The user's prefs.js of that Communicator.
std::string CommunicatorPrefs();

// The "Browser" setting of the installed search.ini: the CD's own while the program
// files stay on the CD, else the one in `installedFolder`.
std::string InstalledBrowserSetting(const std::string& installedFolder = "D:");

// Starts setup.exe and, when it asks for the destination, answers it: with the dialog's
// own choice when `installTo` is empty, else with that folder. Returns once the question
// is answered, another window shows or the setup ended.
bool StartAndAnswerDestination(guidriver::ChildProcess& setup, const std::string& installTo = "");
// Runs setup.exe to its end; any question besides the destination is a failure.
void RunSetupWithoutQuestions(const std::string& installTo = "");
// Starts setup.exe and waits for the browser selection dialog; NULL when it never came.
HWND WaitForBrowserDialog(guidriver::ChildProcess& setup);
// The labels of the visible radio rows, top to bottom.
std::vector<std::string> VisibleRows(HWND dialog);

} // namespace browserfixture
