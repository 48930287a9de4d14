// install.dll as the setup uses it: loaded by path, "CreateLink" looked up by its plain
// name and called with four ANSI strings; the link is read back through the shell.
// InstallDll.LinkForHostReader runs only from install-lnkinfo.sh, which reads the link
// it leaves with a link reader of the host.
#include <windows.h>

#include <objbase.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "tests/wine/shell_link_reader.h"

namespace {

using CreateLinkFunction = int(__cdecl*)(const char*, const char*, const char*, const char*);

bool IsFile(const std::string& path) {
    DWORD attributes = GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

void MakeFile(const std::string& path) {
    HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(INVALID_HANDLE_VALUE, file) << path;
    CloseHandle(file);
}

// A scratch folder with a program in a folder whose name has a blank, and the library.
class InstallDll : public ::testing::Test {
protected:
    void SetUp() override {
        char temp[MAX_PATH] = "";
        ASSERT_NE(0u, GetTempPathA(sizeof temp, temp));
        root = std::string(temp) + "lumora install " + std::to_string(GetCurrentProcessId());
        programFolder = root + "\\Search App\\_red40\\bin";
        ASSERT_TRUE(CreateDirectoryA(root.c_str(), nullptr));
        ASSERT_TRUE(CreateDirectoryA((root + "\\Search App").c_str(), nullptr));
        ASSERT_TRUE(CreateDirectoryA((root + "\\Search App\\_red40").c_str(), nullptr));
        ASSERT_TRUE(CreateDirectoryA(programFolder.c_str(), nullptr));
        program = programFolder + "\\search.exe";
        MakeFile(program);

        library = LoadLibraryA(LUMORA_INSTALL_DLL);
        ASSERT_NE(nullptr, library);
        FARPROC entry = GetProcAddress(library, "CreateLink");
        ASSERT_NE(nullptr, entry);
        createLink = reinterpret_cast<CreateLinkFunction>(reinterpret_cast<void*>(entry));
    }
    void TearDown() override {
        if (library != nullptr)
            FreeLibrary(library);
        DeleteFileA((root + "\\Search App.lnk").c_str());
        DeleteFileA(program.c_str());
        RemoveDirectoryA(programFolder.c_str());
        RemoveDirectoryA((root + "\\Search App\\_red40").c_str());
        RemoveDirectoryA((root + "\\Search App").c_str());
        RemoveDirectoryA(root.c_str());
    }

    std::string root;
    std::string programFolder;
    std::string program;
    HMODULE library = nullptr;
    CreateLinkFunction createLink = nullptr;
};

TEST_F(InstallDll, LinkReadsBackWithTheProgramItsFolderDescriptionAndIcon) {
    const std::string link = root + "\\Search App.lnk";
    const std::string icon = programFolder + "\\search.ico";
    ASSERT_EQ(1, createLink(program.c_str(), link.c_str(), "Shortcut to Search App", icon.c_str()));

    ShellLinkFields fields = ReadShellLink(link);
    ASSERT_TRUE(fields.loaded);
    EXPECT_EQ(0, lstrcmpiA(program.c_str(), fields.path.c_str())) << fields.path;
    EXPECT_EQ(programFolder, fields.workingDirectory);
    EXPECT_EQ("Shortcut to Search App", fields.description);
    EXPECT_EQ(icon, fields.iconPath);
    EXPECT_EQ(0, fields.iconIndex);
}

TEST_F(InstallDll, ProgramAtADriveRootStartsInTheRoot) {
    // "C:" alone would be the drive's current folder, not its root.
    const std::string rootProgram = "C:\\lumora-install-test.exe";
    MakeFile(rootProgram);
    const std::string link = root + "\\Search App.lnk";
    EXPECT_EQ(1, createLink(rootProgram.c_str(), link.c_str(), "d", ""));
    DeleteFileA(rootProgram.c_str());
    EXPECT_EQ("C:\\", ReadShellLink(link).workingDirectory);
}

TEST_F(InstallDll, CallerKeepsItsOwnComApartment) {
    // A caller whose thread already uses the other threading model: the library must
    // neither fail nor end the caller's COM.
    ASSERT_EQ(S_OK, CoInitializeEx(nullptr, COINIT_MULTITHREADED));
    const std::string link = root + "\\Search App.lnk";
    EXPECT_EQ(1, createLink(program.c_str(), link.c_str(), "d", ""));
    EXPECT_EQ(S_FALSE, CoInitializeEx(nullptr, COINIT_MULTITHREADED));
    CoUninitialize();
    CoUninitialize();
    EXPECT_TRUE(IsFile(link));
}

TEST_F(InstallDll, UnusableArgumentsWriteNothing) {
    const std::string link = root + "\\Search App.lnk";
    EXPECT_EQ(0, createLink(nullptr, link.c_str(), "d", "i"));
    EXPECT_EQ(0, createLink("", link.c_str(), "d", "i"));
    EXPECT_EQ(0, createLink(program.c_str(), nullptr, "d", "i"));
    const std::string longPath = root + "\\" + std::string(300, 'x') + ".exe";
    EXPECT_EQ(0, createLink(longPath.c_str(), link.c_str(), "d", "i"));
    EXPECT_FALSE(IsFile(link));
    const std::string longLink = root + "\\" + std::string(300, 'l') + ".lnk";
    EXPECT_EQ(0, createLink(program.c_str(), longLink.c_str(), "d", "i"));
    // The shortcut's folder is the caller's to make.
    EXPECT_EQ(0, createLink(program.c_str(), (root + "\\missing\\x.lnk").c_str(), "d", "i"));
    // Missing description and icon count as empty.
    EXPECT_EQ(1, createLink(program.c_str(), link.c_str(), nullptr, nullptr));
    EXPECT_TRUE(IsFile(link));
}

TEST_F(InstallDll, LinkForHostReader) {
    const char* hostLink = std::getenv("LUMORA_HOST_LINK");
    ASSERT_NE(nullptr, hostLink) << "run through install-lnkinfo.sh";
    ASSERT_EQ(1, createLink(program.c_str(), hostLink, "Shortcut to Uninstaller",
                            "C:\\Search App\\_red40\\bin\\uninstal.ico"));
    // The expected texts for the host side.
    std::printf("program=%s\n", program.c_str());
}

} // namespace
