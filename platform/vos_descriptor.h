// The only platform-specific layer of the INI store: open, read, write and close a file
// by name, and obtain the memory of large pool chunks. vos_descriptor_posix.cpp and vos_descriptor_win32.cpp implement it; the build
// picks one.
#pragma once

#include <cstddef>
#include <cstdint>

namespace inifile {

using VosDescriptor = std::intptr_t;
constexpr VosDescriptor kNoDescriptor = -1;

enum class VosOpenMode {
    ReadOnly,
    ReadWriteCreate, // an existing file as it is, or a new empty one
    RewriteCreate,   // read-write, created if missing, truncated to zero bytes
};

// Binary mode, no translation. kNoDescriptor when the file cannot be opened.
VosDescriptor VosOpen(const char* name, VosOpenMode mode);
// The file's size in bytes (0 when the system cannot tell).
std::uint64_t VosSize(VosDescriptor descriptor);
// Bytes read, 0 at the end of the file, -1 on an error.
std::ptrdiff_t VosRead(VosDescriptor descriptor, void* buffer, std::size_t size);
// Writes every byte; false on an error.
bool VosWrite(VosDescriptor descriptor, const void* data, std::size_t size);
// False if the system reports an error on close (data may not have reached the file).
bool VosClose(VosDescriptor descriptor);

// At least `size` bytes (a multiple of the page size is used whole) for a large chunk of
// the pool, straight from the system; null when memory is exhausted. A loaded file's
// bytes fill such a block once and are freed with it, so where the system offers huge
// pages the block asks for them: fresh 4 KB pages cost a fault each, several times the
// cost of reading the file into them.
void* VosAllocateLarge(std::size_t size);
void VosFreeLarge(void* block, std::size_t size);

} // namespace inifile
