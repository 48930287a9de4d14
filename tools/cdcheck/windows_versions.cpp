#include "tools/cdcheck/windows_versions.h"

namespace cdcheck {

const std::vector<WindowsVersion>& WindowsVersions() {
    // Generated from tools/windows_versions.txt when the build is configured.
    static const std::vector<WindowsVersion> versions = {
#include "windows_versions.inc"
    };
    return versions;
}

std::string IsoNameReaders() {
    std::vector<std::string> names;
    for (const WindowsVersion& windows : WindowsVersions()) {
        if (!windows.readsJoliet)
            names.push_back(windows.who);
    }
    std::string text;
    for (std::size_t i = 0; i < names.size(); ++i)
        text += (i == 0 ? "" : i + 1 == names.size() ? " and " : ", ") + names[i];
    return text;
}

} // namespace cdcheck
