// The stack canary of the shipped files (platform/stack_guard.c): seeded at start, and an
// overrun of a stack buffer ends the process with STATUS_STACK_BUFFER_OVERRUN before the
// overrun function returns. The overrun runs in a second copy of this program.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <string>

extern "C" std::uintptr_t __stack_chk_guard;

namespace {

const char kOverrun[] = "--overrun";

// Fills an 8-byte stack buffer with `count` bytes, over its canary.
__attribute__((noinline)) void Overrun(std::size_t count) {
    char buffer[8];
    volatile char* write = buffer;
    for (std::size_t i = 0; i < count; ++i)
        write[i] = 'x';
}

TEST(StackGuard, IsSeededAndEndsAnOverrunProcess) {
    EXPECT_NE(__stack_chk_guard, 0u);

    char path[MAX_PATH];
    ASSERT_NE(0u, ::GetModuleFileNameA(NULL, path, MAX_PATH));
    std::string command = std::string("\"") + path + "\" " + kOverrun;
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION child = {};
    ASSERT_TRUE(::CreateProcessA(NULL, &command[0], NULL, NULL, FALSE, 0, NULL, NULL, &startup,
                                 &child));
    // A bound, not a speed goal: an undetected overrun could leave the copy hanging.
    if (::WaitForSingleObject(child.hProcess, 120000) != WAIT_OBJECT_0)
        ::TerminateProcess(child.hProcess, 1);
    DWORD code = 0;
    ::GetExitCodeProcess(child.hProcess, &code);
    ::CloseHandle(child.hThread);
    ::CloseHandle(child.hProcess);
    EXPECT_EQ(0xC0000409u, code);
}

} // namespace

int main(int argc, char** argv) {
    if (argc == 2 && std::strcmp(argv[1], kOverrun) == 0) {
        // No crash dialog if the overrun went unnoticed and the return jumped astray.
        ::SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOGPFAULTERRORBOX);
        volatile std::size_t count = 64;
        Overrun(count);
        return 0;
    }
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
