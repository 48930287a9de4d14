// view_ocx.ocx as the setup and a browser use it: loaded by path and registered through
// its standard export, then created by COM from the registry alone; unregistering takes
// the keys away again.
#include <windows.h>

#include <objbase.h>

#include <gtest/gtest.h>

#include <string>

#include "product/view_ocx/viewer_ids.h"

namespace {

using ServerFunction = HRESULT(STDAPICALLTYPE*)();

ServerFunction Export(HMODULE library, const char* name) {
    FARPROC entry = GetProcAddress(library, name);
    return reinterpret_cast<ServerFunction>(reinterpret_cast<void*>(entry));
}

bool KeyExists(const std::string& key) {
    HKEY handle = nullptr;
    if (RegOpenKeyExA(HKEY_CLASSES_ROOT, key.c_str(), 0, KEY_READ, &handle) != ERROR_SUCCESS)
        return false;
    RegCloseKey(handle);
    return true;
}

// A string value under HKEY_CLASSES_ROOT; "<missing>" when it cannot be read.
std::string ClassesValue(const std::string& key, const char* name) {
    char data[1024] = "";
    DWORD size = sizeof data;
    if (RegGetValueA(HKEY_CLASSES_ROOT, key.c_str(), name, RRF_RT_REG_SZ, nullptr, data, &size) !=
        ERROR_SUCCESS)
        return "<missing>";
    return data;
}

class ViewOcx : public ::testing::Test {
protected:
    void SetUp() override {
        library = LoadLibraryA(LUMORA_VIEW_OCX);
        ASSERT_NE(nullptr, library);
        char path[MAX_PATH + 1] = "";
        GetModuleFileNameA(library, path, sizeof path);
        modulePath = path;
        ASSERT_EQ(S_OK, CoInitialize(nullptr));
    }
    void TearDown() override {
        if (ServerFunction unregister = Export(library, "DllUnregisterServer"))
            unregister();
        CoUninitialize();
        FreeLibrary(library);
    }

    HMODULE library = nullptr;
    std::string modulePath;
    const std::string classKey = std::string("CLSID\\") + viewer::kClsidText;
};

TEST_F(ViewOcx, RegistersItsOwnPathAndIsCreatedByCom) {
    ServerFunction registerServer = Export(library, "DllRegisterServer");
    ASSERT_NE(nullptr, registerServer);
    ASSERT_EQ(S_OK, registerServer());

    EXPECT_EQ(viewer::kName, ClassesValue(classKey, nullptr));
    EXPECT_EQ(modulePath, ClassesValue(classKey + "\\InprocServer32", nullptr));
    EXPECT_EQ("Apartment", ClassesValue(classKey + "\\InprocServer32", "ThreadingModel"));
    EXPECT_EQ(viewer::kProgId, ClassesValue(classKey + "\\ProgID", nullptr));
    EXPECT_EQ(viewer::kClsidText, ClassesValue(std::string(viewer::kProgId) + "\\CLSID", nullptr));

    CLSID fromProgId = {};
    WCHAR progId[64];
    MultiByteToWideChar(CP_ACP, 0, viewer::kProgId, -1, progId, 64);
    ASSERT_EQ(S_OK, CLSIDFromProgID(progId, &fromProgId));
    EXPECT_TRUE(IsEqualCLSID(viewer::kClsid, fromProgId));

    IUnknown* control = nullptr;
    ASSERT_EQ(S_OK, CoCreateInstance(viewer::kClsid, nullptr, CLSCTX_INPROC_SERVER, IID_IUnknown,
                                     reinterpret_cast<void**>(&control)));
    IClassFactory* notAFactory = nullptr;
    EXPECT_EQ(E_NOINTERFACE,
              control->QueryInterface(IID_IClassFactory, reinterpret_cast<void**>(&notAFactory)));
    EXPECT_EQ(nullptr, notAFactory);

    // The module stays while an object lives, and may go once the last one is released.
    ServerFunction canUnload = Export(library, "DllCanUnloadNow");
    ASSERT_NE(nullptr, canUnload);
    EXPECT_EQ(S_FALSE, canUnload());
    EXPECT_EQ(0u, control->Release());
    EXPECT_EQ(S_OK, canUnload());
}

TEST_F(ViewOcx, UnregisteringRemovesTheKeysAndTheClass) {
    ASSERT_EQ(S_OK, Export(library, "DllRegisterServer")());
    ASSERT_TRUE(KeyExists(classKey));
    ASSERT_EQ(S_OK, Export(library, "DllUnregisterServer")());
    EXPECT_FALSE(KeyExists(classKey));
    EXPECT_FALSE(KeyExists(viewer::kProgId));

    IUnknown* control = nullptr;
    EXPECT_EQ(REGDB_E_CLASSNOTREG,
              CoCreateInstance(viewer::kClsid, nullptr, CLSCTX_INPROC_SERVER, IID_IUnknown,
                               reinterpret_cast<void**>(&control)));
    // Twice is no error: there is nothing left to remove.
    EXPECT_EQ(S_OK, Export(library, "DllUnregisterServer")());
}

} // namespace
