/* Three names that libstdc++ takes from MinGW-w64's import library of msvcrt.dll, linked
 * into every i686 file that imports crtdll.dll instead (cmake/crtdll.cmake). They come
 * with libstdc++'s std::random_device, which the COW string code drags into every
 * program that can throw a standard exception; no file here uses it.
 *  - read and close: msvcrt.dll's import library maps the old names to _read and _close,
 *    crtdll.dll's does not; crtdll.dll exports both underscored functions.
 *  - rand_s came with Windows XP's msvcrt.dll; crtdll.dll has no source of random
 *    numbers, so a random_device reports that it has none (EINVAL) and throws. */
#include <errno.h>
#include <io.h>

int __cdecl read(int fd, void* buffer, unsigned int count) {
    return _read(fd, buffer, count);
}

int __cdecl close(int fd) {
    return _close(fd);
}

static int __cdecl NoRandomSource(unsigned int* value) {
    *value = 0;
    return EINVAL;
}

/* libstdc++ calls rand_s through its import slot, __imp__rand_s. */
int(__cdecl* _imp__rand_s)(unsigned int*) = NoRandomSource;
