#include "platform/registry.h"

#include <cstdint>
#include <cstring>
#include <new>

#include "platform/bounded_text.h"
#include "platform/inifile.h"
#include "platform/windows_version.h"

namespace {

// "Not set yet": the value every request field holds until the first request.
constexpr std::uintptr_t kNotSet = 80808080;

constexpr char kFallbackIniName[] = "search.ini";

template <typename T> T NotSet() {
    return reinterpret_cast<T>(kNotSet);
}

bool CanOpenForReading(const char* path) {
    HANDLE file = ::CreateFileA(path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    ::CloseHandle(file);
    return true;
}

// A "search.ini" beside the program's current directory wins, so a setup started from
// the CD keeps its fallback values next to the CD's own settings; otherwise the file
// lives in the Windows directory. An unusable Windows directory leaves the path empty,
// which makes every fallback access fail instead of writing somewhere unexpected.
void ChooseFallbackIni(char* path) {
    path[0] = '\0';
    if (CanOpenForReading(kFallbackIniName)) {
        bounded::Copy(path, bounded::kPathSize, kFallbackIniName);
        return;
    }
    UINT length = ::GetWindowsDirectoryA(path, bounded::kPathSize);
    if (length == 0 || length >= bounded::kPathSize ||
        !bounded::EnsureTrailingBackslash(path, bounded::kPathSize) ||
        !bounded::Append(path, bounded::kPathSize, kFallbackIniName))
        path[0] = '\0';
}

// Registry data need not end with a terminator (REG_SZ written by other programs, or
// non-string types): the caller gets it terminated, and it must fit with that byte.
std::size_t TerminatedSize(const char* data, DWORD size) {
    if (size > 0 && data[size - 1] == '\0')
        return size;
    return static_cast<std::size_t>(size) + 1;
}

} // namespace

CRegistry::CRegistry()
    : requestRoot_(NotSet<HKEY>()), requestKeyPath_(NotSet<const char*>()),
      requestValueName_(NotSet<const char*>()), requestAccess_(static_cast<REGSAM>(kNotSet)),
      openedKey_(NotSet<HKEY>()), valueType_(static_cast<DWORD>(kNotSet)),
      dataSize_(static_cast<DWORD>(kNotSet)), disposition_(static_cast<DWORD>(kNotSet)),
      platformId_(windows_version::PlatformId()), fallbackIni_(new char[bounded::kPathSize]) {
    ChooseFallbackIni(fallbackIni_.get());
}

CRegistry::~CRegistry() = default;

void CRegistry::BeginRequest(HKEY root, const char* keyPath, const char* valueName, REGSAM access) {
    requestRoot_ = root;
    requestKeyPath_ = keyPath;
    requestValueName_ = valueName;
    requestAccess_ = access;
}

int CRegistry::CloseOpenedKey() {
    if (openedKey_ == NotSet<HKEY>())
        return 0;
    const LONG status = ::RegCloseKey(openedKey_);
    openedKey_ = NotSet<HKEY>();
    return status == ERROR_SUCCESS ? 1 : 0;
}

int CRegistry::OpenKeyForWriting() {
    // The class name is only stored with newly created keys; the API wants it writable.
    char keyClass[] = "Application Global Data";
    HKEY key = nullptr;
    DWORD disposition = 0;
    if (::RegCreateKeyExA(requestRoot_, requestKeyPath_, 0, keyClass, REG_OPTION_NON_VOLATILE,
                          requestAccess_, nullptr, &key, &disposition) != ERROR_SUCCESS)
        return 0;
    openedKey_ = key;
    disposition_ = disposition;
    return 1;
}

// Reads the opened key's value into a scratch buffer, so that the caller's buffer changes
// only when everything has succeeded and the value fits.
int CRegistry::ReadOpenedValue(std::size_t limit, std::unique_ptr<char[]>& data) {
    DWORD type = 0;
    DWORD size = 0;
    if (::RegQueryValueExA(openedKey_, requestValueName_, nullptr, &type, nullptr, &size) !=
        ERROR_SUCCESS)
        return 0;
    valueType_ = type;
    dataSize_ = size;
    if (size > limit)
        return 0;

    data.reset(new (std::nothrow) char[size + 1]);
    if (!data)
        return 0;
    if (::RegQueryValueExA(openedKey_, requestValueName_, nullptr, &type,
                           reinterpret_cast<BYTE*>(data.get()), &size) != ERROR_SUCCESS)
        return 0;
    valueType_ = type;
    dataSize_ = size;
    return 1;
}

int CRegistry::GetString(HKEY root, const char* keyPath, const char* valueName, char* out,
                         std::size_t outSize, REGSAM access) {
    if (UsesFallbackIni())
        return ReadIniString(keyPath, valueName, out, outSize, nullptr);

    BeginRequest(root, keyPath, valueName, access);
    if (out == nullptr || outSize == 0)
        return 0;
    HKEY key = nullptr;
    if (::RegOpenKeyExA(root, keyPath, 0, access, &key) != ERROR_SUCCESS)
        return 0;
    openedKey_ = key;

    std::unique_ptr<char[]> data;
    const int read = ReadOpenedValue(outSize, data);
    const int closed = CloseOpenedKey();
    if (!read || !closed)
        return 0;
    const std::size_t needed = TerminatedSize(data.get(), dataSize_);
    if (needed > outSize)
        return 0;
    std::memcpy(out, data.get(), dataSize_);
    out[needed - 1] = '\0';
    return 1;
}

int CRegistry::SetString(HKEY root, const char* keyPath, const char* valueName, const char* value,
                         REGSAM access) {
    if (UsesFallbackIni())
        return WriteIniString(keyPath, valueName, value, nullptr);

    BeginRequest(root, keyPath, valueName, access);
    if (value == nullptr)
        value = "";
    if (!OpenKeyForWriting())
        return 0;
    dataSize_ = static_cast<DWORD>(std::strlen(value) + 1);
    valueType_ = REG_SZ;
    const bool set =
        ::RegSetValueExA(openedKey_, valueName, 0, REG_SZ, reinterpret_cast<const BYTE*>(value),
                         dataSize_) == ERROR_SUCCESS;
    const bool closed = CloseOpenedKey() == 1;
    const bool flushed = ::RegFlushKey(root) == ERROR_SUCCESS;
    return set && closed && flushed ? 1 : 0;
}

int CRegistry::SetDWord(HKEY root, const char* keyPath, const char* valueName, DWORD value,
                        REGSAM access) {
    BeginRequest(root, keyPath, valueName, access);
    if (!OpenKeyForWriting())
        return 0;
    dataSize_ = sizeof value;
    valueType_ = REG_DWORD;
    const bool set =
        ::RegSetValueExA(openedKey_, valueName, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value),
                         dataSize_) == ERROR_SUCCESS;
    const bool closed = CloseOpenedKey() == 1;
    const bool flushed = ::RegFlushKey(root) == ERROR_SUCCESS;
    return set && closed && flushed ? 1 : 0;
}

int CRegistry::ReadIniString(const char* section, const char* key, char* out, std::size_t outSize,
                             const char* iniFile) {
    if (key == nullptr || out == nullptr || outSize == 0)
        return 0;
    inifile::IniFile* ini = nullptr;
    const char* path = iniFile ? iniFile : fallbackIni_.get();
    if (inifile::IniFile::Load(path, inifile::OpenMode::ReadOnly, &ini) != inifile::kOk)
        return 0;

    const char* value = nullptr;
    int result = 0;
    if (ini->Find(section, key, &value) == inifile::kOk) {
        result = 1;
        if (value != nullptr && value[0] != '\0') {
            // Whole or not at all; Copy would empty `out`, which must stay as it was.
            if (std::strlen(value) < outSize)
                bounded::Copy(out, outSize, value);
            else
                result = 0;
        }
    }
    inifile::IniFile::Release(ini);
    return result;
}

int CRegistry::WriteIniString(const char* section, const char* key, const char* value,
                              const char* iniFile) {
    if (section == nullptr || key == nullptr)
        return 0;
    inifile::IniFile* ini = nullptr;
    const char* path = iniFile ? iniFile : fallbackIni_.get();
    if (inifile::IniFile::Load(path, inifile::OpenMode::CreateReadWrite, &ini) != inifile::kOk)
        return 0;
    const int set = ini->Set(section, key, value);
    ini->Save(); // a failed save is not reported: the value was set as asked
    inifile::IniFile::Release(ini);
    return set == inifile::kOk ? 1 : 0;
}
