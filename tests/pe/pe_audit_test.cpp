// The PE reader and the import audit on made-up program files: the findings on a file
// that the oldest Windows cannot start, and no crash on a damaged one.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "tools/cdcheck/pe_audit.h"
#include "tools/cdcheck/pe_file.h"

namespace {

using cdcheck::AuditPeBytes;

// A PE32 or PE32+ file with one section at RVA 0x1000 (file offset 0x200) that holds the
// import table of `dll` with `functions` and, where `delayDll` is given, the delay import
// table of `delayDll` with `delayFunctions`: by RVA, or by address in the loaded image as
// the first linkers wrote it.
struct Made {
    std::uint16_t machine = 0x014c;
    std::uint16_t subsystem = 2, major = 4, minor = 0;
    std::string dll = "KERNEL32.dll";
    std::vector<std::string> functions = {"CloseHandle"};
    std::string delayDll;
    std::vector<std::string> delayFunctions;
    bool delayByAddress = false;
};

void Put16(std::vector<unsigned char>& b, std::size_t o, std::uint32_t v) {
    b[o] = v & 0xff;
    b[o + 1] = (v >> 8) & 0xff;
}
void Put32(std::vector<unsigned char>& b, std::size_t o, std::uint32_t v) {
    Put16(b, o, v & 0xffff);
    Put16(b, o + 2, v >> 16);
}

std::vector<unsigned char> MakePe(const Made& m) {
    const bool plus = m.machine == 0x8664;
    const std::uint32_t optSize = plus ? 240 : 224, width = plus ? 8 : 4;
    std::vector<unsigned char> b(0x200 + 0x1000, 0);
    b[0] = 'M';
    b[1] = 'Z';
    Put32(b, 0x3c, 0x80);
    Put32(b, 0x80, 0x00004550);
    Put16(b, 0x84, m.machine);
    Put16(b, 0x86, 1);
    Put16(b, 0x94, optSize);
    const std::size_t opt = 0x98;
    Put16(b, opt, plus ? 0x20b : 0x10b);
    Put16(b, opt + 48, m.major);
    Put16(b, opt + 50, m.minor);
    Put16(b, opt + 68, m.subsystem);
    const std::uint32_t base = plus ? 0x40000000 : 0x400000; // the image base, below 4 GB
    Put32(b, opt + (plus ? 24 : 28), base);
    const std::size_t dirs = opt + (plus ? 112 : 96);
    Put32(b, dirs - 4, 16);
    Put32(b, dirs + 8, 0x1000); // the import table
    const std::size_t section = opt + optSize;
    Put32(b, section + 8, 0x1000);  // size in memory
    Put32(b, section + 12, 0x1000); // RVA
    Put32(b, section + 16, 0x1000); // size in the file
    Put32(b, section + 20, 0x200);  // file offset
    // Section layout: descriptors at 0, delay descriptors at 0x80, lookup table at 0x100,
    // delay name table at 0x200, names from 0x400.
    std::uint32_t name = 0x1400;
    auto text = [&](const std::string& s) {
        for (std::size_t i = 0; i < s.size(); ++i)
            b[0x200 + (name - 0x1000) + i] = static_cast<unsigned char>(s[i]);
        const std::uint32_t at = name;
        name += static_cast<std::uint32_t>(s.size()) + 1;
        return at;
    };
    Put32(b, 0x200 + 0, 0x1100);
    Put32(b, 0x200 + 12, text(m.dll));
    Put32(b, 0x200 + 16, 0x1100);
    for (std::size_t i = 0; i < m.functions.size(); ++i) {
        name += 2; // the hint
        Put32(b, 0x200 + 0x100 + i * width, text(m.functions[i]) - 2);
    }
    if (!m.delayDll.empty()) {
        const std::uint32_t bias = m.delayByAddress ? base : 0;
        Put32(b, dirs + 13 * 8, 0x1080);
        Put32(b, 0x200 + 0x80, m.delayByAddress ? 0 : 1);
        Put32(b, 0x200 + 0x80 + 4, text(m.delayDll) + bias);
        Put32(b, 0x200 + 0x80 + 16, 0x1200 + bias);
        for (std::size_t i = 0; i < m.delayFunctions.size(); ++i) {
            name += 2;
            Put32(b, 0x200 + 0x200 + i * width, text(m.delayFunctions[i]) - 2 + bias);
        }
    }
    return b;
}

std::string All(const std::vector<std::string>& problems) {
    std::string all;
    for (const std::string& p : problems)
        all += p + "\n";
    return all;
}

TEST(PeAudit, AuditsTheDelayImportsInBothForms) {
    for (bool byAddress : {false, true}) {
        Made m;
        m.delayDll = "comctl32.dll";
        m.delayFunctions = {"InitCommonControlsEx", "TaskDialogIndirect"};
        m.delayByAddress = byAddress;
        EXPECT_EQ(All(AuditPeBytes(MakePe(m))),
                  "imports TaskDialogIndirect of comctl32.dll (delay-loaded), which came with Windows Vista (Windows NT 4.0)\n");
    }
}

TEST(PeAudit, RefusesWhatTheOldestWindowsLacks) {
    Made runtime;
    runtime.dll = "libwinpthread-1.dll";
    EXPECT_NE(All(AuditPeBytes(MakePe(runtime))).find("libwinpthread-1.dll, which is no system DLL"),
              std::string::npos);

    Made unknown;
    unknown.functions = {"NoSuchFunction"};
    EXPECT_NE(All(AuditPeBytes(MakePe(unknown))).find("NoSuchFunction of KERNEL32.dll, which that DLL does not export"),
              std::string::npos);

    // msvcrt.dll is part of Windows NT 4.0, but not of the first Windows 95 nor of Win32s;
    // crtdll.dll, with the names MinGW-w64's start-up code imports, is.
    Made msvcrt;
    msvcrt.dll = "MSVCRT.dll";
    msvcrt.functions = {"malloc"};
    EXPECT_EQ(All(AuditPeBytes(MakePe(msvcrt))),
              "imports MSVCRT.dll, not crtdll.dll, the C runtime of Windows 95, Win32s 1.30 and Windows NT 3.51\n");
    Made crtdll;
    crtdll.dll = "CRTDLL.dll";
    crtdll.functions = {"__GetMainArgs", "_iob", "__mb_cur_max_dll", "malloc"};
    EXPECT_EQ(All(AuditPeBytes(MakePe(crtdll))), "");
    Made x64crtdll;
    x64crtdll.machine = 0x8664;
    x64crtdll.major = 5;
    x64crtdll.dll = "crtdll.dll";
    EXPECT_NE(All(AuditPeBytes(MakePe(x64crtdll))).find("crtdll.dll, not msvcrt.dll"),
              std::string::npos);

    Made arm;
    arm.machine = 0x01c4;
    EXPECT_NE(All(AuditPeBytes(MakePe(arm))).find("machine type 0x01c4"), std::string::npos);
}

TEST(PeAudit, NonPeAndDamagedFilesGiveOneDiagnostic) {
    EXPECT_EQ(All(AuditPeBytes({})), "no PE file (no MZ header)\n");
    const std::string script = "#!/bin/sh\necho hello\n";
    EXPECT_EQ(All(AuditPeBytes(std::vector<unsigned char>(script.begin(), script.end()))),
              "no PE file (no MZ header)\n");

    std::vector<unsigned char> farHeader = MakePe(Made());
    Put32(farHeader, 0x3c, 0xfffffff0);
    EXPECT_EQ(All(AuditPeBytes(farHeader)), "no PE file (no PE header)\n");

    std::vector<unsigned char> farImports = MakePe(Made());
    Put32(farImports, 0x98 + 96 + 8, 0x7ffffff0);
    EXPECT_NE(All(AuditPeBytes(farImports)).find("damaged PE file"), std::string::npos);

    Made delayed;
    delayed.delayDll = "comdlg32.dll";
    delayed.delayFunctions = {"GetOpenFileNameA"};
    std::vector<unsigned char> farDelay = MakePe(delayed);
    Put32(farDelay, 0x98 + 96 + 13 * 8, 0x7ffffff0);
    EXPECT_EQ(All(AuditPeBytes(farDelay)), "damaged PE file: the delay import table points outside the file\n");
    std::vector<unsigned char> belowBase = MakePe(delayed); // an address form name below the image
    Put32(belowBase, 0x200 + 0x80, 0);
    EXPECT_EQ(All(AuditPeBytes(belowBase)), "damaged PE file: the delay import table points outside the file\n");

    std::vector<unsigned char> endless = MakePe(Made()); // the lookup table runs off its section
    Put32(endless, 0x200 + 0, 0x1ffc);
    Put32(endless, 0x200 + 0xffc, 0x1400);
    EXPECT_NE(All(AuditPeBytes(endless)).find("damaged PE file"), std::string::npos);
}

// Every cut and every flipped byte of a valid file: a diagnostic or a verdict, never a
// read past the end (the sanitizers watch).
TEST(PeAudit, SurvivesEveryCutAndFlippedByte) {
    Made m;
    m.functions = {"CloseHandle", "GetTickCount64", "CreateFileA"};
    m.delayDll = "comdlg32.dll";
    m.delayFunctions = {"GetOpenFileNameA", "GetSaveFileNameA"};
    const std::vector<unsigned char> good = MakePe(m);
    for (std::size_t size = 0; size < 0x600; ++size) {
        std::vector<unsigned char> cut(good.begin(), good.begin() + static_cast<long>(size));
        EXPECT_FALSE(AuditPeBytes(cut).empty()) << size;
    }
    for (std::size_t at = 0; at < 0x700; ++at) {
        std::vector<unsigned char> flipped = good;
        flipped[at] ^= 0xff;
        AuditPeBytes(flipped);
    }
}

} // namespace
