// Reads a .lnk file back through the shell's own link object, as the setup does when it
// looks for an earlier installation. Header-only: shared by the test programs that make
// links (install.dll, Program Manager items).
#pragma once

#include <windows.h>

#include <objbase.h>
#include <shlobj.h>
#include <shobjidl.h>

#include <string>

struct ShellLinkFields {
    bool loaded = false;
    std::string path;
    std::string workingDirectory;
    std::string description;
    std::string iconPath;
    int iconIndex = -1;
};

inline ShellLinkFields ReadShellLink(const std::string& linkFile) {
    ShellLinkFields fields;
    WCHAR widePath[MAX_PATH + 1];
    if (MultiByteToWideChar(CP_ACP, 0, linkFile.c_str(), -1, widePath, MAX_PATH + 1) == 0)
        return fields;
    bool initialised = SUCCEEDED(CoInitialize(nullptr));
    IShellLinkA* link = nullptr;
    if (SUCCEEDED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA,
                                   reinterpret_cast<void**>(&link)))) {
        IPersistFile* file = nullptr;
        if (SUCCEEDED(link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file)))) {
            if (SUCCEEDED(file->Load(widePath, STGM_READ))) {
                char text[1024] = "";
                fields.loaded = true;
                if (SUCCEEDED(link->GetPath(text, sizeof text, nullptr, SLGP_RAWPATH)))
                    fields.path = text;
                text[0] = '\0';
                if (SUCCEEDED(link->GetWorkingDirectory(text, sizeof text)))
                    fields.workingDirectory = text;
                text[0] = '\0';
                if (SUCCEEDED(link->GetDescription(text, sizeof text)))
                    fields.description = text;
                text[0] = '\0';
                if (SUCCEEDED(link->GetIconLocation(text, sizeof text, &fields.iconIndex)))
                    fields.iconPath = text;
            }
            file->Release();
        }
        link->Release();
    }
    if (initialised)
        CoUninitialize();
    return fields;
}
