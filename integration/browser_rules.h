// Pure text rules of the browser integration (no Win32 calls), shared by the engine, the
// browser selection dialog and the native unit tests: browser codes and kinds, the paths
// read from the registry and from iexplore.ini, the proxy bypass lists and the prefs.js
// rewrite, and the rows of the selection dialog.
#pragma once

#include <cstddef>
#include <cstdio>
#include <string>

#include "platform/code_page.h"

// Nonzero when `text` ends with `suffix` ignoring letter case, the suffix beginning a
// character of the text; an empty suffix, one longer than the text, or a null argument
// gives zero.
int EndsWithNoCase(const char* text, const char* suffix,
                   const chars::CodePage& page = chars::System());

namespace browser {

// The browser kind the engine stores in m_nBrowserKind, with the numbers it stores.
enum Kind : int {
    kNavigator = 0,         // Netscape Navigator 3.x or earlier
    kInternetExplorer = 1,  // Microsoft Internet Explorer
    kCommunicator = 2,      // Netscape Communicator 4.x
    kOther = 4,             // a browser given by the path of its program file
    kNoKind = -1,           // an empty browser text names none; never stored
};

// The selection dialog's choice code (its m_nSelection after OK): the rows of Internet
// Explorer and Navigator 3.x, and every row whose browser is given by a program path.
enum Choice : int {
    kCodeIE = 0,
    kCodeNavigator3 = 1,
    kCodeByPath = 2,
};

// The one conversion from the dialog's code to a kind: Navigator for kCodeNavigator3,
// Internet Explorer for kCodeIE, Other for any other code (a path, also one the dialog
// handed back unchosen).
Kind KindForChoice(int choice);

// The browser code that records a kind (kBrowserCodes): "netscape", "msie", "netscape4";
// Other records the browser's own text (its program path).
const char* CodeForKind(Kind kind, const char* browserText);

// The browser text as the engine reads it from the settings and as the selection dialog
// hands a path back: 1023 characters and the terminator.
constexpr std::size_t kBrowserTextSize = 1024;

// The address every bypass list must hold.
constexpr char kLocalAddress[] = "127.0.0.1";
constexpr char kNoProxiesPreference[] = "network.proxy.no_proxies_on";
// What prefs.js receives when it has no bypass preference at all (no line end).
constexpr char kNoProxiesLine[] = "user_pref(\"network.proxy.no_proxies_on\", \"127.0.0.1\");";
// prefs.js is read in pieces of at most this many characters (a 512-byte buffer).
constexpr std::size_t kPrefsPieceLength = 511;

// The browser codes a "Browser" setting may hold (any letter case), with the kind each
// names; `recorded` marks the one code of its kind that CodeForKind records.
struct BrowserCode {
    const char* code;
    Kind kind;
    bool recorded;
};
extern const BrowserCode kBrowserCodes[];
extern const std::size_t kBrowserCodeCount;

// The kind a "Browser" setting names: the kind of its code in kBrowserCodes ("communicator"
// and "netscape4" Communicator, "netscape" Navigator, "msie4" and "msie" Internet
// Explorer), any other text Other, an empty text kNoKind.
Kind KindFromCode(const char* code);

// Where the address goes in a bypass list: Internet Explorer puts it first with ";",
// Navigator last with ",".
enum class ListOrder { AddressFirst, AddressLast };
// The list with the address merged in: the address alone for an empty list, the list
// unchanged when it holds the address anywhere, else both joined. Never cut: a user's
// entries are kept whatever the length.
std::string MergeBypassList(const std::string& list, ListOrder order);

// Copies prefs.js from `prefs` to `rewritten` as the proxy step rewrites it. The file is
// read in pieces as a 512-byte line reader delivers them (a NUL ends a piece's text). A
// piece that names the bypass preference without the address gets the address in front
// of its last double quote (after a comma unless the value was empty); the fixed line is
// appended when no piece named the preference. The preference and the address count only
// where they begin a character.
void RewritePrefsFile(std::FILE* prefs, std::FILE* rewritten,
                      const chars::CodePage& page = chars::System());

// Internet Explorer's program directory from its App Paths value: a leading double quote
// removed, then everything from the last backslash after the first character cut off.
std::string DirectoryFromAppPath(const std::string& appPath,
                                 const chars::CodePage& page = chars::System());
// The directory from the class registration's LocalServer32 value: cut at the last
// backslash, then a leading double or single quote removed.
std::string DirectoryFromLocalServer(const std::string& localServer,
                                     const chars::CodePage& page = chars::System());
// iexplore.ini's cache folder gives the browser directory as its parent.
std::string DirectoryFromCacheFolder(const std::string& cacheFolder,
                                     const chars::CodePage& page = chars::System());
// iexplore.ini's sign-up viewer gives the browser directory before "\isignup.exe".
std::string DirectoryFromSignupViewer(const std::string& viewer,
                                      const chars::CodePage& page = chars::System());

// The folder in which Navigator's netscape.exe is looked for, from its "Install
// Directory": "\program" added unless the text ends with "program"; an install directory
// inside a "Communicator" folder maps to the sibling "navigator\program".
std::string NavigatorProgramFolder(const std::string& installDir,
                                   const chars::CodePage& page = chars::System());
// The program folder of a Communicator install directory ("\program" unless present,
// also after an empty one).
std::string CommunicatorProgramFolder(const std::string& installDir,
                                      const chars::CodePage& page = chars::System());
// The program file of a detected Netscape 4.x or 6 installation.
std::string Netscape4ProgramPath(const std::string& installDir,
                                 const chars::CodePage& page = chars::System());
std::string Netscape6ProgramPath(const std::string& installDir,
                                 const chars::CodePage& page = chars::System());
// The CD's plug-in tree below the source root, copied into each detected browser's
// plug-in folder; it holds the viewer control, which registers itself from Internet
// Explorer's plug-in folder.
constexpr char kPluginTree[] = "\\plugins\\corvane";
constexpr char kViewerControl[] = "view_ocx.ocx";

// The plug-in folder of a detected installation's program path (its folder + "plugins");
// empty when the path names neither netscape.exe nor netscp6.exe.
std::string PluginFolderFromProgramPath(const std::string& programPath,
                                        const chars::CodePage& page = chars::System());

// The rows of the browser selection dialog, top to bottom, as choice codes.
constexpr int kMaxRows = 11;
constexpr int kMaxDetected = 10;
struct BrowserRows {
    Choice codes[kMaxRows];
    int rows;
    // Rows of codes 0 and 1, before the detected installations.
    int fixedRows;
    // Detected installations listed; the last ones are dropped when every candidate
    // would not fit, never the fixed rows or "Other Browser".
    int detectedShown;
};
BrowserRows BuildRows(bool showIE, bool showNavigator3, int detected, bool showOther);
// How far the controls below the rows move up, in pixels, for a template made for
// kMaxRows rows whose first and last radio centres are `span` pixels apart.
int RowsShrink(int span, int rows);
// The detected installation (0-based) a row lists, or -1 for a fixed row and for the
// last row, whose path comes from the edit field.
int DetectedIndexOfRow(const BrowserRows& rows, int row);

} // namespace browser
