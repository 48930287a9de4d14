// Pure text rules of the application's registration and its shortcuts (no Win32 calls),
// shared by the engine, cdcheck and the native unit tests: the application key, the
// program, icon and shortcut paths, and the Program Manager cuts. Every function that
// writes takes the size of its output buffer and never writes past it; a result that does
// not fit leaves the buffer empty and returns false.
#pragma once

#include <cstddef>

#include "platform/code_page.h"

namespace shortcuts {

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
// The subkey of the application key that the browser step announces itself in.
constexpr char kParametersSubkey[] = "Parameters";

// The application key: registryRoot, "Corvane" for a publisher, the group and the name,
// one backslash between them ("Atlas\" and "\Atlas" name the group Atlas). One bound for
// every use of the key: it is refused unless its "Parameters" subkey fits `outSize` too,
// so the key's values and the subkey are written both or neither. `subkey` null gives
// the key itself, else the key and that subkey.
bool BuildApplicationKey(const char* registryRoot, bool publisher, const char* group,
                         const char* name, const char* subkey, char* out, std::size_t outSize,
                         const chars::CodePage& page = chars::System());

// A file of the program folder (rules::BuildProgramFolder) below destDir: the search
// program, the uninstaller and their icons; for the CD's source root, the link library.
bool BuildProgramFolderPath(const char* destDir, const char* file, char* out, std::size_t outSize);

// The group's folder below the Programs folder: programsDir and the group, one backslash
// between them and between the group's parts. False for a group that leads out of the
// Programs folder (a drive, "..").
bool BuildGroupFolder(const char* programsDir, const char* group, char* out, std::size_t outSize,
                      const chars::CodePage& page = chars::System());

// A shortcut file in the group folder: groupDir, "\", prefix, the name (its own leading,
// trailing and doubled backslashes dropped) and ".lnk". An empty name gives a file called
// only prefix + ".lnk". False for a name leading out of the group folder.
bool BuildLinkPath(const char* groupDir, const char* prefix, const char* name, char* out,
                   std::size_t outSize, const chars::CodePage& page = chars::System());

// The one path of a Start-menu shortcut, for the reinstall check as the shortcut step
// makes it: BuildLinkPath in BuildGroupFolder. Empty group and name give a file called
// only ".lnk" in the Programs folder. False for a group or name leading out of the
// Programs folder.
bool BuildShortcutPath(const char* programsDir, const char* group, const char* prefix,
                       const char* name, char* out, std::size_t outSize,
                       const chars::CodePage& page = chars::System());

// install.dll in the source root's program folder: the link library comes from the CD,
// never from the destination.
bool BuildLinkLibraryPath(const char* sourceRoot, char* out, std::size_t outSize);

// The folder the shortcut step works in: the destination, with "\" added to a bare drive
// ("d:" alone would mean that drive's current folder, not its root).
bool BuildShortcutWorkingDir(const char* destDir, char* out, std::size_t outSize);

// True when the path holds a blank and so needs its short form on the command line.
bool HasBlank(const char* path);

// Cuts the text to at most `limit` bytes, in place, never inside a character.
void CutToLength(char* text, std::size_t limit, const chars::CodePage& page = chars::System());

// True when `text` can stand between the double quotes of a Program Manager command: a
// double quote would end the field early and let the rest of the text be read as
// commands of its own, and control characters have no place in a name or path.
bool IsPlainCommandText(const char* text);

} // namespace shortcuts
