#include "product/view_ocx/viewer_control.h"

#include <new>

#include "product/view_ocx/server.h"

namespace viewer {

// Objects count as server references for their whole life, so the module is not
// unloaded under them.
ViewerControl::ViewerControl() : m_references(1) {
    AddServerReference();
}

ViewerControl::~ViewerControl() {
    ReleaseServerReference();
}

HRESULT STDMETHODCALLTYPE ViewerControl::QueryInterface(REFIID iid, void** object) {
    if (object == nullptr)
        return E_POINTER;
    if (!IsEqualIID(iid, IID_IUnknown)) {
        *object = nullptr;
        return E_NOINTERFACE;
    }
    *object = static_cast<IUnknown*>(this);
    AddRef();
    return S_OK;
}

ULONG STDMETHODCALLTYPE ViewerControl::AddRef() {
    return static_cast<ULONG>(InterlockedIncrement(&m_references));
}

ULONG STDMETHODCALLTYPE ViewerControl::Release() {
    LONG left = InterlockedDecrement(&m_references);
    if (left == 0)
        delete this;
    return static_cast<ULONG>(left);
}

ViewerControlFactory::ViewerControlFactory() : m_references(1) {
    AddServerReference();
}

ViewerControlFactory::~ViewerControlFactory() {
    ReleaseServerReference();
}

HRESULT STDMETHODCALLTYPE ViewerControlFactory::QueryInterface(REFIID iid, void** object) {
    if (object == nullptr)
        return E_POINTER;
    if (!IsEqualIID(iid, IID_IUnknown) && !IsEqualIID(iid, IID_IClassFactory)) {
        *object = nullptr;
        return E_NOINTERFACE;
    }
    *object = static_cast<IClassFactory*>(this);
    AddRef();
    return S_OK;
}

ULONG STDMETHODCALLTYPE ViewerControlFactory::AddRef() {
    return static_cast<ULONG>(InterlockedIncrement(&m_references));
}

ULONG STDMETHODCALLTYPE ViewerControlFactory::Release() {
    LONG left = InterlockedDecrement(&m_references);
    if (left == 0)
        delete this;
    return static_cast<ULONG>(left);
}

HRESULT STDMETHODCALLTYPE ViewerControlFactory::CreateInstance(IUnknown* outer, REFIID iid,
                                                               void** object) {
    if (object == nullptr)
        return E_POINTER;
    *object = nullptr;
    if (outer != nullptr)
        return CLASS_E_NOAGGREGATION;
    ViewerControl* control = new (std::nothrow) ViewerControl();
    if (control == nullptr)
        return E_OUTOFMEMORY;
    HRESULT result = control->QueryInterface(iid, object);
    control->Release();
    return result;
}

HRESULT STDMETHODCALLTYPE ViewerControlFactory::LockServer(BOOL lock) {
    if (lock)
        AddServerReference();
    else
        ReleaseServerReference();
    return S_OK;
}

} // namespace viewer
