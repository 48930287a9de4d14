// Finding another instance's dialog among the desktop's top-level windows.
#pragma once

#include <windows.h>

// The first top-level window below the topmost one whose title contains `titlePart`
// (case-sensitive), or NULL. The topmost window itself is never examined.
HWND FindTopLevelWindowByTitle(const char* titlePart);
