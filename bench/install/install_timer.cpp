// Times whole installations under Wine for dev/bench-install.sh, from inside the Wine
// session, so no figure carries the start of a `wine` launcher:
//   install_timer install DEST [PLATFORM_BOX]
//       starts D:\_red40\bin\setup.exe there, answers the destination dialog with DEST
//       (ticking the platform box, if given: IDC_SOLARIS or another name of
//       resources/resource.h) and stops the clock when search.exe records its start in
//       the launch log
//   install_timer first-dialog COUNT DIR TITLE COMMAND_LINE
//       starts COMMAND_LINE in DIR COUNT times; each time the clock stops when a visible
//       window of the process has TITLE in its title (or is the setup's window TITLE
//       names, such as @destination), which is then answered with Cancel
//   install_timer run COMMAND...
//       another program, started and waited for (a copy tool)
// Prints "seconds <elapsed>" lines; exit code 0 only when every run went as planned.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "product/search/launch_log.h"
#include "tools/guidriver/child_process.h"
#include "tools/guidriver/gui_driver.h"
#include "tools/guidriver/setup_dialogs.h"

namespace {

constexpr DWORD kLimitMs = 600000;

class Clock {
public:
    Clock() {
        ::QueryPerformanceFrequency(&m_frequency);
        ::QueryPerformanceCounter(&m_start);
    }
    double Seconds() const {
        LARGE_INTEGER now;
        ::QueryPerformanceCounter(&now);
        return static_cast<double>(now.QuadPart - m_start.QuadPart) /
               static_cast<double>(m_frequency.QuadPart);
    }

private:
    LARGE_INTEGER m_frequency;
    LARGE_INTEGER m_start;
};

std::string JoinArgs(int argc, char** argv, int first) {
    std::string line;
    for (int i = first; i < argc; ++i) {
        if (!line.empty())
            line += ' ';
        line += argv[i];
    }
    return line;
}

// A visible window of the process that guidriver::setup::Matches titleOrName, polled
// every millisecond: the driver's own poll interval would blur a 0.2 s figure.
HWND WaitForProcessWindow(const guidriver::ChildProcess& process, const char* titleOrName,
                          DWORD limitMs) {
    guidriver::WindowQuery query;
    query.processId = process.Id();
    DWORD start = ::GetTickCount();
    while (::GetTickCount() - start < limitMs) {
        for (HWND hwnd : guidriver::FindWindows(query)) {
            if (guidriver::setup::Matches(hwnd, titleOrName))
                return hwnd;
        }
        if (!process.Running())
            return nullptr;
        ::Sleep(1);
    }
    return nullptr;
}

bool LaunchLogged() {
    return ::GetFileAttributesA(launch_log::kPath) != INVALID_FILE_ATTRIBUTES;
}

int Install(const char* destination, int platformBox) {
    ::DeleteFileA(launch_log::kPath);
    Clock clock;
    guidriver::ChildProcess setup;
    if (!setup.Start("D:\\_red40\\bin\\setup.exe", "D:\\_red40\\bin")) {
        std::printf("cannot start the setup (error %lu)\n",
                    static_cast<unsigned long>(setup.StartError()));
        return 2;
    }
    HWND dialog = WaitForProcessWindow(setup, "@destination", 60000);
    if (dialog == nullptr) {
        std::printf("the destination dialog did not come\n");
        return 1;
    }
    double asked = clock.Seconds();
    if (!guidriver::SetEditText(dialog, IDC_DEST_PATH, destination) ||
        (platformBox != 0 && !guidriver::SetCheck(dialog, platformBox, true)) ||
        !guidriver::ClickButton(dialog, IDOK)) {
        std::printf("the destination dialog did not take the answer\n");
        return 2;
    }
    double answered = clock.Seconds();
    // A message box now would tell of a failure; the copy notice has a text like one,
    // but no button. Looking at the windows takes the Wine server dozens of requests,
    // which the setup's file copies wait behind, so that poll is coarse; the launch log
    // is a cheap file test, made often.
    guidriver::WindowQuery others;
    others.processId = setup.Id();
    for (int poll = 0; !LaunchLogged(); ++poll) {
        if (poll % 50 != 49) {
            ::Sleep(10);
            continue;
        }
        for (HWND hwnd : guidriver::FindWindows(others)) {
            // The answered dialog itself may not have closed yet.
            if (hwnd != dialog && guidriver::IsMessageBox(hwnd) &&
                ::GetDlgItem(hwnd, IDOK) != nullptr) {
                std::printf("the setup showed a message: %s\n",
                            guidriver::MessageBoxText(hwnd).c_str());
                return 1;
            }
        }
        if (clock.Seconds() * 1000 > kLimitMs) {
            std::printf("search.exe was not started in time\n");
            return 1;
        }
    }
    double launched = clock.Seconds();
    setup.WaitForExit(30000);
    std::printf("first dialog %.3f\nanswered %.3f\nseconds %.3f\n", asked, answered, launched);
    return 0;
}

int FirstDialog(int count, const char* dir, const char* title, const std::string& commandLine) {
    std::vector<double> times;
    for (int i = 0; i < count; ++i) {
        Clock clock;
        guidriver::ChildProcess process;
        if (!process.Start(commandLine, dir)) {
            std::printf("cannot start %s\n", commandLine.c_str());
            return 2;
        }
        HWND hwnd = WaitForProcessWindow(process, title, 30000);
        if (hwnd == nullptr) {
            std::printf("no window \"%s\" from %s\n", title, commandLine.c_str());
            return 1;
        }
        times.push_back(clock.Seconds());
        guidriver::ClickButton(hwnd, IDCANCEL);
        if (!process.WaitForExit(30000)) {
            std::printf("%s did not end after Cancel\n", commandLine.c_str());
            return 1;
        }
    }
    for (double t : times)
        std::printf("start %.3f\n", t);
    std::sort(times.begin(), times.end());
    std::printf("seconds %.3f\n", times[times.size() / 2]);
    return 0;
}

// Process start-up is part of what a copy tool costs, so it stays inside the timing.
int Run(const std::string& commandLine) {
    Clock clock;
    guidriver::ChildProcess process;
    DWORD exitCode = 1;
    if (!process.Start(commandLine, "") || !process.WaitForExit(kLimitMs, &exitCode)) {
        std::printf("%s did not run to its end\n", commandLine.c_str());
        return 2;
    }
    std::printf("seconds %.3f\nexit code %lu\n", clock.Seconds(),
                static_cast<unsigned long>(exitCode));
    return exitCode == 0 ? 0 : 1;
}

} // namespace

int main(int argc, char** argv) {
    std::string command = argc > 1 ? argv[1] : "";
    if (command == "install" && (argc == 3 || argc == 4))
        return Install(argv[2], argc == 4 ? guidriver::setup::ControlId(argv[3]) : 0);
    if (command == "first-dialog" && argc == 6)
        return FirstDialog(std::max(1, std::atoi(argv[2])), argv[3], argv[4], argv[5]);
    if (command == "run" && argc >= 3)
        return Run(JoinArgs(argc, argv, 2));
    std::fprintf(stderr, "usage: install_timer install DEST [PLATFORM_BOX]\n"
                         "       install_timer first-dialog COUNT DIR TITLE COMMAND_LINE\n"
                         "       install_timer run COMMAND...\n");
    return 64;
}
