#include "integration/browser_rules.h"

#include <cstring>

#include "platform/bounded_text.h"
#include "setup/rules.h"

namespace {

using rules::EqualsNoCase;

bool Contains(const std::string& text, const char* part, const chars::CodePage& page) {
    return chars::Find(text.c_str(), part, page) != nullptr;
}

} // namespace

int EndsWithNoCase(const char* text, const char* suffix, const chars::CodePage& page) {
    if (text == nullptr || suffix == nullptr)
        return 0;
    std::size_t textLength = std::strlen(text);
    std::size_t suffixLength = std::strlen(suffix);
    if (suffixLength == 0 || suffixLength > textLength)
        return 0;
    const char* start = text + textLength - suffixLength;
    const char* p = text;
    while (p < start)
        p += page.CharSize(p);
    return p == start && chars::EqualsNoCase(start, suffix, page) ? 1 : 0;
}

namespace browser {

const BrowserCode kBrowserCodes[] = {
    {"communicator", kCommunicator, false}, {"netscape4", kCommunicator, true},
    {"netscape", kNavigator, true},         {"msie4", kInternetExplorer, false},
    {"msie", kInternetExplorer, true},
};
const std::size_t kBrowserCodeCount = sizeof(kBrowserCodes) / sizeof(kBrowserCodes[0]);

Kind KindFromCode(const char* code) {
    if (code == nullptr || code[0] == '\0')
        return kNoKind;
    for (const BrowserCode& known : kBrowserCodes) {
        if (EqualsNoCase(code, known.code))
            return known.kind;
    }
    return kOther;
}

Kind KindForChoice(int choice) {
    switch (choice) {
    case kCodeNavigator3:
        return kNavigator;
    case kCodeIE:
        return kInternetExplorer;
    default:
        return kOther;
    }
}

const char* CodeForKind(Kind kind, const char* browserText) {
    for (const BrowserCode& known : kBrowserCodes) {
        if (known.kind == kind && known.recorded)
            return known.code;
    }
    return browserText;
}

std::string MergeBypassList(const std::string& list, ListOrder order) {
    if (list.empty())
        return kLocalAddress;
    // A plain substring test: an entry such as 127.0.0.10 counts as present.
    if (list.find(kLocalAddress) != std::string::npos)
        return list;
    if (order == ListOrder::AddressFirst)
        return std::string(kLocalAddress) + ";" + list;
    return list + "," + kLocalAddress;
}

namespace {

std::string RewritePrefsPiece(const std::string& piece, bool* present,
                              const chars::CodePage& page) {
    if (!Contains(piece, kNoProxiesPreference, page))
        return piece;
    *present = true;
    if (Contains(piece, kLocalAddress, page))
        return piece;
    std::size_t quote = piece.rfind('"');
    if (quote == std::string::npos)
        return piece;
    // An empty value ("") gets the address alone, any other one a comma before it.
    bool emptyValue = quote > 0 && piece[quote - 1] == '"';
    std::string inserted =
        emptyValue ? std::string(kLocalAddress) : std::string(",") + kLocalAddress;
    return piece.substr(0, quote) + inserted + piece.substr(quote);
}

} // namespace

void RewritePrefsFile(std::FILE* prefs, std::FILE* rewritten, const chars::CodePage& page) {
    bool present = false;
    char piece[kPrefsPieceLength + 1];
    while (std::fgets(piece, sizeof(piece), prefs) != nullptr)
        std::fputs(RewritePrefsPiece(piece, &present, page).c_str(), rewritten);
    if (!present)
        std::fputs(kNoProxiesLine, rewritten);
}

namespace {

// Where `part` first begins a character of `text`, or npos.
std::size_t FindPart(const std::string& text, const char* part, const chars::CodePage& page) {
    const char* found = chars::Find(text.c_str(), part, page);
    return found != nullptr ? static_cast<std::size_t>(found - text.c_str()) : std::string::npos;
}

// `dir` cut at its last backslash character; with `firstCounts` false, a backslash that
// is the first character does not count.
void CutAtLastBackslash(std::string& dir, bool firstCounts, const chars::CodePage& page) {
    const char* slash = chars::FindLast(dir.c_str(), '\\', page);
    if (slash != nullptr && (firstCounts || slash != dir.c_str()))
        dir.resize(static_cast<std::size_t>(slash - dir.c_str()));
}

} // namespace

std::string DirectoryFromAppPath(const std::string& appPath, const chars::CodePage& page) {
    std::string dir = appPath;
    if (!dir.empty() && dir[0] == '"')
        dir.erase(0, 1);
    // A backslash in the first position never ends the directory.
    CutAtLastBackslash(dir, false, page);
    return dir;
}

std::string DirectoryFromLocalServer(const std::string& localServer, const chars::CodePage& page) {
    std::string dir = localServer;
    CutAtLastBackslash(dir, true, page);
    if (!dir.empty() && (dir[0] == '"' || dir[0] == '\''))
        dir.erase(0, 1);
    return dir;
}

std::string DirectoryFromCacheFolder(const std::string& cacheFolder, const chars::CodePage& page) {
    std::string dir = cacheFolder;
    bounded::StripTrailingBackslash(dir, page);
    CutAtLastBackslash(dir, true, page);
    return dir;
}

std::string DirectoryFromSignupViewer(const std::string& viewer, const chars::CodePage& page) {
    std::size_t program = FindPart(viewer, "\\isignup.exe", page);
    return program == std::string::npos ? viewer : viewer.substr(0, program);
}

std::string CommunicatorProgramFolder(const std::string& installDir, const chars::CodePage& page) {
    // An empty directory does not end with "program" either: it gives "\program".
    if (EndsWithNoCase(installDir.c_str(), "program", page))
        return installDir;
    return installDir + "\\program";
}

std::string NavigatorProgramFolder(const std::string& installDir, const chars::CodePage& page) {
    std::string folder = CommunicatorProgramFolder(installDir, page);
    // Navigator 4 records the Communicator folder; its own program lives beside it.
    std::size_t communicator = FindPart(folder, "Communicator", page);
    if (communicator == std::string::npos)
        communicator = FindPart(folder, "communicator", page);
    if (communicator == std::string::npos)
        return folder;
    return folder.substr(0, communicator) + "navigator\\program";
}

std::string Netscape4ProgramPath(const std::string& installDir, const chars::CodePage& page) {
    return CommunicatorProgramFolder(installDir, page) + "\\netscape.exe";
}

std::string Netscape6ProgramPath(const std::string& installDir, const chars::CodePage& page) {
    std::string dir = installDir;
    bounded::StripTrailingBackslash(dir, page);
    return dir + "\\netscp6.exe";
}

std::string PluginFolderFromProgramPath(const std::string& programPath,
                                        const chars::CodePage& page) {
    std::size_t program = FindPart(programPath, "netscape.exe", page);
    if (program == std::string::npos)
        program = FindPart(programPath, "netscp6.exe", page);
    if (program == std::string::npos)
        return std::string();
    return programPath.substr(0, program) + "plugins";
}

BrowserRows BuildRows(bool showIE, bool showNavigator3, int detected, bool showOther) {
    BrowserRows rows = {};
    if (showIE)
        rows.codes[rows.rows++] = kCodeIE;
    if (showNavigator3)
        rows.codes[rows.rows++] = kCodeNavigator3;
    rows.fixedRows = rows.rows;
    int room = kMaxRows - rows.rows - (showOther ? 1 : 0);
    rows.detectedShown = detected < 0 ? 0 : (detected < room ? detected : room);
    for (int i = 0; i < rows.detectedShown; ++i)
        rows.codes[rows.rows++] = kCodeByPath;
    if (showOther)
        rows.codes[rows.rows++] = kCodeByPath;
    return rows;
}

int RowsShrink(int span, int rows) {
    return span * (kMaxRows - rows) / (kMaxRows - 1);
}

int DetectedIndexOfRow(const BrowserRows& rows, int row) {
    if (row < 0 || row >= rows.rows - 1 || rows.codes[row] != kCodeByPath)
        return -1;
    int index = row - rows.fixedRows;
    return index < rows.detectedShown ? index : -1;
}

} // namespace browser
