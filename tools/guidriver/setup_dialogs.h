// The setup's questions as a user meets them: their titles and controls, how to tell its
// message boxes from its dialogs, and a user who answers everything until the setup
// ends. For the scenarios and for tools that run the setup from a CD.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "tools/guidriver/child_process.h"
#include "tools/guidriver/gui_driver.h"

namespace guidriver {
namespace setup {

constexpr char kCdBin[] = "D:\\_red40\\bin"; // where a user starts the setup from the CD
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
// Texts of its messages (English resources), and the caption of every message box but
// the reinstall question's: the program's own title, whatever library its texts come from.
constexpr char kAppTitle[] = "Lumora Launcher";
constexpr char kReinstallQuestion[] = "A version of this application is found on your machine.  "
                                      "Would you like to reinstall the application? ";
constexpr int kReinstallQuestionId = 61226; // its string id, also in set32res.dll
constexpr char kInvalidDirectory[] = "Please enter a valid directory!!";
constexpr char kCouldNotCopy[] = "Could not copy ";

// Starts setup.exe of a folder in that folder, as a user starts it.
bool Start(ChildProcess& process, const std::string& folder = kCdBin);
// A message box of the process now (not one of the setup's dialogs), or NULL.
HWND FindMessageBox(DWORD processId);
// Waits for one; NULL when the time passes or the process ends first.
HWND WaitForMessageBox(const ChildProcess& process, DWORD timeoutMs);
// The labels of the browser dialog's visible rows, top to bottom.
std::vector<std::string> VisibleRows(HWND dialog);
// Answers whatever the setup asks until it ends: Yes to an agreement, Install once and
// then Exit to the destination, OK to the browser dialog (with a typed path when only
// "Other Browser" is offered) and to a message. `asked` gets the title or message of
// each, the agreement with "[no text]" or "[text]", the destination with the path it
// showed in []. `messageBoxes`, when given, gets each message box as it showed. False
// when the setup hangs.
bool AnswerUntilExit(ChildProcess& process, DWORD timeoutMs, std::vector<std::string>* asked,
                     std::vector<WindowInfo>* messageBoxes = nullptr);

} // namespace setup
} // namespace guidriver
