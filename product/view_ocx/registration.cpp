// Self-registration: the class under HKEY_CLASSES_ROOT\CLSID with this module's own full
// path as its in-process server, and the ProgID that names it. Unregistering removes
// exactly these keys and leaves anything else alone.
#include <windows.h>

#include <olectl.h>

#include <cstdio>
#include <cstring>

#include "product/view_ocx/server.h"
#include "product/view_ocx/viewer_ids.h"

namespace {

// The longest key built here is "CLSID\{...}\InprocServer32", far below this size.
constexpr std::size_t kKeySize = 128;

struct KeyName {
    char text[kKeySize];
};

// "CLSID\{guid}" followed by `below` when it is given.
KeyName ClassKey(const char* below) {
    KeyName key;
    std::snprintf(key.text, sizeof key.text, "CLSID\\%s%s%s", viewer::kClsidText,
                  below != nullptr ? "\\" : "", below != nullptr ? below : "");
    return key;
}

KeyName ProgIdKey(const char* below) {
    KeyName key;
    std::snprintf(key.text, sizeof key.text, "%s%s%s", viewer::kProgId,
                  below != nullptr ? "\\" : "", below != nullptr ? below : "");
    return key;
}

// Creates `key` under HKEY_CLASSES_ROOT when needed and sets one string value there
// (`name` null for the key's default value).
bool SetString(const char* key, const char* name, const char* data) {
    HKEY handle = nullptr;
    if (RegCreateKeyExA(HKEY_CLASSES_ROOT, key, 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_SET_VALUE,
                        nullptr, &handle, nullptr) != ERROR_SUCCESS)
        return false;
    DWORD size = static_cast<DWORD>(std::strlen(data) + 1);
    bool set = RegSetValueExA(handle, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(data), size) ==
               ERROR_SUCCESS;
    RegCloseKey(handle);
    return set;
}

// A key that is already gone counts as removed.
bool RemoveKey(const char* key) {
    LONG result = RegDeleteKeyA(HKEY_CLASSES_ROOT, key);
    return result == ERROR_SUCCESS || result == ERROR_FILE_NOT_FOUND;
}

bool RemoveRegistration() {
    // Subkeys first: a key with subkeys cannot be deleted. Every removal is tried.
    bool removed = RemoveKey(ClassKey("InprocServer32").text);
    removed = RemoveKey(ClassKey("ProgID").text) && removed;
    removed = RemoveKey(ClassKey(nullptr).text) && removed;
    removed = RemoveKey(ProgIdKey("CLSID").text) && removed;
    removed = RemoveKey(ProgIdKey(nullptr).text) && removed;
    return removed;
}

} // namespace

STDAPI DllRegisterServer() {
    // COM loads the server from the registered path, wherever the caller loaded it from.
    char modulePath[MAX_PATH + 1];
    DWORD length = GetModuleFileNameA(viewer::ModuleHandle(), modulePath, sizeof modulePath);
    if (length == 0 || length >= sizeof modulePath)
        return SELFREG_E_CLASS;

    bool registered = SetString(ClassKey(nullptr).text, nullptr, viewer::kName) &&
                      SetString(ClassKey("InprocServer32").text, nullptr, modulePath) &&
                      SetString(ClassKey("InprocServer32").text, "ThreadingModel", "Apartment") &&
                      SetString(ClassKey("ProgID").text, nullptr, viewer::kProgId) &&
                      SetString(ProgIdKey(nullptr).text, nullptr, viewer::kName) &&
                      SetString(ProgIdKey("CLSID").text, nullptr, viewer::kClsidText);
    if (registered)
        return S_OK;
    // Half a registration would point COM at a class it cannot fully find.
    RemoveRegistration();
    return SELFREG_E_CLASS;
}

STDAPI DllUnregisterServer() {
    return RemoveRegistration() ? S_OK : SELFREG_E_CLASS;
}
