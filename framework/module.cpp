#include "framework/module.h"

namespace {
// One program, one user-interface thread: plain globals serve as the module state.
HINSTANCE g_instance = NULL;
HINSTANCE g_resources = NULL;
} // namespace

HINSTANCE AfxGetInstanceHandle() {
    return g_instance;
}

void AfxSetInstanceHandle(HINSTANCE instance) {
    g_instance = instance;
}

// Before start-up has chosen a resource module, the executable's own resources apply.
HINSTANCE AfxGetResourceHandle() {
    return g_resources != NULL ? g_resources : g_instance;
}

void AfxSetResourceHandle(HINSTANCE resources) {
    g_resources = resources;
}
