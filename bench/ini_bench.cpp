// Load, lookup and save times of the INI store next to inih (a callback parser that
// keeps nothing) and SimpleIni (a full in-memory store), on files generated at start-up
// into a temporary folder: about 1 MB and 32 MB of many sections, keys and comments.
#include <benchmark/benchmark.h>

#include <ini.h> // inih
#include <SimpleIni.h>
#include <malloc.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "platform/inifile.h"

using inifile::IniFile;

namespace {

struct BenchFile {
    std::string path;
    std::size_t bytes = 0;
    std::vector<std::pair<std::string, std::string>> probes; // section and key, case changed
};

std::filesystem::path g_dir;
BenchFile g_files[2];

std::string Upper(std::string text) {
    for (char& c : text)
        if (c >= 'a' && c <= 'z')
            c = static_cast<char>(c - 32);
    return text;
}

// Sections of 300 keys with a comment every 50 keys: about 53 bytes a line. The 10,000
// lookup probes are spread evenly over the whole file.
BenchFile Generate(const std::string& name, std::size_t target) {
    BenchFile file;
    file.path = (g_dir / name).string();
    const std::size_t probeEvery = target / 53 / 10000 + 1;
    std::string text;
    text.reserve(target + 65536);
    text += "; generated settings file for benchmarks\r\nVersion = 1\r\n";
    unsigned seed = 12345;
    std::size_t keys = 0;
    for (int section = 0; text.size() < target; ++section) {
        std::string sectionName = "Group_" + std::to_string(section) + "\\Settings";
        text +=
            "\r\n[" + sectionName + "]\r\n; options of group " + std::to_string(section) + "\r\n";
        for (int key = 0; key < 300; ++key) {
            seed = seed * 1103515245u + 12345u;
            std::string keyName = "Option" + std::to_string(key) + "_name";
            text += keyName + (key % 3 ? "=" : " = ") + "c:\\program files\\value_" +
                    std::to_string(seed % 100000) + std::string(seed % 17, 'x') + "\r\n";
            if (key % 50 == 49)
                text += "# comment after key " + std::to_string(key) + "\r\n";
            if (++keys % probeEvery == 0)
                file.probes.emplace_back(Upper(sectionName), Upper(keyName));
        }
    }
    std::ofstream(file.path, std::ios::binary) << text;
    file.bytes = text.size();
    for (std::size_t i = 0; file.probes.size() < 10000; ++i)
        file.probes.push_back(file.probes[i]);
    file.probes.resize(10000);
    return file;
}

std::size_t HeapInUse() {
    struct mallinfo2 info = mallinfo2();
    return info.uordblks + info.hblkhd;
}

void Label(benchmark::State& state, const BenchFile& file) {
    state.SetLabel(std::to_string(file.bytes >> 20) + "MB");
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * file.bytes));
}

void BM_Load_inifile(benchmark::State& state) {
    const BenchFile& file = g_files[state.range(0)];
    std::size_t memory = 0;
    for (auto _ : state) {
        IniFile* ini = nullptr;
        if (IniFile::Load(file.path.c_str(), inifile::OpenMode::ReadOnly, &ini) != 0)
            state.SkipWithError("load failed");
        state.PauseTiming();
        memory = ini ? ini->MemoryUsed() : 0;
        IniFile::Release(ini);
        state.ResumeTiming();
    }
    Label(state, file);
    state.counters["peak_x_file"] = static_cast<double>(memory) / file.bytes;
}

int CountPair(void* user, const char*, const char*, const char*) {
    ++*static_cast<long*>(user);
    return 1;
}

void BM_Load_inih(benchmark::State& state) {
    const BenchFile& file = g_files[state.range(0)];
    for (auto _ : state) {
        long pairs = 0;
        if (ini_parse(file.path.c_str(), CountPair, &pairs) != 0)
            state.SkipWithError("inih failed");
        benchmark::DoNotOptimize(pairs);
    }
    Label(state, file);
}

void BM_Load_SimpleIni(benchmark::State& state) {
    const BenchFile& file = g_files[state.range(0)];
    std::size_t memory = 0;
    for (auto _ : state) {
        state.PauseTiming();
        std::size_t before = HeapInUse();
        auto* ini = new CSimpleIniA(false, true, true);
        state.ResumeTiming();
        if (ini->LoadFile(file.path.c_str()) != SI_OK)
            state.SkipWithError("SimpleIni failed");
        state.PauseTiming();
        memory = HeapInUse() - before;
        delete ini;
        state.ResumeTiming();
    }
    Label(state, file);
    state.counters["peak_x_file"] = static_cast<double>(memory) / file.bytes;
}

void BM_Lookup_inifile(benchmark::State& state) {
    const BenchFile& file = g_files[state.range(0)];
    IniFile* ini = nullptr;
    IniFile::Load(file.path.c_str(), inifile::OpenMode::ReadOnly, &ini);
    for (auto _ : state) {
        for (const auto& [section, key] : file.probes) {
            const char* value = nullptr;
            if (ini->Find(section.c_str(), key.c_str(), &value) != 0)
                state.SkipWithError("key not found");
            benchmark::DoNotOptimize(value);
        }
    }
    IniFile::Release(ini);
    state.SetLabel(std::to_string(file.bytes >> 20) + "MB");
    state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations() * file.probes.size()));
}

void BM_Lookup_SimpleIni(benchmark::State& state) {
    const BenchFile& file = g_files[state.range(0)];
    CSimpleIniA ini(false, true, true);
    ini.LoadFile(file.path.c_str());
    for (auto _ : state) {
        for (const auto& [section, key] : file.probes) {
            const char* value = ini.GetValue(section.c_str(), key.c_str(), nullptr);
            if (!value)
                state.SkipWithError("key not found");
            benchmark::DoNotOptimize(value);
        }
    }
    state.SetLabel(std::to_string(file.bytes >> 20) + "MB");
    state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations() * file.probes.size()));
}

void BM_Save_inifile(benchmark::State& state) {
    const BenchFile& file = g_files[state.range(0)];
    const std::string copy = (g_dir / "save_inifile.ini").string();
    std::filesystem::copy_file(file.path, copy, std::filesystem::copy_options::overwrite_existing);
    IniFile* ini = nullptr;
    IniFile::Load(copy.c_str(), inifile::OpenMode::CreateReadWrite, &ini);
    for (auto _ : state) {
        state.PauseTiming();
        // A change that leaves the content as it was, so that Save writes everything.
        ini->Set("bench", "k", "v");
        ini->RemoveSection("bench");
        state.ResumeTiming();
        if (ini->Save() != 0)
            state.SkipWithError("save failed");
    }
    IniFile::Release(ini);
    Label(state, file);
}

void BM_Save_SimpleIni(benchmark::State& state) {
    const BenchFile& file = g_files[state.range(0)];
    const std::string copy = (g_dir / "save_simpleini.ini").string();
    CSimpleIniA ini(false, true, true);
    ini.LoadFile(file.path.c_str());
    for (auto _ : state)
        if (ini.SaveFile(copy.c_str()) != SI_OK)
            state.SkipWithError("SimpleIni save failed");
    Label(state, file);
}

void Sizes(benchmark::internal::Benchmark* b) {
    // CPU time (kernel time included), not wall time: the machine is shared and noisy.
    b->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);
}

BENCHMARK(BM_Load_inifile)->Apply(Sizes);
BENCHMARK(BM_Load_inih)->Apply(Sizes);
BENCHMARK(BM_Load_SimpleIni)->Apply(Sizes);
BENCHMARK(BM_Lookup_inifile)->Apply(Sizes);
BENCHMARK(BM_Lookup_SimpleIni)->Apply(Sizes);
BENCHMARK(BM_Save_inifile)->Apply(Sizes);
BENCHMARK(BM_Save_SimpleIni)->Apply(Sizes);

} // namespace

int main(int argc, char** argv) {
    g_dir =
        std::filesystem::temp_directory_path() / ("lumora-ini-bench-" + std::to_string(::getpid()));
    std::filesystem::create_directories(g_dir);
    g_files[0] = Generate("small.ini", 1u << 20);
    g_files[1] = Generate("large.ini", 32u << 20);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    std::error_code ignored;
    std::filesystem::remove_all(g_dir, ignored);
    return 0;
}
