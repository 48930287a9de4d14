#include "platform/bounded_text.h"

#include <cstring>

namespace bounded {

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

void CopyCut(char* out, std::size_t size, const char* source, const chars::CodePage& page) {
    if (out == nullptr || size == 0)
        return;
    std::size_t length = source != nullptr ? chars::CutSize(source, size - 1, page) : 0;
    if (length > 0)
        std::memmove(out, source, length);
    out[length] = '\0';
}

bool EnsureTrailingBackslash(char* buffer, std::size_t size, const chars::CodePage& page) {
    if (buffer == nullptr || size == 0)
        return false;
    std::size_t used = strnlen(buffer, size);
    if (used < size && chars::EndsWith(buffer, used, '\\', page))
        return true;
    return Append(buffer, size, "\\");
}

void StripTrailingBackslash(char* path, const chars::CodePage& page) {
    if (path == nullptr)
        return;
    std::size_t length = std::strlen(path);
    if (chars::EndsWith(path, length, '\\', page))
        path[length - 1] = '\0';
}

void StripTrailingBackslash(std::string& path, const chars::CodePage& page) {
    if (chars::EndsWith(path.c_str(), path.size(), '\\', page))
        path.pop_back();
}

std::string JoinPath(const std::string& dir, const std::string& name, const chars::CodePage& page) {
    std::string path = dir;
    if (!chars::EndsWith(path.c_str(), path.size(), '\\', page))
        path += '\\';
    return path + name;
}

namespace {

// The end of the path component that starts at `p`: its first separator character, or
// its terminator.
const char* ComponentEnd(const char* p, bool slashSeparates, const chars::CodePage& page) {
    while (*p != '\0' && *p != '\\' && !(slashSeparates && *p == '/'))
        p += page.CharSize(p);
    return p;
}

// Appends `name` part by part, with one backslash before each part; `slashSeparates`
// says whether "/" divides parts too (in file paths) or is a plain character (in
// registry keys).
bool AppendParts(char* buffer, std::size_t size, const char* name, bool slashSeparates,
                 const chars::CodePage& page) {
    if (buffer == nullptr || size == 0 || name == nullptr)
        return false;
    auto separates = [slashSeparates](char c) { return c == '\\' || (slashSeparates && c == '/'); };
    std::size_t used = strnlen(buffer, size);
    if (used >= size)
        return false;
    std::size_t length = used;
    bool fits = true;
    for (const char* p = name; *p != '\0' && fits;) {
        // A separator is a character of its own, so a part never begins with a second byte.
        while (separates(*p))
            ++p;
        const char* end = ComponentEnd(p, slashSeparates, page);
        std::size_t component = static_cast<std::size_t>(end - p);
        if (component == 0)
            break;
        bool slash = !chars::EndsWith(buffer, length, '\\', page);
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

// ".." and the names Windows makes of it by dropping trailing dots and blanks ("...",
// ".. "): a part made only of dots and blanks, with two dots or more.
bool NamesAParent(const char* part, const char* end) {
    int dots = 0;
    for (const char* p = part; p < end; ++p) {
        if (*p == '.')
            ++dots;
        else if (*p != ' ')
            return false;
    }
    return dots >= 2;
}

} // namespace

bool AppendName(char* buffer, std::size_t size, const char* name, const chars::CodePage& page) {
    return AppendParts(buffer, size, name, true, page);
}

bool AppendKeyName(char* buffer, std::size_t size, const char* name, const chars::CodePage& page) {
    return AppendParts(buffer, size, name, false, page);
}

bool StaysBelow(const char* name, const chars::CodePage& page) {
    if (name == nullptr)
        return true;
    // No second byte is below 0x40: a colon is always a character of its own.
    if (std::strchr(name, ':') != nullptr)
        return false;
    for (const char* p = name; *p != '\0';) {
        const char* end = ComponentEnd(p, true, page);
        if (NamesAParent(p, end))
            return false;
        p = *end != '\0' ? end + 1 : end;
    }
    return true;
}

} // namespace bounded
