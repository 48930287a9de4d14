#include "platform/ini.h"

#include <cstdint>
#include <cstdio>
#include <cstring>

#include "platform/bounded_text.h"
#include "platform/inifile.h"

using inifile::IniFile;

namespace {

void Clear(char* out, std::size_t outSize) {
    if (out && outSize > 0)
        out[0] = '\0';
}

} // namespace

CIni::CIni(const char* fileName) {
    // Read-write first, so that a missing file is created; read-only media only allow
    // the second open, and their edits are then lost at destruction.
    if (IniFile::Load(fileName, inifile::OpenMode::CreateReadWrite, &m_pIniFile) ==
        inifile::kCannotOpen)
        IniFile::Load(fileName, inifile::OpenMode::ReadOnly, &m_pIniFile);
}

CIni::CIni(char* fileName) : CIni(static_cast<const char*>(fileName)) {}

CIni::~CIni() {
    if (!m_pIniFile)
        return;
    if (m_bModified)
        m_pIniFile->Save(); // a failure (read-only file) loses the edits silently
    IniFile::Release(m_pIniFile);
}

unsigned char CIni::Status() const {
    return m_pIniFile ? 1 : 0;
}

int CIni::SetValue(const char* section, const char* key, const char* value) {
    if (!m_pIniFile)
        return 0;
    int result = m_pIniFile->Set(section, key, value ? value : "");
    m_bModified = 1;
    return result == inifile::kOk ? 1 : 0;
}

int CIni::GetValue(const char* section, const char* key, char* out, std::size_t outSize) {
    Clear(out, outSize);
    if (!m_pIniFile || !out || outSize == 0)
        return 0;
    const char* value = nullptr;
    if (m_pIniFile->Find(section, key, &value) != inifile::kOk)
        return 0;
    return bounded::Copy(out, outSize, value) ? 1 : 0;
}

void CIni::GetValue(const char* section, const char* key, char* out, std::size_t outSize,
                    int index) {
    if (index < 1 || !key) {
        GetValue(section, key, out, outSize);
        return;
    }
    Clear(out, outSize);
    char indexed[128];
    int length = std::snprintf(indexed, sizeof indexed, "%s(%d)", key, index);
    // A name that does not fit is no indexed key at all rather than a truncated one.
    if (length > 0 && static_cast<std::size_t>(length) < sizeof indexed)
        GetValue(section, indexed, out, outSize);
    if (index == 1 && out && outSize > 0 && out[0] == '\0')
        GetValue(section, key, out, outSize);
}

int CIni::GetAllValues(const char* section, char* out, std::size_t outSize) {
    Clear(out, outSize);
    if (!m_pIniFile || !out || outSize == 0)
        return 0;
    std::size_t used = 0;
    int pairs = 0;
    const char* key = nullptr;
    const char* value = nullptr;
    // A pair is at least "=&", so a section larger than the buffer ends the walk early.
    while (m_pIniFile->EntryAt(section, pairs, &key, &value) == inifile::kOk && key) {
        std::size_t keyLength = std::strlen(key);
        std::size_t valueLength = std::strlen(value);
        if (keyLength + valueLength + 2 >= outSize - used) {
            out[0] = '\0';
            return 0;
        }
        std::memcpy(out + used, key, keyLength);
        used += keyLength;
        out[used++] = '=';
        std::memcpy(out + used, value, valueLength);
        used += valueLength;
        out[used++] = '&';
        out[used] = '\0';
        ++pairs;
    }
    return pairs;
}

void CIni::DeleteValue(const char* section, const char* key) {
    if (!m_pIniFile)
        return;
    m_pIniFile->RemoveKey(section, key);
    m_bModified = 1;
}

void CIni::DeleteSection(const char* section) {
    if (!m_pIniFile)
        return;
    m_pIniFile->RemoveSection(section);
    m_bModified = 1;
}

// The exported forms without sizes: the caller's buffer holds whatever the store holds,
// so the bound is only what the store can hold.
int CIni::SetValue(const char* section, const char* key, char* value) {
    return SetValue(section, key, static_cast<const char*>(value));
}

int CIni::GetValue(const char* section, const char* key, char* out) {
    return GetValue(section, key, out, SIZE_MAX);
}

void CIni::GetValue(const char* section, const char* key, char* out, int index) {
    GetValue(section, key, out, SIZE_MAX, index);
}

int CIni::GetAllValues(const char* section, char* out) {
    return GetAllValues(section, out, SIZE_MAX);
}
