/* The stack canary of -fstack-protector, linked into every shipped program file.
 *
 * GCC's libssp seeds the canary with CryptGenRandom, which loads bcrypt, crypt32 and
 * rsaenh at every start of every program, before its first window. The canary only has to
 * be unknown to whoever overruns a buffer, so it is seeded as Visual C++'s run-time seeds
 * its /GS cookie: from the system time, the process and thread ids, the tick count and the
 * performance counter, mixed with a stack address. Defining the three symbols of libssp's
 * ssp.o here keeps that object out of the link; libssp still brings the bounds-checked
 * copies of _FORTIFY_SOURCE, which call __chk_fail below. */
#include <windows.h>

#include <stdint.h>

uintptr_t __stack_chk_guard;

/* A broken canary or a fortified copy past its buffer: the stack cannot be trusted, so
 * nothing more of the program runs (no exit handlers, no message); the process ends with
 * the status Windows reports for a broken /GS cookie. */
__attribute__((noreturn, no_stack_protector)) static void EndOverrunProcess(void) {
    for (;;)
        TerminateProcess(GetCurrentProcess(), STATUS_STACK_BUFFER_OVERRUN);
}

__attribute__((noreturn, no_stack_protector)) void __stack_chk_fail(void) {
    EndOverrunProcess();
}

__attribute__((noreturn, no_stack_protector)) void __chk_fail(void) {
    EndOverrunProcess();
}

/* Before every other constructor, so that the program's static initialisers already run
 * under the final canary. Unprotected itself: it would check its own frame against the
 * canary it has just changed. */
__attribute__((constructor(101), no_stack_protector)) static void SeedStackGuard(void) {
    FILETIME now;
    LARGE_INTEGER counter;
    counter.QuadPart = 0; /* left as it is where the machine has no such counter */
    GetSystemTimeAsFileTime(&now);
    QueryPerformanceCounter(&counter);
    uint64_t seed = (uint64_t)now.dwHighDateTime << 32 | now.dwLowDateTime;
    seed ^= (uint64_t)GetCurrentProcessId() << 32 ^ GetCurrentThreadId();
    seed ^= (uint64_t)GetTickCount() << 16;
    seed ^= (uint64_t)counter.QuadPart << 24 ^ (uint64_t)counter.QuadPart;
    seed ^= (uintptr_t)&now;
    uintptr_t guard = sizeof(uintptr_t) < 8 ? (uintptr_t)(seed ^ seed >> 32) : (uintptr_t)seed;
    /* 0 is the value before seeding, and the first value anyone would try. */
    __stack_chk_guard = guard != 0 ? guard : (uintptr_t)0x2B992DDFA232ull;
}
