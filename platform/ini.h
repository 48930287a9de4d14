// CIni: the settings-file object of the installation. It owns one IniFile loaded at
// construction and writes it back once, at destruction, if something was set or deleted.
#pragma once

#include <cstddef>

#include "platform/export.h"

namespace inifile {
class IniFile;
}

// The exported operations take the signatures the product's other modules are built
// with; the forms with the size of `out` are what the program itself calls.
class LUMORA_EXPORT CIni {
public:
    explicit CIni(const char* fileName = "search.ini");
    explicit CIni(char* fileName);
    ~CIni();
    CIni(const CIni&) = delete;
    CIni& operator=(const CIni&) = delete;

    unsigned char Status() const;
    int SetValue(const char* section, const char* key, char* value);
    // `out` must hold the value (or the pairs): these forms take no size.
    int GetValue(const char* section, const char* key, char* out);
    void GetValue(const char* section, const char* key, char* out, int index);
    int GetAllValues(const char* section, char* out);
    void DeleteValue(const char* section, const char* key);
    void DeleteSection(const char* section);

    int SetValue(const char* section, const char* key, const char* value);
    int SetValue(const char* section, const char* key, std::nullptr_t) {
        return SetValue(section, key, static_cast<const char*>(nullptr));
    }
    // A value that does not fit `outSize` bytes returns 0 with `out` empty.
    int GetValue(const char* section, const char* key, char* out, std::size_t outSize);
    void GetValue(const char* section, const char* key, char* out, std::size_t outSize, int index);
    int GetAllValues(const char* section, char* out, std::size_t outSize);

private:
    inifile::IniFile* m_pIniFile = nullptr;
    int m_bModified = 0;
};
