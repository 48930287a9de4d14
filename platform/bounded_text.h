// Bounded text and paths: every copy into a fixed buffer of the program goes through
// these. No Win32 calls, so the engine's portable rules, the tools and the Windows code
// share them. A function that writes takes the buffer's size and never writes past it.
//
// Two kinds of text: a path (or key) is kept whole or not at all, since a cut path names
// something else; a text that is only shown or recorded may be cut (CopyCut).
//
// Every rule that walks, cuts or looks at the end of a text does so by the characters of
// `page` (platform/code_page.h): a backslash is a separator only as a character of its own.
#pragma once

#include <array>
#include <cstddef>
#include <string>

#include "platform/code_page.h"

namespace bounded {

// The program's path buffers: 260 characters and the terminator.
constexpr std::size_t kPathSize = 261;
// The longest path the file manager works with; a tree copy stops at a longer one.
constexpr std::size_t kMaxFilePath = 255;

// Two names joined when compiling, for a name the program makes of two it states: the
// result's data() is the joined text with its terminator.
template <std::size_t A, std::size_t B>
constexpr std::array<char, A + B - 1> Joined(const char (&a)[A], const char (&b)[B]) {
    std::array<char, A + B - 1> joined{};
    for (std::size_t i = 0; i + 1 < A; ++i)
        joined[i] = a[i];
    for (std::size_t i = 0; i < B; ++i)
        joined[A - 1 + i] = b[i];
    return joined;
}

// Appends `part` whole; when it does not fit, the buffer stays as it was and the result
// is false.
bool Append(char* buffer, std::size_t size, const char* part);

// Copies `source` whole; when it does not fit, `out` is left empty and the result is false.
bool Copy(char* out, std::size_t size, const char* source);

// Copies as much of `source` as fits, always terminated and never half a character: only
// for shown or recorded texts.
void CopyCut(char* out, std::size_t size, const char* source,
             const chars::CodePage& page = chars::System());

// Appends a backslash unless the text already ends with one; false when it does not fit.
bool EnsureTrailingBackslash(char* buffer, std::size_t size,
                             const chars::CodePage& page = chars::System());

// Removes one trailing backslash, if there is one.
void StripTrailingBackslash(char* path, const chars::CodePage& page = chars::System());
void StripTrailingBackslash(std::string& path, const chars::CodePage& page = chars::System());

// dir, a backslash unless dir already ends with one, and name: for paths held in strings,
// which have no bound of their own until they reach a buffer.
std::string JoinPath(const std::string& dir, const std::string& name,
                     const chars::CodePage& page = chars::System());

// Appends a relative name from outside (a setting) as path components: exactly one
// backslash between the buffer and the name and between its components, none at the
// end; "\data\", "data" and "\data\\" all append "\data". An empty name (or one made of
// separators only) appends nothing. Whole or not at all, like Append.
bool AppendName(char* buffer, std::size_t size, const char* name,
                const chars::CodePage& page = chars::System());
// The same for a registry key, where only the backslash divides parts ("/" is a
// character of the key's name).
bool AppendKeyName(char* buffer, std::size_t size, const char* name,
                   const chars::CodePage& page = chars::System());

// True when a relative name stays below the folder it is appended to: no drive or other
// colon, no ".." component (nor one that Windows reads as "..", such as "..." or ".. ").
// Separators anywhere, doubled or not, are harmless.
bool StaysBelow(const char* name, const chars::CodePage& page = chars::System());

} // namespace bounded
