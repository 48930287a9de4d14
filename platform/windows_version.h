// What the operating system reports about itself, asked in one place: the engine, the
// registry access and the DDE client all decide "Win32s or not" with the same answer.
#pragma once

#include <windows.h>

namespace windows_version {

// The platform identifier of GetVersionExA (0 is Win32s). When the call fails the answer
// is a registry platform (Windows NT): only a positive Win32s answer changes anything.
DWORD PlatformId();
bool IsWin32s();
// The major version number; 0 when the call fails.
DWORD MajorVersion();

} // namespace windows_version
