#include "platform/windows_version.h"

namespace windows_version {

namespace {

bool Query(OSVERSIONINFOA& version) {
    version = {};
    version.dwOSVersionInfoSize = sizeof version; // 148 bytes
    return ::GetVersionExA(&version) != FALSE;
}

} // namespace

DWORD PlatformId() {
    OSVERSIONINFOA version;
    return Query(version) ? version.dwPlatformId : VER_PLATFORM_WIN32_NT;
}

bool IsWin32s() {
    return PlatformId() == VER_PLATFORM_WIN32s;
}

DWORD MajorVersion() {
    OSVERSIONINFOA version;
    return Query(version) ? version.dwMajorVersion : 0;
}

} // namespace windows_version
