#include "setup/rules.h"

#include <cstring>

#include "setup/settings.h"

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

    if (char* setupFolder = std::strstr(out, kProgramFolder))
        *setupFolder = '\0';
    bounded::StripTrailingBackslash(out);
}

bool BuildProgramFolder(const char* root, char* out, std::size_t outSize) {
    bool fits = bounded::Copy(out, outSize, root != nullptr ? root : "") &&
                bounded::Append(out, outSize, kProgramFolder);
    if (!fits && out != nullptr && outSize > 0)
        out[0] = '\0';
    return fits;
}

bool IsYesSetting(const char* value) {
    return value != nullptr && (value[0] == 'y' || value[0] == 'Y');
}

bool IsClientEnvironment(const char* currentEnv) {
    return currentEnv != nullptr && EqualsNoCase(currentEnv, settings::kClientCD);
}

} // namespace rules
