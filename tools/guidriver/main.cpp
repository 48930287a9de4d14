// Command-line front end of the GUI driver, for the demo and for trying things by hand
// under the rig's Wine prefix and display.
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "integration/shortcut_rules.h"
#include "tools/guidriver/child_process.h"
#include "tools/guidriver/gui_driver.h"
#include "tools/guidriver/machine_state.h"
#include "tools/guidriver/process_list.h"
#include "tools/guidriver/setup_dialogs.h"
#include "tools/guidriver/start_watch.h"
#include "tools/guidriver/window_capture.h"

namespace {

const char kUsage[] =
    "usage: guidriver COMMAND ...\n"
    "  list                          visible top-level windows\n"
    "  wait TITLE [MS]               wait for a window whose title contains TITLE\n"
    "                                (TITLE may name one of the setup's windows\n"
    "                                instead, in any language: @destination,\n"
    "                                @agreement, @browser, @message)\n"
    "  show TITLE [MS]               wait, then print its message or controls\n"
    "  gone TITLE [MS]               wait until no window's title contains TITLE\n"
    "  set TITLE ID TEXT             type TEXT into edit field ID\n"
    "  check TITLE ID 0|1            clear or tick check box (or select radio) ID\n"
    "  click TITLE ID                press button ID (1 OK, 2 Cancel, 6 Yes, 7 No)\n"
    "                                (ID: a number, or a name of resources/resource.h\n"
    "                                such as IDC_DEST_PATH, or IDOK, IDCANCEL, IDYES,\n"
    "                                IDNO)\n"
    "  answer TITLE ID [MS]          wait, print what it shows, press button ID\n"
    "  run DIR MS COMMAND [TITLE=ID...]\n"
    "                                start COMMAND in DIR, describe each window it shows\n"
    "                                and press button ID of the first reply whose TITLE\n"
    "                                is in the window's title (* any) and whose button\n"
    "                                the window has; wait for its end\n"
    "                                (ended at MS); a reply may first set controls:\n"
    "                                TITLE=set ID TEXT;check ID 0|1;row N|last;...;ID\n"
    "                                (row: the browser dialog's Nth or last row shown;\n"
    "                                a reply that cannot be given ends the program)\n"
    "                                (ID \"default\": the window's default button, as\n"
    "                                a user who accepts what is offered presses it)\n"
    "  try DIR MS COMMAND PICTURES [TITLE=ID...]\n"
    "                                as run, and saves a picture of each window in the\n"
    "                                folder PICTURES (NN.bmp), lists the processes the\n"
    "                                run started and, after its end, waits (10 s at most)\n"
    "                                until the search program it starts was seen\n"
    "  processes                     running processes: id, parent, program file\n"
    "  end ID...                     end these processes\n"
    "  launches COUNT [MS]           wait until the search program was started COUNT times,\n"
    "                                print every recorded start\n"
    "  programs                      print the Start menu's Programs folder\n"
    "  link LINK TARGET WORKDIR      create the shell link LINK to TARGET\n"
    "Exit status 0 on success, 1 when the window is not found in time (try: when the\n"
    "program was not seen), 2 on a failed action, 64 on a usage error.\n";

DWORD TimeoutArg(int argc, char** argv, int index) {
    return argc > index ? static_cast<DWORD>(std::strtoul(argv[index], nullptr, 10))
                        : guidriver::kDefaultTimeoutMs;
}

HWND Wait(const char* title, DWORD timeoutMs) {
    HWND hwnd = guidriver::setup::WaitForMatching(title, timeoutMs);
    if (!hwnd && guidriver::setup::Named(title) != guidriver::setup::Kind::Other)
        std::printf("no window %s after %lu ms\n", title, static_cast<unsigned long>(timeoutMs));
    else if (!hwnd)
        std::printf("no window with \"%s\" in its title after %lu ms\n", title,
                    static_cast<unsigned long>(timeoutMs));
    return hwnd;
}

int Report(bool ok, const char* action) {
    std::printf("%s: %s\n", action, ok ? "done" : "FAILED");
    return ok ? 0 : 2;
}

int List() {
    guidriver::WindowQuery any;
    for (HWND hwnd : guidriver::FindWindows(any)) {
        guidriver::WindowInfo info;
        info.hwnd = hwnd;
        GetWindowThreadProcessId(hwnd, &info.processId);
        info.title = guidriver::WindowText(hwnd);
        info.className = guidriver::ClassName(hwnd);
        info.visible = true;
        std::fputs(guidriver::Format(info).c_str(), stdout);
    }
    return 0;
}

int Gone(const char* title, DWORD timeoutMs) {
    HWND hwnd = guidriver::setup::WaitForMatching(title, 0);
    if (hwnd && !guidriver::WaitForWindowGone(hwnd, timeoutMs)) {
        std::printf("window \"%s\" still open after %lu ms\n", title,
                    static_cast<unsigned long>(timeoutMs));
        return 1;
    }
    return 0;
}

// A reply to a window of the started program, for a window whose title contains
// `titlePart` or which is the setup's window it names ("@destination"; "*" matches any
// window): first the control actions, in order, then a press of button `id`. Written
// TITLE=ID, or TITLE=ACTION;...;ID with the actions "set ID TEXT" (type TEXT into edit
// field ID), "check ID 0|1" and "row N|last" (choose the browser dialog's Nth or last row
// among those it shows); an ID is a number or a name (guidriver::setup::ControlId).
struct ControlAction {
    enum Kind { Set, Check, Row } kind = Set;
    int controlId = 0;
    std::string text; // the text to type, "0"/"1", or the row: a number or "last"
};

struct Reply {
    std::string titlePart;
    std::vector<ControlAction> actions;
    int id = 0; // kDefaultButton: the window's default button
};

constexpr int kDefaultButton = -1;

bool ParseAction(const std::string& text, ControlAction* action) {
    if (text.rfind("row ", 0) == 0) {
        action->kind = ControlAction::Row;
        action->text = text.substr(4);
        return action->text == "last" || std::atoi(action->text.c_str()) > 0;
    }
    const bool isSet = text.rfind("set ", 0) == 0;
    if (!isSet && text.rfind("check ", 0) != 0)
        return false;
    std::string rest = text.substr(isSet ? 4 : 6);
    size_t blank = rest.find(' ');
    if (blank == std::string::npos)
        return false;
    action->kind = isSet ? ControlAction::Set : ControlAction::Check;
    action->controlId = guidriver::setup::ControlId(rest.substr(0, blank));
    action->text = rest.substr(blank + 1);
    return action->controlId != 0;
}

// The radio button of the browser dialog's row `row` (1-based, or "last") among the rows
// it shows; 0 when it shows fewer.
int BrowserRowId(HWND hwnd, const std::string& row) {
    std::vector<int> shown;
    for (int id = IDC_BROWSER_RADIO_FIRST; id <= IDC_BROWSER_RADIO_LAST; ++id) {
        HWND control = GetDlgItem(hwnd, id);
        if (control && IsWindowVisible(control))
            shown.push_back(id);
    }
    std::size_t index = row == "last" ? shown.size() : std::strtoul(row.c_str(), nullptr, 10);
    return index >= 1 && index <= shown.size() ? shown[index - 1] : 0;
}

bool ParseReply(const char* text, Reply* reply) {
    const char* equals = std::strchr(text, '=');
    if (!equals || equals[1] == '\0')
        return false;
    reply->titlePart.assign(text, equals - text);
    std::string rest = equals + 1;
    size_t semicolon;
    while ((semicolon = rest.find(';')) != std::string::npos) {
        ControlAction action;
        if (!ParseAction(rest.substr(0, semicolon), &action))
            return false;
        reply->actions.push_back(action);
        rest.erase(0, semicolon + 1);
    }
    reply->id = rest == "default" ? kDefaultButton : guidriver::setup::ControlId(rest);
    return reply->id != 0;
}

bool Perform(HWND hwnd, const ControlAction& action) {
    if (action.kind == ControlAction::Row) {
        const int id = BrowserRowId(hwnd, action.text);
        const bool ok = id != 0 && guidriver::SetCheck(hwnd, id, true);
        std::printf("  chose row %s (control %d)%s\n", action.text.c_str(), id,
                    ok ? "" : " (FAILED: the window shows no such row)");
        return ok;
    }
    const bool isCheck = action.kind == ControlAction::Check;
    bool ok = isCheck ? guidriver::SetCheck(hwnd, action.controlId, action.text == "1")
                      : guidriver::SetEditText(hwnd, action.controlId, action.text);
    std::printf("  %s control %d: %s%s\n", isCheck ? "set check box" : "typed into",
                action.controlId, action.text.c_str(), ok ? "" : " (FAILED)");
    return ok;
}

// The button that Enter presses: a dialog's default push button, a message box's default
// answer; 0 when the window has none.
int DefaultButton(HWND hwnd) {
    DWORD_PTR result = 0;
    if (!SendMessageTimeoutA(hwnd, DM_GETDEFID, 0, 0, SMTO_ABORTIFHUNG, 5000, &result) ||
        HIWORD(result) != DC_HASDEFID)
        return 0;
    return LOWORD(result);
}

// What `try` adds to `run`: pictures of the windows and the processes the run started.
struct TryOptions {
    bool enabled = false;
    std::string pictureFolder;
    std::string program = shortcuts::kSearchProgram;
};

void SavePicture(HWND hwnd, const TryOptions& options, int number) {
    char name[16];
    std::snprintf(name, sizeof name, "%02d.bmp", number);
    const std::string path = options.pictureFolder + "\\" + name;
    if (guidriver::SaveWindowPicture(hwnd, path))
        std::printf("  picture %s\n", name);
    else
        std::printf("  picture %s could not be taken\n", name);
}

void ReportStarted(const std::vector<guidriver::ProcessInfo>& started) {
    for (const guidriver::ProcessInfo& info : started)
        std::printf("process started: %lu %s (by %lu)\n", static_cast<unsigned long>(info.id),
                    info.path.empty() ? "(ended before its name could be read)" : info.path.c_str(),
                    static_cast<unsigned long>(info.parentId));
}

bool SeenProgram(const guidriver::StartWatch& watch, const std::string& program) {
    for (const guidriver::ProcessInfo& info : watch.Started()) {
        if (guidriver::SameName(info.name, program))
            return true;
    }
    return false;
}

// After the run's end: waits for the program it started, and tells whether it still runs.
// The setup starts it before it ends, so a program not seen soon after was not started.
int ReportProgram(guidriver::StartWatch& watch, const TryOptions& options) {
    constexpr DWORD timeoutMs = 10000;
    DWORD start = GetTickCount();
    while (!SeenProgram(watch, options.program) && GetTickCount() - start < timeoutMs)
        ReportStarted(watch.Take(100));
    for (const guidriver::ProcessInfo& info : watch.Started()) {
        if (!guidriver::SameName(info.name, options.program))
            continue;
        std::printf("program %lu %s: %s\n", static_cast<unsigned long>(info.id), info.path.c_str(),
                    guidriver::ProcessWatch::IsRunning(info.id) ? "running" : "ended");
        return 0;
    }
    std::printf("program %s: not started\n", options.program.c_str());
    return 1;
}

// The first reply whose TITLE matches the window ("*": any) and whose button the window
// has; `id` receives that button. NULL when no reply fits.
const Reply* ReplyFor(const std::vector<Reply>& replies, HWND hwnd, int* id) {
    for (const Reply& reply : replies) {
        if (reply.titlePart != "*" && !guidriver::setup::Matches(hwnd, reply.titlePart))
            continue;
        *id = reply.id == kDefaultButton ? DefaultButton(hwnd) : reply.id;
        if (*id != 0 && GetDlgItem(hwnd, *id))
            return &reply;
    }
    return nullptr;
}

// Starts the program and reports each window it shows, as a user would see it, pressing
// the button of the first matching reply; windows without a reply wait for the user.
int Run(const char* dir, DWORD timeoutMs, const char* commandLine,
        const std::vector<Reply>& replies, const TryOptions& options = TryOptions()) {
    guidriver::StartWatch watch;
    int pictures = 0;
    guidriver::ChildProcess process;
    if (options.enabled ? !watch.Start(commandLine, dir, &process)
                        : !process.Start(commandLine, dir)) {
        std::printf("cannot start %s (error %lu)\n", commandLine,
                    static_cast<unsigned long>(process.StartError()));
        return 2;
    }
    guidriver::WindowQuery query;
    query.processId = process.Id();
    std::vector<HWND> seen;
    DWORD start = GetTickCount();
    while (process.Running() && GetTickCount() - start < timeoutMs) {
        if (options.enabled)
            ReportStarted(watch.Take(0));
        for (HWND hwnd : guidriver::FindWindows(query)) {
            if (std::find(seen.begin(), seen.end(), hwnd) != seen.end())
                continue;
            seen.push_back(hwnd);
            guidriver::WindowInfo info = guidriver::Describe(hwnd);
            if (!IsWindow(hwnd))
                continue; // closed while it was read: nothing a user could have seen
            std::fputs(guidriver::Format(info).c_str(), stdout);
            if (options.enabled && info.visible)
                SavePicture(hwnd, options, ++pictures);
            // A window no reply fits (the untitled copy notice has no button) is only shown.
            int id = 0;
            if (const Reply* reply = ReplyFor(replies, hwnd, &id)) {
                bool given = true;
                for (const ControlAction& action : reply->actions)
                    given = given && Perform(hwnd, action);
                if (!given) {
                    // Pressing on with half an answer would ask what the caller never meant.
                    std::printf("  the reply could not be given: the program is ended\n");
                    process.Kill();
                    break;
                }
                bool pressed = guidriver::ClickButton(hwnd, id);
                std::printf("  pressed button %d%s\n", id, pressed ? "" : " (FAILED)");
            }
        }
        process.WaitForExit(options.enabled ? 10 : 20);
    }
    if (seen.empty())
        std::printf("it showed no window\n");
    DWORD exitCode = 0;
    if (!process.WaitForExit(0, &exitCode)) {
        std::printf("it did not end within %lu ms and was ended\n",
                    static_cast<unsigned long>(timeoutMs));
        return 1;
    }
    std::printf("it ended with exit code %lu\n", static_cast<unsigned long>(exitCode));
    return options.enabled ? ReportProgram(watch, options) : 0;
}

int Processes() {
    for (const guidriver::ProcessInfo& info : guidriver::RunningProcesses())
        std::printf("%lu %lu %s\n", static_cast<unsigned long>(info.id),
                    static_cast<unsigned long>(info.parentId), info.path.c_str());
    return 0;
}

int End(int count, char** ids) {
    bool ok = true;
    for (int i = 0; i < count; ++i) {
        const DWORD id = static_cast<DWORD>(std::strtoul(ids[i], nullptr, 10));
        if (!guidriver::ProcessWatch::IsRunning(id)) {
            std::printf("process %lu: had ended by itself\n", static_cast<unsigned long>(id));
            continue;
        }
        const bool ended = guidriver::EndProcess(id);
        std::printf("process %lu: %s\n", static_cast<unsigned long>(id),
                    ended ? "ended" : "could not be ended");
        ok = ok && ended;
    }
    return ok ? 0 : 2;
}

bool ParseReplies(int argc, char** argv, int first, std::vector<Reply>* replies) {
    for (int i = first; i < argc; ++i) {
        Reply reply;
        if (!ParseReply(argv[i], &reply))
            return false;
        replies->push_back(reply);
    }
    return true;
}

int Launches(size_t count, DWORD timeoutMs) {
    std::vector<guidriver::LaunchRecord> launches = guidriver::WaitForLaunches(count, timeoutMs);
    for (const guidriver::LaunchRecord& launch : launches)
        std::printf("%s started: command line %s, in %s\n", shortcuts::kSearchProgram,
                    launch.commandLine.c_str(), launch.currentDirectory.c_str());
    if (launches.empty())
        std::printf("%s was not started\n", shortcuts::kSearchProgram);
    return launches.size() >= count ? 0 : 1;
}

int Link(const char* linkPath, const char* target, const char* workDir) {
    std::string path = linkPath;
    size_t slash = path.find_last_of('\\');
    guidriver::ShellLink link;
    link.target = target;
    link.workingDirectory = workDir;
    bool ok = (slash == std::string::npos || guidriver::MakeDirectories(path.substr(0, slash))) &&
              guidriver::CreateShellLink(path, link);
    return Report(ok, "link");
}

} // namespace

int main(int argc, char** argv) {
    std::string command = argc > 1 ? argv[1] : "";
    if (command == "list" && argc == 2)
        return List();
    if (command == "programs" && argc == 2) {
        std::printf("%s\n", guidriver::ProgramsFolder().c_str());
        return 0;
    }
    if (command == "launches" && argc >= 3)
        return Launches(std::strtoul(argv[2], nullptr, 10), TimeoutArg(argc, argv, 3));
    std::vector<Reply> replies;
    if (command == "run" && argc >= 5 && ParseReplies(argc, argv, 5, &replies))
        return Run(argv[2], TimeoutArg(argc, argv, 3), argv[4], replies);
    if (command == "try" && argc >= 6 && ParseReplies(argc, argv, 6, &replies)) {
        TryOptions options;
        options.enabled = true;
        options.pictureFolder = argv[5];
        return Run(argv[2], TimeoutArg(argc, argv, 3), argv[4], replies, options);
    }
    if (command == "processes" && argc == 2)
        return Processes();
    if (command == "end" && argc >= 3)
        return End(argc - 2, argv + 2);
    if (command == "link" && argc == 5)
        return Link(argv[2], argv[3], argv[4]);
    if (command == "gone" && argc >= 3)
        return Gone(argv[2], TimeoutArg(argc, argv, 3));
    if ((command == "wait" || command == "show") && argc >= 3) {
        HWND hwnd = Wait(argv[2], TimeoutArg(argc, argv, 3));
        if (!hwnd)
            return 1;
        if (command == "show")
            std::fputs(guidriver::Format(guidriver::Describe(hwnd)).c_str(), stdout);
        return 0;
    }
    if (command == "answer" && argc >= 4) {
        HWND hwnd = Wait(argv[2], TimeoutArg(argc, argv, 4));
        if (!hwnd)
            return 1;
        std::fputs(guidriver::Format(guidriver::Describe(hwnd)).c_str(), stdout);
        return Report(guidriver::ClickButton(hwnd, guidriver::setup::ControlId(argv[3])), "press");
    }
    if (command == "set" && argc == 5) {
        HWND hwnd = Wait(argv[2], guidriver::kDefaultTimeoutMs);
        return hwnd ? Report(guidriver::SetEditText(hwnd, guidriver::setup::ControlId(argv[3]),
                                                    argv[4]),
                             "set")
                    : 1;
    }
    if (command == "check" && argc == 5) {
        HWND hwnd = Wait(argv[2], guidriver::kDefaultTimeoutMs);
        return hwnd ? Report(guidriver::SetCheck(hwnd, guidriver::setup::ControlId(argv[3]),
                                                 std::atoi(argv[4]) != 0),
                             "check")
                    : 1;
    }
    if (command == "click" && argc == 4) {
        HWND hwnd = Wait(argv[2], guidriver::kDefaultTimeoutMs);
        return hwnd ? Report(guidriver::ClickButton(hwnd, guidriver::setup::ControlId(argv[3])),
                             "click")
                    : 1;
    }
    std::fputs(kUsage, stderr);
    return 64;
}
