#include "integration/shortcut_rules.h"

#include <cstring>
#include <string>

#include "setup/install_rules.h"

namespace shortcuts {
namespace {

constexpr char kProgramFolder[] = "\\_red40\\bin\\";

// Appends `text` when it fits; a failed append leaves the buffer as it was.
bool Append(char* buffer, std::size_t size, const char* text) {
    std::size_t used = strnlen(buffer, size);
    std::size_t length = std::strlen(text);
    if (used >= size || length >= size - used)
        return false;
    std::memcpy(buffer + used, text, length + 1);
    return true;
}

bool EnsureBackslash(char* buffer, std::size_t size) {
    std::size_t used = strnlen(buffer, size);
    if (used > 0 && buffer[used - 1] == '\\')
        return true;
    return Append(buffer, size, "\\");
}

// Every builder starts from an empty buffer and empties it again when a piece does not
// fit, so a caller never works with half a path.
bool Finish(bool fits, char* out) {
    if (!fits)
        out[0] = '\0';
    return fits;
}

} // namespace

bool CopyBounded(char* out, std::size_t outSize, const char* text) {
    if (out == nullptr || outSize == 0)
        return false;
    out[0] = '\0';
    return Finish(Append(out, outSize, text), out);
}

bool BuildApplicationKey(const char* registryRoot, bool publisher, const char* group,
                         const char* name, char* out, std::size_t outSize) {
    if (out == nullptr || outSize == 0)
        return false;
    out[0] = '\0';
    bool fits = Append(out, outSize, registryRoot) && EnsureBackslash(out, outSize) &&
                (!publisher || Append(out, outSize, "Corvane\\")) && Append(out, outSize, group) &&
                EnsureBackslash(out, outSize) && Append(out, outSize, name);
    return Finish(fits, out);
}

const char* BrowserCodeForKind(int kind, const char* browserText) {
    switch (kind) {
    case 0:
        return "netscape";
    case 1:
        return "msie";
    case 2:
        return "netscape4";
    default:
        return browserText;
    }
}

bool BuildProgramFolderPath(const char* destDir, const char* file, char* out, std::size_t outSize) {
    if (out == nullptr || outSize == 0)
        return false;
    out[0] = '\0';
    bool fits = Append(out, outSize, destDir) && Append(out, outSize, kProgramFolder) &&
                Append(out, outSize, file);
    return Finish(fits, out);
}

bool BuildLinkPath(const char* groupDir, const char* prefix, const char* name, char* out,
                   std::size_t outSize) {
    if (out == nullptr || outSize == 0)
        return false;
    out[0] = '\0';
    bool fits = Append(out, outSize, groupDir) && Append(out, outSize, "\\") &&
                Append(out, outSize, prefix) && Append(out, outSize, name) &&
                Append(out, outSize, ".lnk");
    return Finish(fits, out);
}

bool BuildLinkLibraryPath(const char* sourceRoot, char* out, std::size_t outSize) {
    return BuildProgramFolderPath(sourceRoot, kLinkLibrary, out, outSize);
}

bool BuildShortcutWorkingDir(const char* destDir, char* out, std::size_t outSize) {
    if (!CopyBounded(out, outSize, destDir))
        return false;
    if (std::strlen(out) == 2 && out[1] == ':')
        return Finish(Append(out, outSize, "\\"), out);
    return true;
}

bool HasBlank(const char* path) {
    return path != nullptr && std::strchr(path, ' ') != nullptr;
}

void CutToLength(char* text, std::size_t limit) {
    if (strnlen(text, limit + 1) > limit)
        text[limit] = '\0';
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

bool StaysInStartMenu(const char* name) {
    if (name == nullptr || name[0] == '\0')
        return true;
    // The same test as for the trees below the destination, which begin with a backslash.
    return rules::IsSubfolderName(("\\" + std::string(name)).c_str());
}

} // namespace shortcuts
