// Pure text rules of the application's registration and its shortcuts (no Win32 calls),
// shared by the engine and the native unit tests: the application key, the browser code
// recorded there, the program, icon and shortcut paths, and the Program Manager cuts.
// Every function that writes takes the size of its output buffer and never writes past
// it; a result that does not fit leaves the buffer empty and returns false.
#pragma once

#include <cstddef>

namespace shortcuts {

// What an installation is called when search.ini names neither group nor name.
constexpr char kDefaultName[] = "Corvane Publisher";
// Program Manager keeps group names and item names short.
constexpr std::size_t kGroupNameLimit = 30;
constexpr std::size_t kItemNameLimit = 40;

constexpr char kSearchProgram[] = "search.exe";
constexpr char kUninstallProgram[] = "c_uninst.exe";
constexpr char kSearchIcon[] = "search.ico";
constexpr char kUninstallIcon[] = "uninstal.ico";
constexpr char kLinkLibrary[] = "install.dll";
constexpr char kUninstallPrefix[] = "Uninstall ";
constexpr char kDescriptionPrefix[] = "Shortcut to ";
constexpr char kUninstallerDescription[] = "Shortcut to Uninstaller";

// registryRoot (a backslash ensured), "Corvane\" for a publisher, group (a backslash
// ensured), name.
bool BuildApplicationKey(const char* registryRoot, bool publisher, const char* group,
                         const char* name, char* out, std::size_t outSize);

// The "Browser" value for a browser kind: "netscape" (0), "msie" (1), "netscape4" (2);
// any other kind records the browser's own text.
const char* BrowserCodeForKind(int kind, const char* browserText);

// destDir + "\_red40\bin\" + file: where the installation keeps its programs and icons.
bool BuildProgramFolderPath(const char* destDir, const char* file, char* out, std::size_t outSize);

// groupDir + "\" + prefix + name + ".lnk".
bool BuildLinkPath(const char* groupDir, const char* prefix, const char* name, char* out,
                   std::size_t outSize);

// sourceRoot + "\_red40\bin\install.dll": the link library comes from the CD, never from
// the destination.
bool BuildLinkLibraryPath(const char* sourceRoot, char* out, std::size_t outSize);

// The folder the shortcut step works in: the destination, with "\" added to a bare drive
// ("d:" alone would mean that drive's current folder, not its root).
bool BuildShortcutWorkingDir(const char* destDir, char* out, std::size_t outSize);

// True when the path holds a blank and so needs its short form on the command line.
bool HasBlank(const char* path);

// Cuts the text to at most `limit` characters, in place.
void CutToLength(char* text, std::size_t limit);

// True when `text` can stand between the double quotes of a Program Manager command: a
// double quote would end the field early and let the rest of the text be read as
// commands of its own, and control characters have no place in a name or path.
bool IsPlainCommandText(const char* text);

// True when a group or shortcut name from search.ini keeps the link inside the Start
// menu's folder: empty, or relative parts without a drive or ".." and no empty part.
bool StaysInStartMenu(const char* name);

// Copies `text` whole into out, or leaves out empty and returns false.
bool CopyBounded(char* out, std::size_t outSize, const char* text);

} // namespace shortcuts
