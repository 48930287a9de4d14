// The module whose resources the program uses. It starts as the executable itself; a
// translated resource library can take its place, after which every dialog template,
// menu, icon and string comes from that library.
#pragma once

#include <windows.h>

HINSTANCE AfxGetInstanceHandle();
void AfxSetInstanceHandle(HINSTANCE instance);
HINSTANCE AfxGetResourceHandle();
void AfxSetResourceHandle(HINSTANCE resources);
