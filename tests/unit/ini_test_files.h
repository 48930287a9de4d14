// Scratch folders, whole-file reads and writes, and a printable form of a loaded store,
// shared by the INI store's tests.
#pragma once

#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <string>

#include "platform/inifile.h"

namespace ini_test {

// A fresh folder of its own per test, removed with everything in it afterwards.
class ScratchDir {
public:
    ScratchDir() {
        std::random_device seed;
        auto base = std::filesystem::temp_directory_path();
        for (;;) {
            path_ = base / ("lumora-ini-" + std::to_string(seed()));
            if (std::filesystem::create_directory(path_))
                break;
        }
    }
    ~ScratchDir() {
        std::error_code ignored;
        MakeWritable(path_);
        std::filesystem::remove_all(path_, ignored);
    }
    ScratchDir(const ScratchDir&) = delete;
    ScratchDir& operator=(const ScratchDir&) = delete;

    std::string File(const char* name) const { return (path_ / name).string(); }
    std::string Path() const { return path_.string(); }

private:
    std::filesystem::path path_;

    // Read-only test files would otherwise survive the clean-up under Windows.
    static void MakeWritable(const std::filesystem::path& dir) {
        std::error_code ignored;
        for (auto& item : std::filesystem::recursive_directory_iterator(dir, ignored))
            std::filesystem::permissions(item.path(), std::filesystem::perms::owner_write,
                                         std::filesystem::perm_options::add, ignored);
    }
};

inline std::string ReadBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

inline void WriteBytes(const std::string& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes;
}

// Every section and entry in order: "[name]" ("[<leading>]" for the leading one),
// "key=value" and "comment:text", one per line; CR LF inside values shown as "|".
inline std::string Dump(const inifile::IniFile& ini) {
    struct Printer : inifile::IniVisitor {
        std::string text;
        static std::string Visible(std::string value) {
            for (std::size_t at; (at = value.find("\r\n")) != std::string::npos;)
                value.replace(at, 2, "|");
            return value;
        }
        void OnSection(const char* name) override {
            text += name ? "[" + std::string(name) + "]\n" : "[<leading>]\n";
        }
        void OnEntry(const char* key, const char* value) override {
            text += key ? std::string(key) + "=" : std::string("comment:");
            text += Visible(value) + "\n";
        }
    } printer;
    ini.Walk(printer);
    return printer.text;
}

// A host path as a test program sees it: under Wine the host's files are reached
// through drive Z:.
inline std::string HostPath(std::string path) {
#if defined(_WIN32)
    if (!path.empty() && path[0] == '/') {
        for (char& c : path)
            c = c == '/' ? '\\' : c;
        path = "Z:" + path;
    }
#endif
    return path;
}

} // namespace ini_test
