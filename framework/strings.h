// String-table texts of the current resource module, printf-style formatting into a
// std::string, and message boxes without an owner window.
#pragma once

#include <windows.h>

#include <string>

// The text of string `id`, or an empty string when the module has none.
std::string LoadResString(UINT id);

// vsnprintf into a string of the exact length; never truncates, never overruns.
std::string FormatString(const char* format, ...);

// Message boxes owned by no window, captioned with the application's title.
int AfxMessageBox(const char* text, UINT type = MB_OK);
int AfxMessageBox(UINT textId, UINT type = MB_OK);
