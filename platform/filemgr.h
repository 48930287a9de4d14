// CFileMgr: directory chains, tree copies and deletions, forced single-file copies.
// Tree walks make each directory current in turn and list "*" there; every operation
// that changes the current directory restores it, except DelTree (which leaves the
// parent of the deleted directory current).
//
// Error contract: 1 (nonzero) for success, 0 for failure, work done so far left in place.
// Paths longer than 255 characters are refused with 0 before anything changes on disk.
#pragma once

#include <windows.h>

#include <cstddef>

#include "platform/export.h"

// The operations other modules link against, with the exported signatures the product's
// modules are built with; the const forms and FindFile with the output buffer's size are
// what the program itself calls.
class LUMORA_EXPORT CFileMgr {
public:
    int CreateTree(const char* path, SECURITY_ATTRIBUTES* security);
    int CopyTree(const char* sourceDir, const char* targetDir, int force, char* excludedName);
    int DelTree(const char* dir, int force);
    int FileExists(char* path);
    // Writes at most a path buffer (bounded::kPathSize bytes) into `out`.
    int FindFile(const char* dir, const char* fileName, char* out);
    int ForceCopyFile(char* sourceFile, char* targetFile);
    int ForceDeleteFile(char* path);
    int CreateDirectoryA(char* path);
    int DirectoryExists(char* path);

    int FileExists(const char* path);
    int FindFile(const char* dir, const char* fileName, char* out, std::size_t outSize);
    int ForceCopyFile(const char* sourceFile, const char* targetFile);
    int ForceDeleteFile(const char* path);
    int CreateDirectoryA(const char* path);
    int DirectoryExists(const char* path);

private:
    // Each works in place on a path buffer (bounded::kPathSize bytes).
    static void AppendBackSlash(char* path);
    static void InsertDriveLetter(const char* referencePath, char* path);
    static void AppendBackslashIfNoPathSpecified(char* path);
};
