#include "platform/code_page.h"

#include <cstring>

namespace chars {

namespace {
char FoldAscii(char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}
} // namespace

std::size_t CutSize(const char* text, std::size_t maxBytes, const CodePage& page) {
    std::size_t kept = 0;
    for (std::size_t size; (size = page.CharSize(text + kept)) != 0 && kept + size <= maxBytes;)
        kept += size;
    return kept;
}

bool EndsWith(const char* text, std::size_t length, char c, const CodePage& page) {
    // A second byte can look like a lead byte: only a walk from the start tells them apart.
    std::size_t last = length;
    for (std::size_t at = 0, size; at < length && (size = page.CharSize(text + at)) != 0;
         at += size)
        last = at;
    return last + 1 == length && text[last] == c;
}

const char* FindLast(const char* text, char c, const CodePage& page) {
    const char* found = nullptr;
    for (const char* p = text; *p != '\0'; p += page.CharSize(p)) {
        if (*p == c)
            found = p;
    }
    return found;
}

const char* Find(const char* text, const char* part, const CodePage& page) {
    const std::size_t partLength = std::strlen(part);
    for (const char* p = text;; p += page.CharSize(p)) {
        if (std::strncmp(p, part, partLength) == 0)
            return p;
        if (*p == '\0')
            return nullptr;
    }
}

bool EqualsNoCase(const char* a, const char* b, const CodePage& page) {
    for (;;) {
        std::size_t size = page.CharSize(a);
        if (size != page.CharSize(b))
            return false;
        if (size == 0)
            return true;
        if (size == 2 ? (a[0] != b[0] || a[1] != b[1]) : FoldAscii(*a) != FoldAscii(*b))
            return false;
        a += size;
        b += size;
    }
}

void LowerAscii(char* text, const CodePage& page) {
    for (char* p = text; *p != '\0'; p += page.CharSize(p))
        *p = FoldAscii(*p);
}

} // namespace chars
