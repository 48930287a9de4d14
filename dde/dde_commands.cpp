#include "dde/dde_commands.h"

#include <cstdio>

namespace dde {

namespace {
const char* OrEmpty(const char* text) {
    return text != nullptr ? text : "";
}

// snprintf reports the length it wanted. A command cut short is not kept at all: sent,
// it would at best be refused and at worst name a group nobody asked for.
bool Settle(int wanted, char* out, std::size_t outSize) {
    if (wanted < 0 || static_cast<std::size_t>(wanted) >= outSize) {
        out[0] = '\0';
        return false;
    }
    return true;
}
} // namespace

bool FormatCreateGroup(const char* group, bool win32s, char* out, std::size_t outSize) {
    if (out == nullptr || outSize == 0)
        return false;
    int wanted = win32s
                     ? std::snprintf(out, outSize, "[creategroup(\"%s\", \"1\")]", OrEmpty(group))
                     : std::snprintf(out, outSize, "[creategroup(\"%s\", \"0\")]", OrEmpty(group));
    return Settle(wanted, out, outSize);
}

bool FormatAddItem(const char* name, const char* commandLine, const char* iconPath, char* out,
                   std::size_t outSize) {
    if (out == nullptr || outSize == 0)
        return false;
    int wanted = std::snprintf(out, outSize, "[additem(\"%s\",\"%s\",\"%s\",0)]",
                               OrEmpty(commandLine), OrEmpty(name), OrEmpty(iconPath));
    return Settle(wanted, out, outSize);
}

} // namespace dde
