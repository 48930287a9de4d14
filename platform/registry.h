// CRegistry: every registry read and write of the installation. On the Win32s platform
// (GetVersionExA reports platform 0) string values live in a fallback INI file instead,
// with the key path as section and the value name as key; DWORDs always use the registry.
//
// Error contract: every operation returns 1 for success and 0 for failure; a failed
// read leaves `out` as it was. No messages.
#pragma once

#include <windows.h>

#include <cstddef>
#include <memory>

class CRegistry {
public:
    CRegistry();
    ~CRegistry();
    CRegistry(const CRegistry&) = delete;
    CRegistry& operator=(const CRegistry&) = delete;

    // Never writes past out[outSize-1]: a value that does not fit fails with 0 and
    // leaves `out` unchanged.
    int GetString(HKEY root, const char* keyPath, const char* valueName, char* out,
                  std::size_t outSize, REGSAM access);
    int SetString(HKEY root, const char* keyPath, const char* valueName, const char* value,
                  REGSAM access);
    int SetDWord(HKEY root, const char* keyPath, const char* valueName, DWORD value, REGSAM access);
    // iniFile null means the fallback INI file. ReadIniString never creates the file.
    int ReadIniString(const char* section, const char* key, char* out, std::size_t outSize,
                      const char* iniFile);
    int WriteIniString(const char* section, const char* key, const char* value,
                       const char* iniFile);

private:
    void BeginRequest(HKEY root, const char* keyPath, const char* valueName, REGSAM access);
    int OpenKeyForWriting();
    int CloseOpenedKey();
    int ReadOpenedValue(std::size_t limit, std::unique_ptr<char[]>& data);
    bool UsesFallbackIni() const { return platformId_ == VER_PLATFORM_WIN32s; }

    // The last request, kept between calls; the marker value until the first one.
    HKEY requestRoot_;
    const char* requestKeyPath_;
    const char* requestValueName_;
    REGSAM requestAccess_;
    HKEY openedKey_;
    DWORD valueType_;
    DWORD dataSize_;
    DWORD disposition_;

    DWORD platformId_;
    std::unique_ptr<char[]> fallbackIni_;
};
