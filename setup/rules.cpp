#include "setup/rules.h"

#include <cstring>

namespace rules {

namespace {
char ToLowerAscii(char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}
} // namespace

bool EqualsNoCase(const char* a, const char* b) {
    for (; *a != '\0' && *b != '\0'; ++a, ++b) {
        if (ToLowerAscii(*a) != ToLowerAscii(*b))
            return false;
    }
    return *a == *b;
}

void MakeSourceRoot(const char* currentDir, char* out, std::size_t outSize) {
    if (out == nullptr || outSize == 0)
        return;
    out[0] = '\0';
    if (currentDir == nullptr)
        return;
    std::size_t length = strnlen(currentDir, outSize - 1);
    // Letter case only for ASCII, as the C runtime's "C" locale does.
    for (std::size_t i = 0; i < length; ++i)
        out[i] = ToLowerAscii(currentDir[i]);
    out[length] = '\0';

    if (char* setupFolder = std::strstr(out, "\\_red40\\bin"))
        *setupFolder = '\0';
    length = std::strlen(out);
    if (length > 0 && out[length - 1] == '\\')
        out[length - 1] = '\0';
}

bool IsYesSetting(const char* value) {
    return value != nullptr && (value[0] == 'y' || value[0] == 'Y');
}

bool IsClientEnvironment(const char* currentEnv) {
    return currentEnv != nullptr && EqualsNoCase(currentEnv, "ClientCD");
}

bool AppendBounded(char* buffer, std::size_t size, const char* text) {
    if (buffer == nullptr || size == 0 || text == nullptr)
        return false;
    std::size_t used = strnlen(buffer, size);
    std::size_t extra = std::strlen(text);
    if (used >= size || extra >= size - used)
        return false;
    std::memcpy(buffer + used, text, extra + 1);
    return true;
}

void CopyCut(char* out, std::size_t outSize, const char* text) {
    if (out == nullptr || outSize == 0)
        return;
    std::size_t length = text != nullptr ? strnlen(text, outSize - 1) : 0;
    if (length > 0)
        std::memcpy(out, text, length);
    out[length] = '\0';
}

bool EnsureTrailingBackslash(char* buffer, std::size_t size) {
    if (buffer == nullptr || size == 0)
        return false;
    std::size_t used = strnlen(buffer, size);
    if (used > 0 && used < size && buffer[used - 1] == '\\')
        return true;
    return AppendBounded(buffer, size, "\\");
}

bool BuildShortcutPath(const char* programsDir, const char* group, const char* name, char* out,
                       std::size_t outSize) {
    if (out == nullptr || outSize == 0)
        return false;
    out[0] = '\0';
    bool fits = AppendBounded(out, outSize, programsDir) && EnsureTrailingBackslash(out, outSize) &&
                AppendBounded(out, outSize, group) && AppendBounded(out, outSize, "\\") &&
                AppendBounded(out, outSize, name) && AppendBounded(out, outSize, ".lnk");
    if (!fits)
        out[0] = '\0';
    return fits;
}

} // namespace rules
