// One settings file of the CD, loaded by the setup's own INI store, with the line of
// each key for the messages.
#pragma once

#include <memory>
#include <string>

#include "tools/cdcheck/cd_tree.h"

namespace inifile {
class IniFile;
}

namespace cdcheck {

class SettingsFile {
public:
    // Loads the file at `cdPath` of the CD, read-only; a missing file is no error here.
    SettingsFile(const CdTree& cd, const std::string& cdPath);
    ~SettingsFile();
    SettingsFile(const SettingsFile&) = delete;
    SettingsFile& operator=(const SettingsFile&) = delete;

    bool Present() const { return present_; }
    // The store refused the file: every setting reads as empty for the setup.
    bool Refused() const { return present_ && store_ == nullptr; }
    int RefusedLine() const { return refusedLine_; }
    const std::string& RefusedReason() const { return refusedReason_; }
    // The host path, for messages.
    const std::string& Where() const { return where_; }

    // What the setup reads: the first key of the first section of that name; empty when
    // missing or when the file did not load.
    std::string Value(const char* section, const char* key) const;
    bool Has(const char* section, const char* key) const;
    // The line holding that key, 0 when there is none.
    int LineOf(const char* section, const char* key) const;

private:
    bool present_ = false;
    inifile::IniFile* store_ = nullptr;
    int refusedLine_ = 0;
    std::string refusedReason_;
    std::string where_;
    std::string bytes_;
};

} // namespace cdcheck
