// Owners for the few kinds of handle the program holds longer than one call. Each one
// releases exactly once and can be emptied on purpose with reset().
#pragma once

#include <windows.h>
#include <objbase.h>

#include <utility>

// A kernel object handle. Both NULL and INVALID_HANDLE_VALUE count as empty, because
// CreateFile reports failure with the one and CreateFileMapping with the other.
class UniqueHandle {
public:
    UniqueHandle() = default;
    explicit UniqueHandle(HANDLE handle) : m_handle(handle) {}
    ~UniqueHandle() { reset(); }
    UniqueHandle(UniqueHandle&& other) noexcept : m_handle(other.release()) {}
    UniqueHandle& operator=(UniqueHandle&& other) noexcept {
        reset(other.release());
        return *this;
    }
    UniqueHandle(const UniqueHandle&) = delete;
    UniqueHandle& operator=(const UniqueHandle&) = delete;

    HANDLE get() const { return m_handle; }
    explicit operator bool() const { return m_handle != NULL && m_handle != INVALID_HANDLE_VALUE; }
    HANDLE release() { return std::exchange(m_handle, HANDLE(NULL)); }
    void reset(HANDLE handle = NULL) {
        if (*this)
            ::CloseHandle(m_handle);
        m_handle = handle;
    }

private:
    HANDLE m_handle = NULL;
};

// A COM interface pointer that calls Release once.
template <class T> class ComPtr {
public:
    ComPtr() = default;
    ~ComPtr() { reset(); }
    ComPtr(const ComPtr&) = delete;
    ComPtr& operator=(const ComPtr&) = delete;

    T* get() const { return m_ptr; }
    T* operator->() const { return m_ptr; }
    explicit operator bool() const { return m_ptr != nullptr; }
    // For the out-parameter of CoCreateInstance and QueryInterface.
    void** put() {
        reset();
        return reinterpret_cast<void**>(&m_ptr);
    }
    void reset() {
        if (m_ptr)
            m_ptr->Release();
        m_ptr = nullptr;
    }

private:
    T* m_ptr = nullptr;
};

// COM for the lifetime of one scope; uninitialised only if the initialisation counted.
class ScopedComInit {
public:
    ScopedComInit() : m_hr(::CoInitialize(NULL)) {}
    ~ScopedComInit() {
        if (SUCCEEDED(m_hr))
            ::CoUninitialize();
    }
    ScopedComInit(const ScopedComInit&) = delete;
    ScopedComInit& operator=(const ScopedComInit&) = delete;

private:
    HRESULT m_hr;
};
