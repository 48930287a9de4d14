#include "setup/setting_text.h"

#include <vector>

#include "platform/bounded_text.h"
#include "platform/ini.h"
#include "platform/inifile.h"
#include "setup/settings.h"

namespace settings {

std::string ReadText(CIni& ini, const char* section, const char* key) {
    // The store keeps no line longer than this, so no value is longer either.
    std::vector<char> buffer(inifile::kMaxLineLength + 2);
    if (!ini.GetValue(section, key, buffer.data(), buffer.size()))
        return std::string();
    return std::string(buffer.data());
}

std::string ReadLicenseFile(CIni& ini) {
    return ReadText(ini, kCommonSection, kLicenseFile);
}

std::string ReadBrowser(CIni& ini) {
    return ReadText(ini, kCommonSection, kBrowser);
}

std::string ReadApplicationName(CIni& ini) {
    return ReadText(ini, kCommonSection, kApplicationName);
}

ApplicationNames ReadApplicationNames(CIni& ini) {
    ApplicationNames names;
    names.group = ReadText(ini, kCommonSection, kApplicationGroup);
    names.name = ReadApplicationName(ini);
    names.refused =
        names.group.size() >= bounded::kPathSize || names.name.size() >= bounded::kPathSize;
    if (names.refused) {
        names.group.clear();
        names.name.clear();
    }
    return names;
}

ApplicationNames WithDefaultNames(ApplicationNames names) {
    if (names.refused)
        return names;
    if (names.group.empty())
        names.group = kDefaultApplicationName;
    if (names.name.empty())
        names.name = kDefaultApplicationName;
    return names;
}

} // namespace settings
