#include "tools/cdcheck/settings_file.h"

#include <cstdio>

#include "platform/inifile.h"

namespace cdcheck {

namespace {

bool IsBlank(char c) {
    return c == ' ' || c == '\t' || c == '\r';
}

std::string Trimmed(const std::string& line) {
    std::size_t start = 0;
    std::size_t end = line.size();
    while (start < end && IsBlank(line[start]))
        ++start;
    while (end > start && IsBlank(line[end - 1]))
        --end;
    return line.substr(start, end - start);
}

std::string ReadWhole(const std::string& path) {
    std::string bytes;
    std::FILE* file = std::fopen(path.c_str(), "rb");
    if (file == nullptr)
        return bytes;
    char chunk[4096];
    std::size_t got;
    while ((got = std::fread(chunk, 1, sizeof chunk, file)) > 0)
        bytes.append(chunk, got);
    std::fclose(file);
    return bytes;
}

} // namespace

SettingsFile::SettingsFile(const CdTree& cd, const std::string& cdPath) {
    CdItem item = cd.Find(cdPath);
    where_ = item.hostPath;
    if (item.kind == HostKind::Missing)
        return;
    present_ = true;
    if (item.kind == HostKind::Folder) {
        refusedReason_ = "a folder, not a file";
        return;
    }
    inifile::LoadDiagnostic diagnostic;
    int result = inifile::IniFile::Load(item.hostPath.c_str(), inifile::OpenMode::ReadOnly, &store_,
                                        &diagnostic);
    if (result != inifile::kOk) {
        store_ = nullptr;
        refusedLine_ = diagnostic.line;
        refusedReason_ = diagnostic.reason[0] != '\0' ? diagnostic.reason : "cannot be read";
        return;
    }
    bytes_ = ReadWhole(item.hostPath);
}

SettingsFile::~SettingsFile() {
    if (store_ != nullptr)
        inifile::IniFile::Release(store_);
}

std::string SettingsFile::Value(const char* section, const char* key) const {
    const char* value = nullptr;
    if (store_ == nullptr || store_->Find(section, key, &value) != inifile::kOk || !value)
        return std::string();
    return value;
}

bool SettingsFile::Has(const char* section, const char* key) const {
    const char* value = nullptr;
    return store_ != nullptr && store_->Find(section, key, &value) == inifile::kOk;
}

int SettingsFile::LineOf(const char* section, const char* key) const {
    if (store_ == nullptr)
        return 0;
    // Lines end as the store ends them: LF, CR, or CR LF counted once.
    bool inSection = false;
    bool sectionSeen = false;
    int number = 0;
    for (std::size_t pos = 0; pos < bytes_.size();) {
        std::size_t stop = bytes_.find_first_of("\r\n", pos);
        std::size_t end = stop == std::string::npos ? bytes_.size() : stop;
        std::string line = Trimmed(bytes_.substr(pos, end - pos));
        ++number;
        pos = end;
        if (pos < bytes_.size())
            pos += bytes_.compare(pos, 2, "\r\n") == 0 ? 2 : 1;
        if (line.empty() || line[0] == '#' || line[0] == ';' || line[0] == '.')
            continue;
        if (line[0] == '[') {
            // Only the first section of a name is ever read.
            bool match = EqualNoCase(line.substr(1, line.size() - 2), section);
            inSection = match && !sectionSeen;
            sectionSeen = sectionSeen || match;
            continue;
        }
        std::size_t equals = line.find('=');
        if (!inSection || equals == std::string::npos)
            continue;
        std::string name = line.substr(0, equals);
        while (!name.empty() && IsBlank(name.back()))
            name.pop_back();
        if (EqualNoCase(name, key))
            return number;
    }
    return 0;
}

} // namespace cdcheck
