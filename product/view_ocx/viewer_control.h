// The viewer control object and its class factory. The control itself has no interface
// beyond IUnknown yet: the browser only needs to be able to create it.
#pragma once

#include <windows.h>

#include <objbase.h>

namespace viewer {

class ViewerControl : public IUnknown {
public:
    ViewerControl();
    ViewerControl(const ViewerControl&) = delete;
    ViewerControl& operator=(const ViewerControl&) = delete;

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override;
    ULONG STDMETHODCALLTYPE AddRef() override;
    ULONG STDMETHODCALLTYPE Release() override;

private:
    virtual ~ViewerControl();
    LONG m_references;
};

class ViewerControlFactory : public IClassFactory {
public:
    ViewerControlFactory();
    ViewerControlFactory(const ViewerControlFactory&) = delete;
    ViewerControlFactory& operator=(const ViewerControlFactory&) = delete;

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override;
    ULONG STDMETHODCALLTYPE AddRef() override;
    ULONG STDMETHODCALLTYPE Release() override;
    HRESULT STDMETHODCALLTYPE CreateInstance(IUnknown* outer, REFIID iid, void** object) override;
    HRESULT STDMETHODCALLTYPE LockServer(BOOL lock) override;

private:
    virtual ~ViewerControlFactory();
    LONG m_references;
};

} // namespace viewer
