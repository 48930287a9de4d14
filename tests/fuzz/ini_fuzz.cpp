// Fuzz target of the INI store. The file reader, which refills a 1024-byte buffer
// mid-line and between the CR and LF of one terminator, must read every input as the
// memory reader does. Whatever loads must survive a save unchanged: it is saved, loaded
// again from the file, and must give the same sections, keys and values in the same
// order; saving that again must give the same bytes. The input's first byte chooses the
// code page the store reads its names in.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <set>
#include <string>

#include <unistd.h>

#include "platform/code_page.h"
#include "platform/inifile.h"
#include "tests/unit/ini_test_files.h"

using inifile::IniFile;

namespace {

// One scratch file per fuzzing process, removed when it exits. The process id makes it
// unique: fuzzers started at the same time (a test run beside a long fuzzing session)
// would otherwise rewrite each other's file between a save and its reload.
struct ScratchFile {
    std::string path;
    ScratchFile() {
        path = (std::filesystem::temp_directory_path() /
                ("lumora-ini-fuzz-" + std::to_string(getpid()) + ".ini"))
                   .string();
    }
    ~ScratchFile() { std::remove(path.c_str()); }
};

const chars::CodePage* const kPages[] = {&chars::kSingleByte, &chars::kJapanese,
                                         &chars::kSimplifiedChinese, &chars::kKorean,
                                         &chars::kTraditionalChinese};

[[noreturn]] void Fail(const char* what, const std::string& a, const std::string& b) {
    std::fprintf(stderr, "%s\n--- first ---\n%s\n--- second ---\n%s\n", what, a.c_str(), b.c_str());
    std::abort();
}

// Marks the store changed without changing its content, so that Save writes it.
void Touch(IniFile* ini) {
    std::string name;
    const char* value = nullptr;
    for (int i = 0;; ++i) {
        name = "probe" + std::to_string(i);
        if (ini->Find(name.c_str(), "k", &value) == inifile::kNoSection)
            break;
    }
    if (ini->Set(name.c_str(), "k", "v") != inifile::kOk ||
        ini->RemoveSection(name.c_str()) != inifile::kOk)
        std::abort();
}

// Every key of the first section of each name is found (a later section of the same
// name is never searched).
void CheckLookups(const IniFile& ini, const chars::CodePage& page) {
    struct Lookups : inifile::IniVisitor {
        const IniFile& ini;
        const chars::CodePage& page;
        const char* section = nullptr;
        bool firstOfName = true;
        std::set<std::string> seen;
        Lookups(const IniFile& store, const chars::CodePage& codePage)
            : ini(store), page(codePage) {}
        void OnSection(const char* name) override {
            section = name;
            std::string lower = name ? name : "";
            chars::LowerAscii(&lower[0], page);
            firstOfName = !name || seen.insert(lower).second;
        }
        void OnEntry(const char* key, const char* /*value*/) override {
            const char* found = nullptr;
            if (key && firstOfName && ini.Find(section, key, &found) != inifile::kOk)
                Fail("key not found", section ? section : "<leading>", key);
        }
    } lookups(ini, page);
    ini.Walk(lookups);
}

std::string SaveAndRead(IniFile* ini, const std::string& path) {
    Touch(ini);
    if (ini->Save() != inifile::kOk)
        Fail("save failed", path, "");
    return ini_test::ReadBytes(path);
}

// Loads the saved file again; its content must equal what was saved.
IniFile* Reload(const std::string& path, const std::string& saved, const std::string& content,
                const chars::CodePage& page) {
    IniFile* ini = nullptr;
    inifile::LoadDiagnostic diag;
    if (IniFile::Load(path.c_str(), inifile::OpenMode::ReadOnly, &ini, &diag, page) != inifile::kOk)
        Fail("saved file does not load", saved, diag.reason);
    if (ini_test::Dump(*ini) != content)
        Fail("content changed by a save", content, ini_test::Dump(*ini));
    return ini;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static ScratchFile scratch;
    if (size == 0)
        return 0;
    const chars::CodePage& page = *kPages[data[0] % (sizeof kPages / sizeof kPages[0])];
    const std::string input(reinterpret_cast<const char*>(data) + 1, size - 1);
    ini_test::WriteBytes(scratch.path, input);
    IniFile* fromFile = nullptr;
    const int fileResult =
        IniFile::Load(scratch.path.c_str(), inifile::OpenMode::ReadOnly, &fromFile, nullptr, page);
    IniFile* ini = nullptr;
    const int result = IniFile::LoadFromMemory(input.data(), input.size(), scratch.path.c_str(),
                                               &ini, nullptr, page);
    const std::string content = ini ? ini_test::Dump(*ini) : std::string();
    const std::string fileContent = fromFile ? ini_test::Dump(*fromFile) : std::string();
    IniFile::Release(fromFile);
    if (fileResult != result || fileContent != content)
        Fail("the file reader reads otherwise", content, fileContent);
    if (result != inifile::kOk)
        return 0;
    CheckLookups(*ini, page);
    const std::string first = SaveAndRead(ini, scratch.path);
    IniFile::Release(ini);

    // The first save may still differ from the next one in blanks that reading trims
    // (a separator before an empty value); from then on the bytes must be stable.
    ini = Reload(scratch.path, first, content, page);
    const std::string second = SaveAndRead(ini, scratch.path);
    IniFile::Release(ini);
    ini = Reload(scratch.path, second, content, page);
    const std::string third = SaveAndRead(ini, scratch.path);
    IniFile::Release(ini);
    if (third != second)
        Fail("saving is not stable", second, third);
    return 0;
}
