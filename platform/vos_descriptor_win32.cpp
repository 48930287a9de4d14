#include "platform/vos_descriptor.h"

#include <windows.h>

namespace inifile {

namespace {

HANDLE AsHandle(VosDescriptor descriptor) {
    return reinterpret_cast<HANDLE>(descriptor);
}

} // namespace

VosDescriptor VosOpen(const char* name, VosOpenMode mode) {
    DWORD access = GENERIC_READ;
    DWORD disposition = OPEN_EXISTING;
    if (mode != VosOpenMode::ReadOnly) {
        access |= GENERIC_WRITE;
        disposition = OPEN_ALWAYS;
    }
    // Other programs may read or update the same settings file meanwhile, as with the
    // C runtime's open.
    HANDLE file = CreateFileA(name, access, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                              disposition, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return kNoDescriptor;
    // Truncating an opened file rather than CREATE_ALWAYS: the latter refuses hidden or
    // system files, and a rewrite in place must keep the file's attributes.
    if (mode == VosOpenMode::RewriteCreate && !SetEndOfFile(file)) {
        CloseHandle(file);
        return kNoDescriptor;
    }
    return reinterpret_cast<VosDescriptor>(file);
}

std::uint64_t VosSize(VosDescriptor descriptor) {
    // GetFileSizeEx came with Windows 2000; a low part of all ones is a size only when
    // no error is set.
    DWORD high = 0;
    SetLastError(NO_ERROR);
    DWORD low = GetFileSize(AsHandle(descriptor), &high);
    if (low == INVALID_FILE_SIZE && GetLastError() != NO_ERROR)
        return 0;
    return (static_cast<std::uint64_t>(high) << 32) | low;
}

std::ptrdiff_t VosRead(VosDescriptor descriptor, void* buffer, std::size_t size) {
    DWORD got = 0;
    DWORD chunk = size > 0x40000000u ? 0x40000000u : static_cast<DWORD>(size);
    if (!ReadFile(AsHandle(descriptor), buffer, chunk, &got, nullptr))
        return -1;
    return static_cast<std::ptrdiff_t>(got);
}

bool VosWrite(VosDescriptor descriptor, const void* data, std::size_t size) {
    const char* p = static_cast<const char*>(data);
    while (size > 0) {
        DWORD chunk = size > 0x40000000u ? 0x40000000u : static_cast<DWORD>(size);
        DWORD put = 0;
        if (!WriteFile(AsHandle(descriptor), p, chunk, &put, nullptr) || put == 0)
            return false;
        p += put;
        size -= put;
    }
    return true;
}

bool VosClose(VosDescriptor descriptor) {
    return CloseHandle(AsHandle(descriptor)) != 0;
}

void* VosAllocateLarge(std::size_t size) {
    return VirtualAlloc(nullptr, size, MEM_RESERVE | MEM_COMMIT, PAGE_READWRITE);
}

void VosFreeLarge(void* block, std::size_t) {
    VirtualFree(block, 0, MEM_RELEASE);
}

} // namespace inifile
