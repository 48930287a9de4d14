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
#include "tools/guidriver/setup_dialogs.h"
#include "tests/e2e/scenarios/runs.h"

namespace scenario {

using namespace guidriver::setup;

// How long a wait lasts before what it waits for counts as missing: long enough for a
// machine running eight scenarios on two cores (the 16 MB agreement took over 120 s to
// show there); a wait ends as soon as its thing comes, and the rig's limit of 540 s for a
// whole run still ends a hung one.
constexpr DWORD kTimeoutMs = 240000;
constexpr char kCd[] = "d:";
constexpr char kCdSettings[] = "D:\\search.ini";
constexpr char kCdBinSettings[] = "D:\\_red40\\bin\\search.ini";
constexpr char kInternetSettings[] =
    "Software\\Microsoft\\Windows\\CurrentVersion\\Internet Settings";
constexpr char kNavigatorProxy[] = "Software\\Netscape\\Netscape Navigator\\Proxy Information";
constexpr char kViewerClass[] = "CLSID\\{06512320-3A45-4B5B-AA4D-6B1E9FCFC0CD}";

// What a user sees of the setup with its English resources, as the scenarios expect it:
// the titles of its dialogs, and the caption and texts of its messages.
constexpr char kDestinationTitle[] = "Please specify a directory";
constexpr char kLicenseTitle[] = "License Agreement";
constexpr char kBrowserTitle[] = "Please Choose a Browser";
constexpr char kAppTitle[] = "Lumora Launcher"; // the caption of all messages but one
constexpr char kReinstallQuestion[] = "A version of this application is found on your machine.  "
                                      "Would you like to reinstall the application? ";
constexpr char kInvalidDirectory[] = "Please enter a valid directory!!";
constexpr char kCouldNotCopy[] = "Could not copy ";

// A value of "IS\SearchApp\Common" in a settings file; CdSetting reads the CD's root one.
inline std::string Setting(const std::string& file, const char* key) {
    return guidriver::ProfileString(file, kCommonSection, key);
}
inline std::string CdSetting(const char* key) {
    return Setting(kCdSettings, key);
}

// Running the setup. Each wait has a time limit; what does not come fails the test.
// Starts D:\_red40\bin\setup.exe in that folder.
bool StartSetup(guidriver::ChildProcess& setup);
// The setup's first window whose title contains titlePart, or NULL; its default button
// must be OK (Install, OK or Yes).
HWND WaitForSetupWindow(const guidriver::ChildProcess& setup, const char* titlePart);
// What the user sees of a message box: this caption, this text (unless NULL) and exactly
// these buttons (ids), the first of them the default; each difference fails the test,
// saying which it is.
void ExpectMessageBox(const guidriver::WindowInfo& box, const std::string& caption,
                      const char* text, const std::vector<int>& buttons);
// The reinstall question, checked for its caption (ApplicationName of the settings beside
// the setup), its text and its buttons Yes and No, or NULL.
HWND WaitForReinstallQuestion(const guidriver::ChildProcess& setup,
                              const std::string& text = kReinstallQuestion);
bool StartAndAnswerReinstall(guidriver::ChildProcess& setup, int answer);
// Waits for the setup's next message box, checks that it shows the program's title, this
// text and OK alone, and presses OK.
void AnswerMessageBox(const guidriver::ChildProcess& setup, const std::string& text);
// The licence agreement, checked for its caption, for the text of `agreementFile` (a file
// of the CD, which must not be empty) and for its focus on Yes, or NULL.
HWND WaitForAgreement(const guidriver::ChildProcess& setup, const std::string& agreementFile);
// Types the path into the destination dialog (empty: keeps the dialog's) and presses
// Install; AnswerDestination first waits for the dialog, then until it is gone.
bool InstallTo(HWND destination, const std::string& path);
bool AnswerDestination(const guidriver::ChildProcess& setup, const std::string& path = "");
// The setup ended by itself, not by a crash.
void ExpectCleanExit(guidriver::ChildProcess& setup);
// The setup ends without another titled window (the copy notice has no title).
void ExpectEndWithoutQuestions(guidriver::ChildProcess& setup);
// What a dialog's control shows now (a test failure when it has none of that id).
guidriver::ControlInfo Control(HWND dialog, int id);
// Starts the setup, answers the destination and expects no other question.
void RunToTheEnd(const std::string& destination = "");
// Once every search.exe has ended, the whole launch log holds exactly these starts in
// this order (program paths), from these current directories when given.
void ExpectLaunches(const std::vector<std::string>& programs,
                    const std::vector<std::string>& directories = {});

// Preparing the prefix: browsers and an earlier installation made by hand.
constexpr char kStandIn[] = "stand-in\r\n"; // a stand-in program file's content
constexpr char kCommunicatorProgram[] = "C:\\Netscape\\Communicator\\Program\\netscape.exe";
bool InstallNavigator3();   // in C:\Netscape3, as its own registry key names it
bool InstallCommunicator(); // 4.7 (en), kCommunicatorProgram
bool InstallNetscape6();    // 6.2 (en) in C:\Netscape 6
std::string CommunicatorPrefs();
struct EarlierInstallation {
    std::string folder;   // C:\Lumora
    std::string program;  // its search.exe, the shortcut's target
    std::string shortcut; // Programs\<ApplicationGroup>\<ApplicationName>.lnk
};
bool MakeEarlierInstallation(EarlierInstallation* installation);

// What an installation leaves.
// destDir + "\_red40\bin\" + file, as the setup builds it.
inline std::string ProgramFile(const std::string& destDir, const char* file) {
    return destDir + "\\_red40\\bin\\" + file;
}
// The same names below the destination as below the CD's tree, every file writable (a
// copy from the CD arrives read-only until the setup resets it).
void ExpectCopied(const std::string& destination, const std::string& tree);
// Every file of drive C: as a path relative to C:\, sorted; of Windows' own folder only
// the names at its top.
std::vector<std::string> DriveC();
// What the run added to drive C: since `before` (DriveC()) lies in these places (paths
// relative to C:\: a folder and all below it, or a file), and each place is reached.
void ExpectAddedOnlyTo(const std::vector<std::string>& before,
                       const std::vector<std::string>& places);
// A path of drive C: relative to C:\\ (other paths unchanged).
std::string BelowDriveC(const std::string& path);
// A place of ExpectAddedOnlyTo: the Start-menu folder of a group.
std::string ProgramsPlace(const std::string& group);
// The plug-in tree of the CD in a browser's plug-in folder, every file writable.
void ExpectPlugins(const std::string& pluginFolder);
// The viewer control registered from that plug-in folder.
void ExpectViewerRegisteredFrom(const std::string& pluginFolder);
// The viewer's settings file copied into Windows' folder, writable.
void ExpectViewerSettings();
// Names in `after` that `before` lacks, sorted (the launch log does not count).
std::vector<std::string> Added(const std::vector<std::string>& before,
                               const std::vector<std::string>& after);
// "SOFTWARE\" [+ "Corvane\"] + group + "\" + name.
std::string ApplicationKey(bool publisher, const std::string& group, const std::string& name);
// The application key (see ApplicationKey) holds the names and "Browser" = browser
// (none when browser is empty).
void ExpectApplicationKey(bool publisher, const std::string& browser,
                          const std::string& group = CdSetting("ApplicationGroup"),
                          const std::string& name = CdSetting("ApplicationName"));
// Programs\group\name.lnk starting appTarget and "Uninstall name.lnk" starting the
// uninstaller of destDir, with their descriptions and icons.
void ExpectStartMenuLinks(const std::string& group, const std::string& name,
                          const std::string& destDir, const std::string& appTarget);
// Closes the folder window Wine opens for a new Program Manager group.
void CloseGroupWindow(const std::string& group);

} // namespace scenario
