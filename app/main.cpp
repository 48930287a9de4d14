// Entry point: the framework drives the one CSearchApp object.
#include <windows.h>

#include "framework/winapp.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE previous, LPSTR cmdLine, int cmdShow) {
    return AfxWinMain(instance, previous, cmdLine, cmdShow);
}
