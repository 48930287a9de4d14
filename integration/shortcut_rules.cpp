#include "integration/shortcut_rules.h"

#include <cstring>

#include "platform/bounded_text.h"
#include "setup/rules.h"

namespace shortcuts {
namespace {

// Every builder starts from an empty buffer and empties it again when a piece does not
// fit, so a caller never works with half a path.
bool Finish(bool fits, char* out) {
    if (!fits)
        out[0] = '\0';
    return fits;
}

bool Start(char* out, std::size_t outSize) {
    if (out == nullptr || outSize == 0)
        return false;
    out[0] = '\0';
    return true;
}

} // namespace

bool BuildApplicationKey(const char* registryRoot, bool publisher, const char* group,
                         const char* name, const char* subkey, char* out, std::size_t outSize,
                         const chars::CodePage& page) {
    if (!Start(out, outSize))
        return false;
    bool fits = bounded::Append(out, outSize, registryRoot) &&
                (!publisher || bounded::AppendKeyName(out, outSize, "Corvane", page)) &&
                bounded::AppendKeyName(out, outSize, group, page) &&
                bounded::AppendKeyName(out, outSize, name, page);
    // Room for the subkey whether or not it is asked for: one bound for every use.
    fits = fits && std::strlen(out) + 1 + sizeof(kParametersSubkey) <= outSize;
    if (fits && subkey != nullptr)
        fits = bounded::AppendKeyName(out, outSize, subkey, page);
    return Finish(fits, out);
}

bool BuildProgramFolderPath(const char* destDir, const char* file, char* out, std::size_t outSize) {
    if (!Start(out, outSize))
        return false;
    bool fits = rules::BuildProgramFolder(destDir, out, outSize) &&
                bounded::Append(out, outSize, "\\") && bounded::Append(out, outSize, file);
    return Finish(fits, out);
}

bool BuildGroupFolder(const char* programsDir, const char* group, char* out, std::size_t outSize,
                      const chars::CodePage& page) {
    if (!Start(out, outSize))
        return false;
    bool fits = bounded::StaysBelow(group, page) && bounded::Append(out, outSize, programsDir) &&
                bounded::AppendName(out, outSize, group, page);
    return Finish(fits, out);
}

bool BuildLinkPath(const char* groupDir, const char* prefix, const char* name, char* out,
                   std::size_t outSize, const chars::CodePage& page) {
    if (!Start(out, outSize))
        return false;
    // The name as path components: "\Atlas", "Atlas\" and "Atlas" are the same shortcut.
    char plainName[bounded::kPathSize] = "";
    if (!bounded::StaysBelow(name, page) ||
        !bounded::AppendName(plainName, sizeof plainName, name, page))
        return false;
    bool fits = bounded::Append(out, outSize, groupDir) &&
                bounded::EnsureTrailingBackslash(out, outSize, page) &&
                bounded::Append(out, outSize, prefix) &&
                bounded::Append(out, outSize, plainName[0] != '\0' ? plainName + 1 : "") &&
                bounded::Append(out, outSize, ".lnk");
    return Finish(fits, out);
}

bool BuildShortcutPath(const char* programsDir, const char* group, const char* prefix,
                       const char* name, char* out, std::size_t outSize,
                       const chars::CodePage& page) {
    char groupDir[bounded::kPathSize] = "";
    if (BuildGroupFolder(programsDir, group, groupDir, sizeof groupDir, page))
        return BuildLinkPath(groupDir, prefix, name, out, outSize, page);
    Start(out, outSize); // a group leading out of the Programs folder: no path at all
    return false;
}

bool BuildLinkLibraryPath(const char* sourceRoot, char* out, std::size_t outSize) {
    return BuildProgramFolderPath(sourceRoot, kLinkLibrary, out, outSize);
}

bool BuildShortcutWorkingDir(const char* destDir, char* out, std::size_t outSize) {
    if (!bounded::Copy(out, outSize, destDir))
        return false;
    if (std::strlen(out) == 2 && out[1] == ':')
        return Finish(bounded::Append(out, outSize, "\\"), out);
    return true;
}

bool HasBlank(const char* path) {
    return path != nullptr && std::strchr(path, ' ') != nullptr;
}

void CutToLength(char* text, std::size_t limit, const chars::CodePage& page) {
    text[chars::CutSize(text, limit, page)] = '\0';
}

bool IsPlainCommandText(const char* text) {
    if (text == nullptr)
        return true;
    for (const unsigned char* p = reinterpret_cast<const unsigned char*>(text); *p != 0; ++p) {
        if (*p == '"' || *p < 0x20)
            return false;
    }
    return true;
}

} // namespace shortcuts
