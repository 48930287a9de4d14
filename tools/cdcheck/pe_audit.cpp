#include "tools/cdcheck/pe_audit.h"

#include <cctype>
#include <cstdio>
#include <unordered_map>

#include "tools/cdcheck/winapi_table.inc"

namespace cdcheck {
namespace {

constexpr unsigned kI686 = 1, kX86_64 = 2;

struct Export {
    const char* dll;
    const char* function;
    unsigned machines;
};
struct Since {
    const char* function;
    std::uint16_t version;
};
const Export kExports[] = {LUMORA_WINAPI_EXPORTS};
const Since kSince[] = {LUMORA_WINAPI_SINCE};

const WindowsTarget kNt4 = {"Windows NT 4.0", 0x0400, 4, 0, "crtdll.dll",
                            "Windows 95, Win32s 1.30 and Windows NT 3.51"};
const WindowsTarget kFirstX64 = {"Windows XP x64", 0x0502, 5, 2, "msvcrt.dll",
                                 "every x64 Windows"};

std::string Lower(std::string s) {
    for (char& c : s)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return s;
}

// "dll!function" -> the machines whose import library has it.
const std::unordered_map<std::string, unsigned>& Exports() {
    static const std::unordered_map<std::string, unsigned> map = [] {
        std::unordered_map<std::string, unsigned> m;
        for (const Export& e : kExports)
            m[std::string(e.dll) + '!' + e.function] = e.machines;
        return m;
    }();
    return map;
}

// Whether the import library of `dll` for the machine (kI686 or kX86_64) has a function.
bool KnownDll(const std::string& dll, unsigned machine) {
    static const std::unordered_map<std::string, unsigned> dlls = [] {
        std::unordered_map<std::string, unsigned> d;
        for (const Export& e : kExports)
            d[e.dll] |= e.machines;
        return d;
    }();
    const auto found = dlls.find(dll);
    return found != dlls.end() && (found->second & machine) != 0;
}

// The C runtimes of Windows and Visual C++: crtdll.dll, msvcrt*.dll and msvcr*.dll, the
// universal one.
bool IsCRuntime(const std::string& dll) {
    return dll == "crtdll.dll" || dll.compare(0, 5, "msvcr") == 0 || dll == "ucrtbase.dll" ||
           dll.compare(0, 15, "api-ms-win-crt-") == 0;
}

std::uint16_t FirstVersion(const std::string& function) {
    static const std::unordered_map<std::string, std::uint16_t> since = [] {
        std::unordered_map<std::string, std::uint16_t> m;
        for (const Since& s : kSince)
            m[s.function] = s.version;
        return m;
    }();
    const auto found = since.find(function);
    return found == since.end() ? 0 : found->second;
}

std::string Hex(unsigned value, int digits) {
    char text[16];
    std::snprintf(text, sizeof text, "0x%0*x", digits, value);
    return text;
}

} // namespace

const WindowsTarget* TargetOf(std::uint16_t machine) {
    if (machine == kMachineI386)
        return &kNt4;
    if (machine == kMachineAmd64)
        return &kFirstX64;
    return nullptr;
}

std::string WindowsName(std::uint16_t version) {
    switch (version) {
    case 0x0400: return "Windows NT 4.0";
    case 0x0500: return "Windows 2000";
    case 0x0501: return "Windows XP";
    case 0x0502: return "Windows Server 2003";
    case 0x0600: return "Windows Vista";
    case 0x0601: return "Windows 7";
    case 0x0602: return "Windows 8";
    case 0x0603: return "Windows 8.1";
    case 0x0a00: return "Windows 10";
    default: return "Windows " + Hex(version, 4);
    }
}

std::vector<std::string> AuditPeFile(const PeFile& pe) {
    std::vector<std::string> problems;
    const WindowsTarget* target = TargetOf(pe.machine);
    if (target == nullptr) {
        problems.push_back("machine type " + Hex(pe.machine, 4) + ", which no target Windows runs");
        return problems;
    }
    const unsigned machine = pe.machine == kMachineI386 ? kI686 : kX86_64;
    const std::string on = std::string(" (") + target->name + ")";
    if (pe.subsystem != kSubsystemGui && pe.subsystem != kSubsystemConsole)
        problems.push_back("subsystem " + std::to_string(pe.subsystem) +
                           ", neither a window nor a console program");
    if (pe.subsystemMajor * 100 + pe.subsystemMinor >
        target->subsystemMajor * 100 + target->subsystemMinor)
        problems.push_back("subsystem version " + std::to_string(pe.subsystemMajor) + "." +
                           std::to_string(pe.subsystemMinor) + ", newer than " + target->name +
                           " starts");
    for (const PeImport& import : pe.imports) {
        const std::string dll = Lower(import.dll);
        // A DLL loaded at the first call of one of its functions is checked all the same.
        const std::string name = import.dll + (import.delayLoaded ? " (delay-loaded)" : "");
        if (dll != target->runtime && IsCRuntime(dll)) {
            problems.push_back("imports " + name + ", not " + target->runtime +
                               ", the C runtime of " + target->runtimeCarriers);
            continue;
        }
        if (!KnownDll(dll, machine)) {
            problems.push_back("imports " + name + ", which is no system DLL of the target" + on);
            continue;
        }
        for (std::uint32_t ordinal : import.ordinals)
            problems.push_back("imports function number " + std::to_string(ordinal) + " of " +
                               name + ", which cannot be checked");
        for (const std::string& function : import.functions) {
            const auto found = Exports().find(dll + '!' + function);
            if (found == Exports().end() || (found->second & machine) == 0) {
                problems.push_back("imports " + function + " of " + name +
                                   ", which that DLL does not export" + on);
                continue;
            }
            const std::uint16_t since = FirstVersion(function);
            if (since > target->version)
                problems.push_back("imports " + function + " of " + name +
                                   ", which came with " + WindowsName(since) + on);
        }
    }
    return problems;
}

std::vector<std::string> AuditPeBytes(const std::vector<unsigned char>& bytes) {
    PeFile pe;
    std::string why;
    if (!ReadPeFile(bytes, &pe, &why))
        return {why};
    return AuditPeFile(pe);
}

} // namespace cdcheck
