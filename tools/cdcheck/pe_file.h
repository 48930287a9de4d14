// The parts of a Windows program file (PE) that decide whether a Windows version starts
// it: the machine, the subsystem and its version, and the imported DLLs and functions,
// those loaded at start and those loaded at their first call.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace cdcheck {

constexpr std::uint16_t kMachineI386 = 0x014c;
constexpr std::uint16_t kMachineAmd64 = 0x8664;
constexpr std::uint16_t kSubsystemGui = 2;
constexpr std::uint16_t kSubsystemConsole = 3;

struct PeImport {
    std::string dll;
    std::vector<std::string> functions; // by name
    std::vector<std::uint32_t> ordinals; // by number
    bool delayLoaded = false; // from the delay import table: loaded at its first call
};

struct PeFile {
    std::uint16_t machine = 0;
    bool dll = false;
    std::uint16_t subsystem = 0;
    std::uint16_t subsystemMajor = 0, subsystemMinor = 0;
    std::vector<PeImport> imports; // the import table, then the delay import table
};

// Reads a PE file from its bytes. On failure returns false with the reason in `why`
// ("no PE file", or what is damaged); never reads past `bytes`.
bool ReadPeFile(const std::vector<unsigned char>& bytes, PeFile* pe, std::string* why);

} // namespace cdcheck
