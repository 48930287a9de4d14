// Runs the built tools from the unit tests, through the system's shell.
#pragma once

#include <gtest/gtest.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <string>

#if !defined(_WIN32)
#include <sys/wait.h>
#endif

#include "tests/unit/ini_test_files.h"

namespace ini_test {

// Runs a command line through the system's shell and returns the program's exit status.
// When the shell could not start the program at all (cmd.exe answers 9009, sh 127), the
// test fails with the shell's own reason, from the file the command's standard error went to.
// And when even the shell could not be started (under load, Wine has failed to start a
// process now and then), the test says so instead of reading the missing output.
inline int RunShell(const std::string& command, const std::string& errorFile) {
    errno = 0;
    int status = std::system(command.c_str());
    if (status == -1) {
        ADD_FAILURE() << "the shell could not be started for: " << command << ": "
                      << std::strerror(errno);
        return status;
    }
#if defined(_WIN32)
    const int notStarted = 9009;
#else
    status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    const int notStarted = 127;
#endif
    if (status == notStarted)
        ADD_FAILURE() << "the shell could not start the program of: " << command << "\n"
                      << ReadBytes(errorFile);
    return status;
}

} // namespace ini_test
