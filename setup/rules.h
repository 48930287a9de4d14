// Pure text and path rules of the installation engine (no Win32 calls), shared by the
// engine and the native unit tests. Every function that writes takes the size of its
// output buffer and never writes past it.
#pragma once

#include <cstddef>

namespace rules {

// Size of the engine's path buffers: 260 characters and the terminator.
constexpr std::size_t kPathSize = 261;

// The source root from the directory the setup was started in: lower-cased, cut at the
// first "\_red40\bin", one trailing backslash removed ("D:\_RED40\BIN" gives "d:").
// Keeps at most outSize - 1 characters of `currentDir`.
void MakeSourceRoot(const char* currentDir, char* out, std::size_t outSize);

// A yes/no setting is yes when its first character is 'y' or 'Y'.
bool IsYesSetting(const char* value);

// Equality of two texts without regard to the case of ASCII letters, as settings and
// file names are compared.
bool EqualsNoCase(const char* a, const char* b);

// "CurrentEnv" selects the client environment when it is "ClientCD" in any letter case.
bool IsClientEnvironment(const char* currentEnv);

// Appends `text` to the zero-terminated `buffer`. When the result would not fit, the
// buffer is left unchanged and the result is false.
bool AppendBounded(char* buffer, std::size_t size, const char* text);

// Copies as much of `text` as fits, always terminated: only for texts that are shown or
// recorded whole elsewhere, never for a path that is acted on.
void CopyCut(char* out, std::size_t outSize, const char* text);

// Appends a backslash unless the text already ends with one; false when it does not fit.
bool EnsureTrailingBackslash(char* buffer, std::size_t size);

// programsDir + "\" (unless present) + group + "\" + name + ".lnk"; false, with `out`
// empty, when the path does not fit.
bool BuildShortcutPath(const char* programsDir, const char* group, const char* name, char* out,
                       std::size_t outSize);

} // namespace rules
