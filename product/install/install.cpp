// CreateLink: makes a standard shell link file through the shell's own link object, so
// the shell, and a later setup run that reads the link back, find everything in it.
#include <windows.h>

#include <objbase.h>
#include <shlobj.h>
#include <shobjidl.h>

#include <cstring>

namespace {

// Path buffers hold 260 characters and the terminator, as everywhere in the setup.
constexpr std::size_t kPathSize = MAX_PATH + 1;

// The folder part of `program` (without the last backslash and what follows); empty when
// the program has no folder. False when `program` does not fit the buffer.
bool FolderOf(const char* program, char (&folder)[kPathSize]) {
    std::size_t length = strnlen(program, kPathSize);
    if (length >= kPathSize)
        return false;
    std::memcpy(folder, program, length + 1);
    char* lastSeparator = std::strrchr(folder, '\\');
    if (lastSeparator == nullptr)
        folder[0] = '\0';
    else if (lastSeparator == folder + 2 && folder[1] == ':')
        lastSeparator[1] = '\0'; // "C:\app.exe" works in "C:\", not in the drive's current folder
    else
        *lastSeparator = '\0';
    return true;
}

// IPersistFile::Save wants UTF-16; the setup's paths are in the ANSI code page.
bool WidenPath(const char* path, WCHAR (&wide)[kPathSize]) {
    if (strnlen(path, kPathSize) >= kPathSize)
        return false;
    return MultiByteToWideChar(CP_ACP, 0, path, -1, wide, static_cast<int>(kPathSize)) > 0;
}

bool FillLink(IShellLinkA* link, const char* program, const char* folder, const char* description,
              const char* iconPath) {
    return SUCCEEDED(link->SetPath(program)) && SUCCEEDED(link->SetWorkingDirectory(folder)) &&
           SUCCEEDED(link->SetDescription(description)) &&
           SUCCEEDED(link->SetIconLocation(iconPath, 0));
}

bool SaveLink(IShellLinkA* link, const WCHAR* linkPath) {
    IPersistFile* file = nullptr;
    if (FAILED(link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file))))
        return false;
    bool saved = SUCCEEDED(file->Save(linkPath, TRUE));
    file->Release();
    return saved;
}

const char* OrEmpty(const char* text) {
    return text != nullptr ? text : "";
}

} // namespace

// Makes the shortcut `linkPath` that starts `program` in the program's own folder, with
// `description` and the first icon of `iconPath`. 1 when the link file was written, else 0.
extern "C" int __cdecl CreateLink(const char* program, const char* linkPath,
                                  const char* description, const char* iconPath) {
    if (program == nullptr || program[0] == '\0' || linkPath == nullptr)
        return 0;
    char folder[kPathSize];
    WCHAR wideLinkPath[kPathSize];
    if (!FolderOf(program, folder) || !WidenPath(linkPath, wideLinkPath))
        return 0;

    // The setup does not keep COM initialised; a caller that has it keeps its own model.
    bool initialised = SUCCEEDED(CoInitialize(nullptr));
    bool made = false;
    IShellLinkA* link = nullptr;
    if (SUCCEEDED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA,
                                   reinterpret_cast<void**>(&link)))) {
        made = FillLink(link, program, folder, OrEmpty(description), OrEmpty(iconPath)) &&
               SaveLink(link, wideLinkPath);
        link->Release();
    }
    if (initialised)
        CoUninitialize();
    return made ? 1 : 0;
}
