// What the scenarios share: the sample CD as drive D: (the rig maps it), the setup started
// from the CD's _red40\bin folder as a user starts it, its questions answered as a user
// answers them, the prefix prepared before a run and what a run leaves checked after it.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "tools/guidriver/child_process.h"
#include "tools/guidriver/gui_driver.h"
#include "tools/guidriver/machine_state.h"

namespace scenario {

constexpr DWORD kTimeoutMs = 30000;
constexpr char kCd[] = "d:";
constexpr char kCdBin[] = "D:\\_red40\\bin";
constexpr char kCdSettings[] = "D:\\search.ini";
constexpr char kCdBinSettings[] = "D:\\_red40\\bin\\search.ini";
constexpr char kCommonSection[] = "IS\\SearchApp\\Common";
constexpr char kReinstallQuestion[] = "A version of this application is found on your machine.  "
                                      "Would you like to reinstall the application? ";
constexpr int kReinstallQuestionId = 61226;
constexpr char kDestinationTitle[] = "Please specify a directory";
constexpr char kLicenseTitle[] = "License Agreement";
constexpr char kBrowserTitle[] = "Please Choose a Browser";
constexpr int kPathId = 1012;
constexpr int kSolarisId = 1019;
constexpr int kIconOnlyId = 1026;
constexpr int kLicenseTextId = 1042;
constexpr int kFirstBrowserRow = 1028;
constexpr int kLastBrowserRow = 1038;
constexpr int kBrowseButton = 1039;
constexpr int kBrowserPathId = 1040;
constexpr char kInvalidDirectory[] = "Please enter a valid directory!!";
constexpr char kCouldNotCopy[] = "Could not copy ";
constexpr char kInternetSettings[] =
    "Software\\Microsoft\\Windows\\CurrentVersion\\Internet Settings";
constexpr char kNavigatorProxy[] = "Software\\Netscape\\Netscape Navigator\\Proxy Information";
constexpr char kViewerClass[] = "CLSID\\{06512320-3A45-4B5B-AA4D-6B1E9FCFC0CD}";

// A value of "IS\SearchApp\Common" in a settings file; CdSetting reads the CD's root one.
std::string Setting(const std::string& file, const char* key);
std::string CdSetting(const char* key);

// --- Running the setup -----------------------------------------------------------------
// Starts D:\_red40\bin\setup.exe in that folder (a failure is reported to the test).
bool StartSetup(guidriver::ChildProcess& setup);
// Starts the rig's test dialog program, beside the scenario program, with these arguments.
bool StartTestDialog(guidriver::ChildProcess& process, const std::string& arguments);
// The setup's first window whose title contains titlePart; NULL (a test failure) when
// none comes in time.
HWND WaitForSetupWindow(const guidriver::ChildProcess& setup, const char* titlePart);
// The reinstall question, checked for its text and its Yes and No buttons; NULL (a test
// failure) when the setup shows none.
HWND WaitForReinstallQuestion(const guidriver::ChildProcess& setup,
                              const std::string& text = kReinstallQuestion);
// Starts the setup and answers its reinstall question with Yes or No.
bool StartAndAnswerReinstall(guidriver::ChildProcess& setup, int answer);
// Waits for a message box of the setup, returns its text and presses OK; empty (a test
// failure) when none comes.
std::string AnswerMessageBox(const guidriver::ChildProcess& setup);
// Types a path into the destination dialog (an empty path keeps the dialog's) and
// presses Install.
bool InstallTo(HWND destination, const std::string& path);
// Waits for the destination dialog, answers it and waits until it is gone.
bool AnswerDestination(const guidriver::ChildProcess& setup, const std::string& path = "");
// Answers whatever the setup asks until it ends: Yes to an agreement, Install once and
// Exit afterwards to the destination, OK to the browser dialog (with a typed path when
// only "Other Browser" is offered) and to a message. The title or message of every
// question answered goes to `asked`, the destination with the path it showed in []. False when the setup does not end in time.
bool AnswerUntilExit(guidriver::ChildProcess& setup, std::vector<std::string>* asked);
// The setup ended by itself, not by a crash.
void ExpectCleanExit(guidriver::ChildProcess& setup);
// The setup ends without showing another titled window; the copy notice has no title.
void ExpectEndWithoutQuestions(guidriver::ChildProcess& setup);
// Starts the setup, answers the destination (see AnswerDestination) and expects no other
// question until it ends.
void RunToTheEnd(const std::string& destination = "");

// --- What was started -----------------------------------------------------------------
// Wine puts a program path that holds blanks in quotes when it starts it unquoted.
std::string Unquoted(const std::string& commandLine);
// Once every search.exe has ended, the whole launch log holds exactly these starts
// (program paths, compared as paths) in this order; `directories`, when given, are their
// current directories.
void ExpectLaunches(const std::vector<std::string>& programs,
                    const std::vector<std::string>& directories = {});

// --- Preparing the prefix -------------------------------------------------------------
// Each fails the test when the prefix refuses it.
bool PrepareRegistryString(HKEY root, const std::string& key, const std::string& name,
                       const std::string& value);
bool MakeFile(const std::string& path, const std::string& content = "stand-in\r\n");
bool SetProfileString(const std::string& file, const char* section, const char* key,
                      const std::string& value);
std::string ProfileString(const std::string& file, const char* section, const char* key);
std::string WindowsDirectory();
// The Windows version Wine reports to setup.exe ("win31", "nt351").
bool SetSetupWindowsVersion(const char* version);
// Navigator 3 in C:\Netscape3, as its own registry key names it.
bool InstallNavigator3();
// Communicator with the version subkey "4.7 (en)" in C:\Netscape\Communicator\Program.
constexpr char kCommunicatorProgram[] = "C:\\Netscape\\Communicator\\Program\\netscape.exe";
bool InstallCommunicator();
bool InstallNetscape6();
// The user's prefs.js of that Communicator.
std::string CommunicatorPrefs();

struct EarlierInstallation {
    std::string folder;   // the installation's root
    std::string program;  // its search.exe, the shortcut's target
    std::string shortcut; // Programs\<ApplicationGroup>\<ApplicationName>.lnk
};
// Copies the CD's search.exe below C:\Lumora and makes the Start-menu shortcut that the
// setup looks for.
bool MakeEarlierInstallation(EarlierInstallation* installation);

// --- What an installation leaves ------------------------------------------------------
// destDir + "\_red40\bin\" + file, as the setup builds it.
std::string ProgramFile(const std::string& destDir, const char* file);
// The 8.3 form the system gives for an existing path.
std::string ShortForm(const std::string& path);
// A tree arrived whole: the same names below the destination as on the CD.
void ExpectCopied(const std::string& destination, const std::string& tree);
// Names in `after` that `before` lacks (the launch log of the stand-in does not count).
std::vector<std::string> Added(const std::vector<std::string>& before,
                               const std::vector<std::string>& after);
// "SOFTWARE\" [+ "Corvane\"] + group + "\" + name.
std::string ApplicationKey(bool publisher, const std::string& group, const std::string& name);
// The key holds the group and the name, and "Browser" = browser, or no "Browser" value
// when browser is empty.
void ExpectApplicationKey(const std::string& key, const std::string& group, const std::string& name,
                          const std::string& browser);
// Programs\group\name.lnk starting appTarget and Programs\group\Uninstall name.lnk
// starting the uninstaller of destDir, with their descriptions and icons.
void ExpectStartMenuLinks(const std::string& group, const std::string& name,
                          const std::string& destDir, const std::string& appTarget);
// Closes the folder window Wine opens for a new Program Manager group; fails the test
// when none opens in time.
void CloseGroupWindow(const std::string& group);
// The labels of the browser dialog's visible rows, top to bottom.
std::vector<std::string> VisibleRows(HWND dialog);

} // namespace scenario
