#include "setup/setting_text.h"

#include <vector>

#include "platform/ini.h"
#include "platform/inifile.h"

namespace settings {

std::string ReadText(CIni& ini, const char* section, const char* key) {
    // The store keeps no line longer than this, so no value is longer either.
    std::vector<char> buffer(inifile::kMaxLineLength + 2);
    if (!ini.GetValue(section, key, buffer.data(), buffer.size()))
        return std::string();
    return std::string(buffer.data());
}

} // namespace settings
