// initool: reads and edits INI files of the setup's own format from the command line,
// through the same CIni object the setup uses.
//
// Exit codes: 0 success, 1 no such key (get) or an edit refused, 2 the file cannot be
// loaded, 64 usage error.
//
// set and delete behave as the setup does: a missing file is created, a file that does
// not load is left untouched, and the edits to a read-only file are lost silently. get,
// list and check never create a file: a missing one is a file that cannot be loaded.
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <vector>

#if defined(_WIN32)
#include <fcntl.h>
#include <io.h>
#endif

#include "platform/ini.h"
#include "platform/inifile.h"

namespace {

constexpr int kExitOk = 0;
constexpr int kExitNotFound = 1;
constexpr int kExitNoFile = 2;
constexpr int kExitUsage = 64;

int Usage() {
    std::fputs("usage: initool get FILE SECTION KEY [INDEX]\n"
               "       initool set FILE SECTION KEY VALUE\n"
               "       initool delete FILE SECTION [KEY]\n"
               "       initool list FILE SECTION\n"
               "       initool check FILE\n",
               stderr);
    return kExitUsage;
}

// Size of an existing file, or -1 when it cannot be opened for reading. CIni would
// create a missing file, which reading commands must not do.
long ReadableSize(const char* fileName) {
    std::FILE* file = std::fopen(fileName, "rb");
    if (!file)
        return -1;
    long size = -1;
    if (std::fseek(file, 0, SEEK_END) == 0)
        size = std::ftell(file);
    std::fclose(file);
    return size;
}

int CannotLoad(const char* fileName) {
    std::fprintf(stderr, "initool: %s: cannot load the file (try initool check)\n", fileName);
    return kExitNoFile;
}

// No value, and no list of values, is longer than the file holding it.
std::vector<char> BufferFor(long fileSize) {
    return std::vector<char>(static_cast<std::size_t>(fileSize) + 1);
}

bool ParseIndex(const char* text, int* index) {
    char* end = nullptr;
    long value = std::strtol(text, &end, 10);
    if (end == text || *end != '\0' || value < 0 || value > 1000000)
        return false;
    *index = static_cast<int>(value);
    return true;
}

// The reading commands never create a file (CIni would make a missing one empty); on
// success `buffer` has room for any value or listing of the file.
bool OpenExisting(const char* fileName, std::unique_ptr<CIni>& ini, std::vector<char>& buffer) {
    long size = ReadableSize(fileName);
    if (size < 0)
        return false;
    ini = std::make_unique<CIni>(fileName);
    if (!ini->Status())
        return false;
    buffer = BufferFor(size);
    return true;
}

int Get(const char* fileName, const char* section, const char* key, const char* indexText) {
    int index = 0;
    if (indexText && !ParseIndex(indexText, &index))
        return Usage();
    std::unique_ptr<CIni> ini;
    std::vector<char> value;
    if (!OpenExisting(fileName, ini, value))
        return CannotLoad(fileName);
    bool found = false;
    if (index < 1) {
        found = ini->GetValue(section, key, value.data(), value.size()) != 0;
    } else {
        ini->GetValue(section, key, value.data(), value.size(), index);
        // The indexed read returns no result: an empty value still counts as present
        // when the key it falls back to exists.
        found = value[0] != '\0';
        if (!found) {
            char indexed[128];
            std::vector<char> probe(1);
            std::snprintf(indexed, sizeof indexed, "%s(%d)", key, index);
            found = ini->GetValue(section, indexed, probe.data(), probe.size()) != 0 ||
                    (index == 1 && ini->GetValue(section, key, probe.data(), probe.size()));
        }
    }
    if (!found)
        return kExitNotFound;
    std::printf("%s\n", value.data());
    return kExitOk;
}

int Set(const char* fileName, const char* section, const char* key, const char* value) {
    CIni ini(fileName); // created when missing, as the setup does
    if (!ini.Status())
        return CannotLoad(fileName);
    if (!ini.SetValue(section, key, value)) {
        std::fprintf(stderr, "initool: the value cannot be stored in %s\n", fileName);
        return kExitNotFound;
    }
    return kExitOk;
}

int Delete(const char* fileName, const char* section, const char* key) {
    CIni ini(fileName);
    if (!ini.Status())
        return CannotLoad(fileName);
    if (key)
        ini.DeleteValue(section, key);
    else
        ini.DeleteSection(section);
    return kExitOk;
}

int List(const char* fileName, const char* section) {
    std::unique_ptr<CIni> ini;
    std::vector<char> text;
    if (!OpenExisting(fileName, ini, text))
        return CannotLoad(fileName);
    ini->GetAllValues(section, text.data(), text.size());
    std::printf("%s\n", text.data());
    return kExitOk;
}

int Check(const char* fileName) {
    inifile::IniFile* store = nullptr;
    inifile::LoadDiagnostic diag;
    int result = inifile::IniFile::Load(fileName, inifile::OpenMode::ReadOnly, &store, &diag);
    if (result == inifile::kOk) {
        inifile::IniFile::Release(store);
        return kExitOk;
    }
    if (diag.line > 0)
        std::fprintf(stderr, "%s:%d: %s\n", fileName, diag.line, diag.reason);
    else
        std::fprintf(stderr, "%s: %s\n", fileName,
                     result == inifile::kCannotOpen ? "cannot open the file" : diag.reason);
    return kExitNoFile;
}

} // namespace

int main(int argc, char** argv) {
#if defined(_WIN32)
    // Values end with one LF on every platform, as scripts reading them expect.
    _setmode(_fileno(stdout), _O_BINARY);
#endif
    if (argc < 3)
        return Usage();
    const char* command = argv[1];
    const char* file = argv[2];
    if (std::strcmp(command, "get") == 0 && (argc == 5 || argc == 6))
        return Get(file, argv[3], argv[4], argc == 6 ? argv[5] : nullptr);
    if (std::strcmp(command, "set") == 0 && argc == 6)
        return Set(file, argv[3], argv[4], argv[5]);
    if (std::strcmp(command, "delete") == 0 && (argc == 4 || argc == 5))
        return Delete(file, argv[3], argc == 5 ? argv[4] : nullptr);
    if (std::strcmp(command, "list") == 0 && argc == 4)
        return List(file, argv[3]);
    if (std::strcmp(command, "check") == 0 && argc == 3)
        return Check(file);
    return Usage();
}
