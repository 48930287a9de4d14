#include "platform/bounded_text.h"

#include <cstring>

namespace bounded {

namespace {

bool IsSeparator(char c) {
    return c == '\\' || c == '/';
}

} // namespace

bool Append(char* buffer, std::size_t size, const char* part) {
    if (buffer == nullptr || size == 0 || part == nullptr)
        return false;
    std::size_t used = strnlen(buffer, size);
    std::size_t extra = std::strlen(part);
    if (used >= size || extra >= size - used)
        return false;
    std::memcpy(buffer + used, part, extra + 1);
    return true;
}

bool Copy(char* out, std::size_t size, const char* source) {
    if (out == nullptr || size == 0)
        return false;
    out[0] = '\0';
    return Append(out, size, source != nullptr ? source : "");
}

void CopyCut(char* out, std::size_t size, const char* source) {
    if (out == nullptr || size == 0)
        return;
    std::size_t length = source != nullptr ? strnlen(source, size - 1) : 0;
    if (length > 0)
        std::memmove(out, source, length);
    out[length] = '\0';
}

bool EnsureTrailingBackslash(char* buffer, std::size_t size) {
    if (buffer == nullptr || size == 0)
        return false;
    std::size_t used = strnlen(buffer, size);
    if (used > 0 && used < size && buffer[used - 1] == '\\')
        return true;
    return Append(buffer, size, "\\");
}

void StripTrailingBackslash(char* path) {
    if (path == nullptr)
        return;
    std::size_t length = std::strlen(path);
    if (length > 0 && path[length - 1] == '\\')
        path[length - 1] = '\0';
}

void StripTrailingBackslash(std::string& path) {
    if (!path.empty() && path.back() == '\\')
        path.pop_back();
}

std::string JoinPath(const std::string& dir, const std::string& name) {
    std::string path = dir;
    if (path.empty() || path.back() != '\\')
        path += '\\';
    return path + name;
}

bool AppendName(char* buffer, std::size_t size, const char* name) {
    if (buffer == nullptr || size == 0 || name == nullptr)
        return false;
    std::size_t used = strnlen(buffer, size);
    if (used >= size)
        return false;
    std::size_t length = used;
    bool fits = true;
    for (const char* p = name; *p != '\0' && fits;) {
        while (IsSeparator(*p))
            ++p;
        const char* end = p;
        while (*end != '\0' && !IsSeparator(*end))
            ++end;
        std::size_t component = static_cast<std::size_t>(end - p);
        if (component == 0)
            break;
        bool slash = length == 0 || buffer[length - 1] != '\\';
        fits = length + (slash ? 1 : 0) + component < size;
        if (fits) {
            if (slash)
                buffer[length++] = '\\';
            std::memcpy(buffer + length, p, component);
            length += component;
        }
        p = end;
    }
    // Nothing of a name that does not fit stays.
    buffer[fits ? length : used] = '\0';
    return fits;
}

bool StaysBelow(const char* name) {
    if (name == nullptr)
        return true;
    if (std::strchr(name, ':') != nullptr)
        return false;
    for (const char* p = name; *p != '\0';) {
        const char* end = p;
        while (*end != '\0' && !IsSeparator(*end))
            ++end;
        if (end - p == 2 && p[0] == '.' && p[1] == '.')
            return false;
        p = *end != '\0' ? end + 1 : end;
    }
    return true;
}

} // namespace bounded
