// The module's entry points: loading, the class object, and whether it may be unloaded.
#include <windows.h>

#include <objbase.h>

#include <new>

#include "product/view_ocx/server.h"
#include "product/view_ocx/viewer_control.h"
#include "product/view_ocx/viewer_ids.h"

namespace {
HMODULE g_module = nullptr;
LONG g_references = 0;
} // namespace

namespace viewer {

HMODULE ModuleHandle() {
    return g_module;
}

void AddServerReference() {
    InterlockedIncrement(&g_references);
}

void ReleaseServerReference() {
    InterlockedDecrement(&g_references);
}

bool ServerInUse() {
    return InterlockedCompareExchange(&g_references, 0, 0) != 0;
}

} // namespace viewer

extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID) {
    if (reason == DLL_PROCESS_ATTACH) {
        g_module = instance;
        DisableThreadLibraryCalls(instance);
    }
    return TRUE;
}

STDAPI DllGetClassObject(REFCLSID clsid, REFIID iid, LPVOID* object) {
    if (object == nullptr)
        return E_POINTER;
    *object = nullptr;
    if (!IsEqualCLSID(clsid, viewer::kClsid))
        return CLASS_E_CLASSNOTAVAILABLE;
    viewer::ViewerControlFactory* factory = new (std::nothrow) viewer::ViewerControlFactory();
    if (factory == nullptr)
        return E_OUTOFMEMORY;
    HRESULT result = factory->QueryInterface(iid, object);
    factory->Release();
    return result;
}

STDAPI DllCanUnloadNow() {
    return viewer::ServerInUse() ? S_FALSE : S_OK;
}
