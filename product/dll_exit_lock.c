/* The C runtime lock that the MinGW-w64 start-up code of a DLL takes around its list of
 * exit functions (atexit, static destructors). The C runtime the DLLs import (crtdll.dll
 * on i686, msvcrt.dll on x86_64) is not known to export _lock and _unlock on the oldest
 * Windows the DLLs start on (the import audit in tools/cdcheck refuses them), so each DLL
 * brings its own: one lock for every lock number. */
#include <windows.h>

static CRITICAL_SECTION exit_lock;
static LONG exit_lock_ready; /* 0 none, 1 being made, 2 made */

void __cdecl _lock(int number) {
    (void)number;
    if (InterlockedCompareExchange(&exit_lock_ready, 1, 0) == 0) {
        InitializeCriticalSection(&exit_lock);
        InterlockedExchange(&exit_lock_ready, 2);
    }
    while (exit_lock_ready != 2)
        Sleep(0);
    EnterCriticalSection(&exit_lock);
}

void __cdecl _unlock(int number) {
    (void)number;
    LeaveCriticalSection(&exit_lock);
}
