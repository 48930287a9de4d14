// Stand-in for the product's search program: it has no window and no search server;
// it only records that it was started (see launch_log.h) and exits.
#include <windows.h>

#include <string>

#include "product/search/launch_log.h"

namespace {

// Another copy may be appending at the same moment (a test can start two), so a
// sharing violation is retried for a short while instead of losing the line.
HANDLE OpenLogForAppend() {
    for (int attempt = 0; attempt < 50; ++attempt) {
        HANDLE file = CreateFileA(launch_log::kPath, FILE_APPEND_DATA, FILE_SHARE_READ, nullptr,
                                  OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
        if (file != INVALID_HANDLE_VALUE || GetLastError() != ERROR_SHARING_VIOLATION)
            return file;
        Sleep(20);
    }
    return INVALID_HANDLE_VALUE;
}

std::string CurrentDirectory() {
    DWORD needed = GetCurrentDirectoryA(0, nullptr);
    std::string dir(needed, '\0');
    DWORD got = GetCurrentDirectoryA(needed, &dir[0]);
    dir.resize(got < needed ? got : 0);
    return dir;
}

} // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    std::string line = CurrentDirectory();
    line += launch_log::kSeparator;
    line += GetCommandLineA();
    line += "\r\n";

    HANDLE log = OpenLogForAppend();
    if (log == INVALID_HANDLE_VALUE)
        return 1;
    DWORD written = 0;
    BOOL ok = WriteFile(log, line.data(), static_cast<DWORD>(line.size()), &written, nullptr);
    CloseHandle(log);
    return ok && written == line.size() ? 0 : 1;
}
