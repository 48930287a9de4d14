// Names of sections and keys: ASCII case folding and the 16-bit hash that lookups
// compare before comparing the names themselves.
#pragma once

#include <cstddef>
#include <cstdint>

#include "platform/code_page.h"

namespace inifile {

// Upper-cases a-z only: names are bytes in the system code page, and only ASCII letters
// are folded, so the result never depends on a locale.
inline unsigned char AsciiUpper(unsigned char c) {
    return (c >= 'a' && c <= 'z') ? static_cast<unsigned char>(c - ('a' - 'A')) : c;
}

// Two 8-bit Pearson hashes over the upper-cased name: high byte from 0, low byte from
// the first upper-cased byte plus one. Hashes never leave memory. Second bytes are folded
// too: names equal by NamesEqual in any code page have equal hashes.
std::uint16_t NameHash(const char* name);

// Case-insensitive equality of two zero-terminated names, by the characters of `page`.
inline bool NamesEqual(const char* a, const char* b, const chars::CodePage& page) {
    return chars::EqualsNoCase(a, b, page);
}

} // namespace inifile
