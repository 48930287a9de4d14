// CIni: the settings-file object of the installation. It owns one IniFile loaded at
// construction and writes it back once, at destruction, if something was set or deleted.
#pragma once

#include <cstddef>

#include "platform/export.h"

namespace inifile {
class IniFile;
}

class LUMORA_EXPORT CIni {
public:
    explicit CIni(const char* fileName = "search.ini");
    ~CIni();
    CIni(const CIni&) = delete;
    CIni& operator=(const CIni&) = delete;

    unsigned char Status() const;
    int SetValue(const char* section, const char* key, const char* value);
    // Callers pass the size of `out`; a value that does not fit returns 0 with `out` empty.
    int GetValue(const char* section, const char* key, char* out, std::size_t outSize);
    void GetValue(const char* section, const char* key, char* out, std::size_t outSize, int index);
    int GetAllValues(const char* section, char* out, std::size_t outSize);
    void DeleteValue(const char* section, const char* key);
    void DeleteSection(const char* section);

    template <std::size_t N> int GetValue(const char* section, const char* key, char (&out)[N]) {
        return GetValue(section, key, out, N);
    }

private:
    inifile::IniFile* m_pIniFile = nullptr;
    int m_bModified = 0;
};
