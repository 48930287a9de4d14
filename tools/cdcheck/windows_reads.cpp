#include "tools/cdcheck/windows_reads.h"

namespace cdcheck {

const std::vector<WindowsReading>& WindowsReadings() {
    // Generated from windows_reads.txt when the build is configured.
    static const std::vector<WindowsReading> readings = {
#include "windows_reads.inc"
    };
    return readings;
}

std::string IsoNameReaders() {
    std::vector<std::string> names;
    for (const WindowsReading& reading : WindowsReadings()) {
        if (!reading.joliet)
            names.push_back(reading.who);
    }
    std::string text;
    for (std::size_t i = 0; i < names.size(); ++i)
        text += (i == 0 ? "" : i + 1 == names.size() ? " and " : ", ") + names[i];
    return text;
}

} // namespace cdcheck
