#include "tools/cdcheck/cd_paths.h"

#include "setup/rules.h"
#include "setup/settings.h"

namespace cdcheck {

std::string CdPath(const std::string& programPath) {
    const std::string::size_type start = programPath.find_first_not_of('\\');
    return start == std::string::npos ? std::string() : programPath.substr(start);
}

std::string ProgramFolder() {
    return CdPath(rules::kProgramFolder);
}

std::string InProgramFolder(const std::string& name) {
    return ProgramFolder() + "\\" + name;
}

std::string RootSettings() {
    return settings::kSettingsFile;
}

std::string PublishSettings() {
    return std::string(settings::kPublishFolder) + settings::kSettingsFile;
}

std::string ProgramFolderSettings() {
    return InProgramFolder(settings::kSettingsFile);
}

} // namespace cdcheck
