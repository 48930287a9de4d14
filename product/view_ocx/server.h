// State of the in-process server shared by its entry points and its objects: the
// module's own handle, and the counts that decide whether COM may unload it.
#pragma once

#include <windows.h>

namespace viewer {

HMODULE ModuleHandle();

// Live objects and class-factory locks; the module stays loaded while either is nonzero.
void AddServerReference();
void ReleaseServerReference();
bool ServerInUse();

} // namespace viewer
