// Scratch folders and small file helpers shared by the platform tests under Wine.
#pragma once

#include <windows.h>

#include <string>

namespace platform_test {

inline std::string CurrentDir() {
    char buffer[MAX_PATH + 1] = "";
    ::GetCurrentDirectoryA(sizeof buffer, buffer);
    return buffer;
}

inline bool Exists(const std::string& path) {
    return ::GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

inline bool IsDir(const std::string& path) {
    const DWORD attributes = ::GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

inline bool IsReadOnly(const std::string& path) {
    const DWORD attributes = ::GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY);
}

inline void WriteFile(const std::string& path, const std::string& text, bool readOnly = false) {
    HANDLE file = ::CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                FILE_ATTRIBUTE_NORMAL, nullptr);
    DWORD written = 0;
    ::WriteFile(file, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
    ::CloseHandle(file);
    if (readOnly)
        ::SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_READONLY);
}

inline std::string ReadFile(const std::string& path) {
    HANDLE file = ::CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                0, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return "<missing>";
    std::string text;
    char buffer[4096];
    DWORD got = 0;
    while (::ReadFile(file, buffer, sizeof buffer, &got, nullptr) && got > 0)
        text.append(buffer, got);
    ::CloseHandle(file);
    return text;
}

// Removes a tree whatever its attributes; independent of the code under test.
inline void RemoveTree(const std::string& dir) {
    WIN32_FIND_DATAA entry;
    HANDLE find = ::FindFirstFileA((dir + "\\*").c_str(), &entry);
    if (find != INVALID_HANDLE_VALUE) {
        do {
            const std::string name = entry.cFileName;
            if (name == "." || name == "..")
                continue;
            const std::string path = dir + "\\" + name;
            ::SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
            if (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
                RemoveTree(path);
            else
                ::DeleteFileA(path.c_str());
        } while (::FindNextFileA(find, &entry));
        ::FindClose(find);
    }
    ::RemoveDirectoryA(dir.c_str());
}

// A fresh folder under the temporary directory, removed with its contents at the end;
// the current directory found at construction is restored first.
class ScratchDir {
public:
    explicit ScratchDir(const char* tag) : saved_(CurrentDir()) {
        char temp[MAX_PATH + 1] = "";
        ::GetTempPathA(sizeof temp, temp);
        static int counter = 0;
        path_ = std::string(temp) + "lumora_" + tag + "_" +
                std::to_string(::GetCurrentProcessId()) + "_" + std::to_string(++counter);
        RemoveTree(path_);
        ::CreateDirectoryA(path_.c_str(), nullptr);
    }
    ~ScratchDir() {
        ::SetCurrentDirectoryA(saved_.c_str());
        RemoveTree(path_);
    }
    ScratchDir(const ScratchDir&) = delete;
    ScratchDir& operator=(const ScratchDir&) = delete;

    const std::string& Path() const { return path_; }
    std::string operator/(const std::string& name) const { return path_ + "\\" + name; }
    const std::string& SavedDir() const { return saved_; }

private:
    std::string saved_;
    std::string path_;
};

} // namespace platform_test
