#include "platform/filemgr.h"

#include <cstring>

#include "platform/bounded_text.h"
#include "platform/code_page.h"
#include "platform/current_directory.h"

namespace {

// Paths are at most 255 characters; the buffers hold a system path and its terminator.
constexpr std::size_t kMaxPathChars = bounded::kMaxFilePath;

bool IsUsablePath(const char* path) {
    return path != nullptr && path[0] != '\0' && strnlen(path, kMaxPathChars + 1) <= kMaxPathChars;
}

bool CopyPath(char* target, const char* source) {
    return bounded::Copy(target, kMaxPathChars + 1, source);
}

// dir, a backslash unless dir already ends with one, and name; false if that would be
// longer than a path may be. `target` may be `dir` itself.
bool JoinPath(char* target, const char* dir, const char* name) {
    char joined[kMaxPathChars + 1] = "";
    if (!bounded::Append(joined, sizeof joined, dir) ||
        !bounded::EnsureTrailingBackslash(joined, sizeof joined) ||
        !bounded::Append(joined, sizeof joined, name))
        return false;
    return bounded::Copy(target, sizeof joined, joined);
}

bool IsDotEntry(const char* name) {
    return std::strcmp(name, ".") == 0 || std::strcmp(name, "..") == 0;
}

bool IsDirectory(const WIN32_FIND_DATAA& entry) {
    return (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

// The listing of "*" in the current directory, closed when it goes out of scope or
// earlier, where a directory must not stay open while it is removed.
class DirectoryListing {
public:
    DirectoryListing() : handle_(::FindFirstFileA("*", &entry_)) {}
    ~DirectoryListing() { Close(); }
    DirectoryListing(const DirectoryListing&) = delete;
    DirectoryListing& operator=(const DirectoryListing&) = delete;

    bool HasEntry() const { return handle_ != INVALID_HANDLE_VALUE; }
    const WIN32_FIND_DATAA& Entry() const { return entry_; }
    void Next() {
        if (!::FindNextFileA(handle_, &entry_))
            Close();
    }
    void Close() {
        if (handle_ != INVALID_HANDLE_VALUE)
            ::FindClose(handle_);
        handle_ = INVALID_HANDLE_VALUE;
    }

private:
    WIN32_FIND_DATAA entry_;
    HANDLE handle_;
};

} // namespace

int CFileMgr::CreateTree(const char* path, SECURITY_ATTRIBUTES* security) {
    if (!IsUsablePath(path))
        return 0;
    char accumulated[bounded::kPathSize] = "";
    std::size_t length = 0;
    std::size_t createdLength = 0;
    const char* cursor = path;
    while (*cursor != '\0') {
        // Empty components (leading, doubled or trailing backslashes) are skipped, so a
        // root-relative or UNC path is built relative to the current directory.
        while (*cursor == '\\')
            ++cursor;
        // A backslash is a separator only as a character of its own.
        const char* end = cursor;
        while (*end != '\0' && *end != '\\')
            end += chars::System().CharSize(end);
        const std::size_t componentLength = static_cast<std::size_t>(end - cursor);
        if (componentLength == 0)
            break;
        std::memcpy(accumulated + length, cursor, componentLength);
        length += componentLength;
        const bool first = createdLength == 0;
        if (first)
            accumulated[length++] = '\\'; // "c:" becomes the drive root "c:\"
        accumulated[length] = '\0';
        // Existing directories and drive roots fail here; only the final check counts.
        ::CreateDirectoryA(accumulated, security);
        createdLength = length;
        if (!first) {
            accumulated[length++] = '\\';
            accumulated[length] = '\0';
        }
        cursor = end;
    }
    if (createdLength == 0)
        return 0;
    accumulated[createdLength] = '\0';
    const DWORD attributes = ::GetFileAttributesA(accumulated);
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) ? 1 : 0;
}

int CFileMgr::CopyTree(const char* sourceDir, const char* targetDir, int force,
                       char* excludedName) {
    if (!IsUsablePath(sourceDir) || !IsUsablePath(targetDir))
        return 0;
    char source[bounded::kPathSize];
    char target[bounded::kPathSize];
    CopyPath(source, sourceDir);
    AppendBackslashIfNoPathSpecified(source);
    CurrentDirectoryKeeper saved;
    if (!saved.Remembered())
        return 0;
    // A relative target means relative to the directory current at the call; given only
    // a drive letter, it would resolve against the source directory the walk enters.
    if (std::strchr(targetDir, ':') != nullptr || targetDir[0] == '\\') {
        CopyPath(target, targetDir);
        InsertDriveLetter(saved.Path(), target);
    } else if (!JoinPath(target, saved.Path(), targetDir)) {
        return 0;
    }

    if (!::SetCurrentDirectoryA(source))
        return 0;
    // A target directory made just now holds only the copies made below, each already
    // reset to normal attributes: their targets need no reset before the copy. Most
    // targets of an installation are new, and the reset of a missing file still costs a
    // search of its directory. An existing target takes the whole chain.
    const bool freshTarget = ::CreateDirectoryA(target, nullptr) != 0;
    if (!freshTarget)
        CreateTree(target, nullptr);

    int result = 1;
    char targetFile[bounded::kPathSize];
    for (DirectoryListing listing; listing.HasEntry(); listing.Next()) {
        const WIN32_FIND_DATAA& entry = listing.Entry();
        const char* name = entry.cFileName;
        if (IsDirectory(entry)) {
            if (IsDotEntry(name))
                continue;
            if (!JoinPath(targetFile, target, name) ||
                !CopyTree(name, targetFile, force, excludedName)) {
                result = 0;
                break;
            }
            continue;
        }
        if (excludedName != nullptr && chars::EqualsNoCase(name, excludedName))
            continue;
        if (!JoinPath(targetFile, target, name)) {
            result = 0;
            break;
        }
        BOOL copied;
        if (force) {
            // Files from a read-only CD keep their read-only attribute when copied; with
            // force they replace read-only targets, and every copy arrives with normal
            // attributes.
            if (!freshTarget)
                ::SetFileAttributesA(targetFile, FILE_ATTRIBUTE_NORMAL);
            copied = ::CopyFileA(name, targetFile, FALSE);
            if (copied)
                ::SetFileAttributesA(targetFile, FILE_ATTRIBUTE_NORMAL);
        } else {
            copied = ::CopyFileA(name, targetFile, TRUE);
        }
        if (!copied) {
            result = 0;
            break;
        }
    }
    return result;
}

int CFileMgr::DelTree(const char* dir, int force) {
    if (!IsUsablePath(dir))
        return 0;
    CurrentDirectoryKeeper saved;
    if (!saved.Remembered())
        return 0;
    if (!::SetCurrentDirectoryA(dir))
        return 1; // nothing to delete; the current directory did not change

    DirectoryListing listing;
    for (; listing.HasEntry(); listing.Next()) {
        const WIN32_FIND_DATAA& entry = listing.Entry();
        const char* name = entry.cFileName;
        bool deleted;
        if (IsDirectory(entry)) {
            if (IsDotEntry(name))
                continue;
            // A completed DelTree leaves its parent, this directory, current.
            deleted = DelTree(name, force) != 0;
        } else {
            if (force)
                ::SetFileAttributesA(name, FILE_ATTRIBUTE_NORMAL);
            deleted = ::DeleteFileA(name) != 0;
        }
        if (!deleted) {
            listing.Close();
            return 0;
        }
    }
    // A directory cannot be removed while it is current: step out first. The parent
    // stays current afterwards, which is where the caller finds itself.
    if (!::SetCurrentDirectoryA("..")) {
        listing.Close();
        return 0;
    }
    saved.Release();
    listing.Close();
    // The path as given: an absolute one names the directory, and a relative one of one
    // component (as the walk passes it) resolves against the parent, now current.
    return ::RemoveDirectoryA(dir) ? 1 : 0;
}

int CFileMgr::FileExists(const char* path) {
    if (!IsUsablePath(path))
        return 0;
    // Without backup semantics a directory cannot be opened, so it does not count.
    HANDLE file = ::CreateFileA(path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return 0;
    ::CloseHandle(file);
    return 1;
}

int CFileMgr::FileExists(char* path) {
    return FileExists(static_cast<const char*>(path));
}

int CFileMgr::FindFile(const char* dir, const char* fileName, char* out) {
    return FindFile(dir, fileName, out, bounded::kPathSize);
}

int CFileMgr::ForceCopyFile(char* sourceFile, char* targetFile) {
    return ForceCopyFile(static_cast<const char*>(sourceFile),
                         static_cast<const char*>(targetFile));
}

int CFileMgr::ForceDeleteFile(char* path) {
    return ForceDeleteFile(static_cast<const char*>(path));
}

int CFileMgr::CreateDirectoryA(char* path) {
    return CreateDirectoryA(static_cast<const char*>(path));
}

int CFileMgr::DirectoryExists(char* path) {
    return DirectoryExists(static_cast<const char*>(path));
}

int CFileMgr::FindFile(const char* dir, const char* fileName, char* out, std::size_t outSize) {
    if (!IsUsablePath(dir) || fileName == nullptr || out == nullptr)
        return 0;
    CurrentDirectoryKeeper saved;
    if (!saved.Remembered() || !::SetCurrentDirectoryA(dir))
        return 0;

    int found = 0;
    char child[bounded::kPathSize];
    for (DirectoryListing listing; listing.HasEntry(); listing.Next()) {
        const WIN32_FIND_DATAA& entry = listing.Entry();
        const char* name = entry.cFileName;
        if (IsDirectory(entry)) {
            if (!IsDotEntry(name) && JoinPath(child, dir, name) &&
                FindFile(child, fileName, out, outSize)) {
                found = 1;
                break;
            }
            continue;
        }
        if (!chars::EqualsNoCase(name, fileName))
            continue;
        // A hit that does not fit the caller's buffer ends the search unanswered, with
        // the buffer as it was.
        if (JoinPath(child, dir, name) && std::strlen(child) < outSize)
            found = bounded::Copy(out, outSize, child) ? 1 : 0;
        break;
    }
    return found;
}

int CFileMgr::ForceCopyFile(const char* sourceFile, const char* targetFile) {
    if (!IsUsablePath(sourceFile) || !IsUsablePath(targetFile))
        return 0;
    char targetDir[bounded::kPathSize];
    CopyPath(targetDir, targetFile);
    const char* lastSlash = chars::FindLast(targetDir, '\\');
    if (lastSlash != nullptr && lastSlash != targetDir) {
        targetDir[lastSlash - targetDir] = '\0';
        CreateTree(targetDir, nullptr);
    }
    ::SetFileAttributesA(targetFile, FILE_ATTRIBUTE_NORMAL);
    return ::CopyFileA(sourceFile, targetFile, FALSE) ? 1 : 0;
}

int CFileMgr::ForceDeleteFile(const char* path) {
    if (!IsUsablePath(path))
        return 0;
    ::SetFileAttributesA(path, FILE_ATTRIBUTE_NORMAL);
    return ::DeleteFileA(path) ? 1 : 0;
}

int CFileMgr::CreateDirectoryA(const char* path) {
    if (!IsUsablePath(path))
        return 0;
    // The structure is 12 bytes in a 32-bit build and 24 in a 64-bit one; its length
    // field must describe the structure actually passed, so it is taken from the type.
    SECURITY_ATTRIBUTES security;
    security.nLength = sizeof security;
    security.lpSecurityDescriptor = nullptr;
    security.bInheritHandle = FALSE;
    return ::CreateDirectoryA(path, &security);
}

int CFileMgr::DirectoryExists(const char* path) {
    if (!IsUsablePath(path))
        return 0;
    CurrentDirectoryKeeper saved;
    return saved.Remembered() && ::SetCurrentDirectoryA(path) ? 1 : 0;
}

void CFileMgr::AppendBackSlash(char* path) {
    // An empty path stays empty: "\" alone would be the current drive's root.
    if (path[0] != '\0')
        bounded::EnsureTrailingBackslash(path, bounded::kPathSize);
}

void CFileMgr::InsertDriveLetter(const char* referencePath, char* path) {
    if (std::strchr(path, ':') != nullptr)
        return;
    const char* colon = std::strchr(referencePath, ':');
    if (colon == nullptr || colon == referencePath)
        return;
    const std::size_t length = std::strlen(path);
    if (length + 2 >= bounded::kPathSize)
        return;
    std::memmove(path + 2, path, length + 1);
    path[0] = colon[-1];
    path[1] = ':';
}

void CFileMgr::AppendBackslashIfNoPathSpecified(char* path) {
    if (std::strlen(path) == 2 && path[1] == ':')
        AppendBackSlash(path);
}
