// The setup's questions as a user meets them: which of its windows is which, told by the
// controls only that window has (resources/resource.h), so in whatever language its
// resources are; and a user who answers everything until the setup ends. For the
// scenarios and for tools that run the setup from a CD.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "resources/resource.h"
#include "setup/rules.h"
#include "tools/guidriver/child_process.h"
#include "tools/guidriver/gui_driver.h"

namespace guidriver {
namespace setup {

// Where a user starts the setup from the CD: its program folder on drive D:.
inline const std::string kCdBin = std::string("D:") + rules::kProgramFolder;

// The setup's windows that ask the user something. The copy notice, which asks nothing,
// is Other.
enum class Kind { Other, Destination, Agreement, BrowserSelection, Message };
Kind KindOf(HWND window);
// A kind as callers name it in place of a title: "@destination", "@agreement",
// "@browser", "@message"; Other for any other text.
Kind Named(const std::string& name);
// Whether the window is the one `titleOrName` means: a setup window of that kind when it
// names one, else a window whose title holds the text.
bool Matches(HWND window, const std::string& titleOrName);
// Waits for a visible matching window of any process (processId 0) or of one process;
// NULL when the time passes first.
HWND WaitForMatching(const std::string& titleOrName, DWORD timeoutMs, DWORD processId = 0);
// A control of the setup's dialogs by its name in resources/resource.h
// ("IDC_DEST_PATH"), a standard button by its Windows name ("IDOK", "IDCANCEL", "IDYES",
// "IDNO"), or any control by its number; 0 for anything else.
int ControlId(const std::string& nameOrNumber);

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
