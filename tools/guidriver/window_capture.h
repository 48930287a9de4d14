// Pictures of another process's windows as they are on the screen, for reports that
// show what a user saw.
#pragma once

#include <windows.h>

#include <string>

namespace guidriver {

// Waits until the window has painted itself (its thread has taken our messages and two
// pictures in a row agree, at most `timeoutMs`), then saves what the screen shows of the
// window, frame included, as a 24-bit BMP file. False when the window is gone or the
// file cannot be written.
bool SaveWindowPicture(HWND hwnd, const std::string& bmpPath, DWORD timeoutMs = 2000);

} // namespace guidriver
