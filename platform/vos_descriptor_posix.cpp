#include "platform/vos_descriptor.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

namespace inifile {

VosDescriptor VosOpen(const char* name, VosOpenMode mode) {
    int flags = O_RDONLY;
    if (mode == VosOpenMode::ReadWriteCreate)
        flags = O_RDWR | O_CREAT;
    else if (mode == VosOpenMode::RewriteCreate)
        flags = O_RDWR | O_CREAT | O_TRUNC;
    int fd;
    do {
        fd = ::open(name, flags | O_CLOEXEC, 0666);
    } while (fd < 0 && errno == EINTR);
    return fd < 0 ? kNoDescriptor : fd;
}

std::uint64_t VosSize(VosDescriptor descriptor) {
    struct stat status;
    if (::fstat(static_cast<int>(descriptor), &status) != 0 || status.st_size < 0)
        return 0;
    return static_cast<std::uint64_t>(status.st_size);
}

std::ptrdiff_t VosRead(VosDescriptor descriptor, void* buffer, std::size_t size) {
    ssize_t got;
    do {
        got = ::read(static_cast<int>(descriptor), buffer, size);
    } while (got < 0 && errno == EINTR);
    return got;
}

bool VosWrite(VosDescriptor descriptor, const void* data, std::size_t size) {
    const char* p = static_cast<const char*>(data);
    while (size > 0) {
        ssize_t put = ::write(static_cast<int>(descriptor), p, size);
        if (put < 0 && errno == EINTR)
            continue;
        if (put <= 0)
            return false;
        p += put;
        size -= static_cast<std::size_t>(put);
    }
    return true;
}

bool VosClose(VosDescriptor descriptor) {
    return ::close(static_cast<int>(descriptor)) == 0;
}

void* VosAllocateLarge(std::size_t size) {
    void* block = ::mmap(nullptr, size, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (block == MAP_FAILED)
        return nullptr;
#ifdef MADV_HUGEPAGE
    ::madvise(block, size, MADV_HUGEPAGE); // a hint: without huge pages the block still serves
#endif
    return block;
}

void VosFreeLarge(void* block, std::size_t size) {
    ::munmap(block, size);
}

} // namespace inifile
