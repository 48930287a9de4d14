// Pure text rules of the installation engine (no Win32 calls), shared by the engine,
// cdcheck and the native unit tests. Every function that writes takes the size of its
// output buffer and never writes past it.
#pragma once

#include <cstddef>

#include "platform/bounded_text.h"
#include "setup/copy_plan.h"

namespace rules {

// The program folder below a root, the Windows platform's "bin" part: the setup's own
// folder on the CD, and at the destination the search program's, with its icons and
// uninstaller.
inline constexpr auto kProgramFolderText =
    bounded::Joined(copy_plan::kWindowsFolder, copy_plan::kBinPart);
constexpr const char* kProgramFolder = kProgramFolderText.data();

// The setup's own program: the user starts it from the program folder, and the copy
// takes the root's (copy_plan::kRootFiles).
constexpr char kSetupProgram[] = "setup.exe";

// root + kProgramFolder, whole; false with `out` empty when it does not fit.
bool BuildProgramFolder(const char* root, char* out, std::size_t outSize);

// The source root from the directory the setup was started in: ASCII letters lower-cased,
// cut at the first kProgramFolder, one trailing backslash removed ("D:\_RED40\BIN" gives
// "d:"). Keeps at most outSize - 1 bytes of `currentDir`, never half a character.
void MakeSourceRoot(const char* currentDir, char* out, std::size_t outSize,
                    const chars::CodePage& page = chars::System());

// A yes/no setting is yes when its first character is 'y' or 'Y'.
bool IsYesSetting(const char* value);

// Equality of two texts without regard to the case of ASCII letters, as settings and
// file names are compared.
bool EqualsNoCase(const char* a, const char* b, const chars::CodePage& page = chars::System());

// "CurrentEnv" selects the client environment when it is "ClientCD" in any letter case.
bool IsClientEnvironment(const char* currentEnv);

} // namespace rules
