// install.dll as the setup uses it: loaded by path, "CreateLink" looked up by its plain
// name and called with four ANSI strings, where the end-to-end runs do not reach: a
// program at a drive root, a caller with its own COM apartment, unusable arguments. (The
// runs read every link the setup makes through the shell and, on the host, with lnkinfo.)
#include <windows.h>

#include <objbase.h>

#include <gtest/gtest.h>

#include <string>

#include "tests/wine/wine_test_kit.h"

using namespace wine_test;

namespace {

using CreateLinkFunction = int(__cdecl*)(const char*, const char*, const char*, const char*);

// A scratch folder with a program in a folder whose name has a blank, and the library.
class InstallDll : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(guidriver::MakeDirectories(programFolder));
        WriteBytes(program, "");
        library = LoadLibraryA(LUMORA_INSTALL_DLL);
        ASSERT_NE(nullptr, library);
        FARPROC entry = GetProcAddress(library, "CreateLink");
        ASSERT_NE(nullptr, entry);
        createLink = reinterpret_cast<CreateLinkFunction>(reinterpret_cast<void*>(entry));
    }
    void TearDown() override {
        if (library != nullptr)
            FreeLibrary(library);
    }

    ScratchDir dir;
    const std::string programFolder = dir / "Search App\\_red40\\bin";
    const std::string program = programFolder + "\\search.exe";
    const std::string link = dir / "Search App.lnk";
    HMODULE library = nullptr;
    CreateLinkFunction createLink = nullptr;
};

TEST_F(InstallDll, ProgramAtADriveRootStartsInTheRoot) {
    // "C:" alone would be the drive's current folder, not its root.
    const std::string rootProgram = "C:\\lumora-install-test.exe";
    WriteBytes(rootProgram, "");
    EXPECT_EQ(1, createLink(rootProgram.c_str(), link.c_str(), "d", ""));
    DeleteFileA(rootProgram.c_str());
    guidriver::ShellLink read;
    ASSERT_TRUE(guidriver::ReadShellLink(link, &read));
    EXPECT_EQ("C:\\", read.workingDirectory);
}

TEST_F(InstallDll, CallerKeepsItsOwnComApartment) {
    // A caller whose thread already uses the other threading model: the library must
    // neither fail nor end the caller's COM.
    ASSERT_EQ(S_OK, CoInitializeEx(nullptr, COINIT_MULTITHREADED));
    EXPECT_EQ(1, createLink(program.c_str(), link.c_str(), "d", ""));
    EXPECT_EQ(S_FALSE, CoInitializeEx(nullptr, COINIT_MULTITHREADED));
    CoUninitialize();
    CoUninitialize();
    EXPECT_TRUE(FileExists(link));
}

TEST_F(InstallDll, UnusableArgumentsWriteNothing) {
    const std::string longPath = dir / (std::string(300, 'x') + ".exe");
    const std::string longLink = dir / (std::string(300, 'l') + ".lnk");
    const std::string missingFolder = dir / "missing\\x.lnk"; // the caller's to make
    struct Case {
        const char* program;
        const char* link;
    } refused[] = {{nullptr, link.c_str()},
                   {"", link.c_str()},
                   {program.c_str(), nullptr},
                   {longPath.c_str(), link.c_str()},
                   {program.c_str(), longLink.c_str()},
                   {program.c_str(), missingFolder.c_str()}};
    for (const Case& c : refused)
        EXPECT_EQ(0, createLink(c.program, c.link, "d", "i")) << (c.link ? c.link : "no link");
    EXPECT_FALSE(FileExists(link));
    // Missing description and icon count as empty.
    EXPECT_EQ(1, createLink(program.c_str(), link.c_str(), nullptr, nullptr));
    EXPECT_TRUE(FileExists(link));
}

} // namespace
