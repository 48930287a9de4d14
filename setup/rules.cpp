#include "setup/rules.h"

#include <cstring>

#include "setup/settings.h"

namespace rules {

bool EqualsNoCase(const char* a, const char* b, const chars::CodePage& page) {
    return chars::EqualsNoCase(a, b, page);
}

void MakeSourceRoot(const char* currentDir, char* out, std::size_t outSize,
                    const chars::CodePage& page) {
    if (out == nullptr || outSize == 0)
        return;
    bounded::CopyCut(out, outSize, currentDir, page);
    // Letter case only for ASCII, as the C runtime's "C" locale does.
    chars::LowerAscii(out, page);
    if (const char* setupFolder = chars::Find(out, kProgramFolder, page))
        out[setupFolder - out] = '\0';
    bounded::StripTrailingBackslash(out, page);
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
