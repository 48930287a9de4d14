// Characters of the system's ANSI code page. On Japanese (932), Simplified Chinese (936),
// Korean (949) and Traditional Chinese (950) Windows a character may take two bytes, and
// its second byte may be any byte from 0x40 up: a backslash, a bracket or an ASCII
// letter. So a rule that looks at a byte as a separator, folds letter case, cuts a text
// or steps back from its end walks characters from the start with these, never bytes.
//
// The rules take the code page as their last argument, System() unless a caller names
// another: the native tests run them with the code pages below.
#pragma once

#include <cstddef>
#include <cstdint>

namespace chars {

class CodePage {
public:
    // Single-byte: every byte is a character of its own.
    constexpr CodePage() = default;

    // This code page with the bytes first..last as lead bytes as well.
    constexpr CodePage WithLeadBytes(unsigned char first, unsigned char last) const {
        CodePage page = *this;
        for (unsigned c = first; c <= last; ++c)
            page.lead_[c >> 5] |= 1u << (c & 31);
        return page;
    }

    constexpr bool IsLeadByte(unsigned char c) const { return (lead_[c >> 5] >> (c & 31)) & 1u; }

    // The bytes of the character at `p`, as CharNextA steps: 0 at the terminator, 2 for a
    // lead byte with a byte after it, 1 otherwise (a lead byte last in the text stands
    // alone).
    std::size_t CharSize(const char* p) const {
        if (*p == '\0')
            return 0;
        return IsLeadByte(static_cast<unsigned char>(*p)) && p[1] != '\0' ? 2 : 1;
    }

private:
    std::uint32_t lead_[8] = {};
};

constexpr CodePage kSingleByte;
constexpr CodePage kJapanese = CodePage().WithLeadBytes(0x81, 0x9F).WithLeadBytes(0xE0, 0xFC);
constexpr CodePage kSimplifiedChinese = CodePage().WithLeadBytes(0x81, 0xFE);
constexpr CodePage kKorean = CodePage().WithLeadBytes(0x81, 0xFE);
constexpr CodePage kTraditionalChinese = CodePage().WithLeadBytes(0x81, 0xFE);

// The system's ANSI code page: on Windows the machine's (IsDBCSLeadByte), elsewhere, where
// only the tools and tests run, single-byte.
const CodePage& System();

// The longest start of `text` of at most maxBytes bytes that ends between two characters.
std::size_t CutSize(const char* text, std::size_t maxBytes, const CodePage& page = System());

// Whether the last character of the first `length` bytes of `text` is `c`.
bool EndsWith(const char* text, std::size_t length, char c, const CodePage& page = System());

// The last character `c` of `text`, or null.
const char* FindLast(const char* text, char c, const CodePage& page = System());

// The first place where `part` begins a character of `text`, or null.
const char* Find(const char* text, const char* part, const CodePage& page = System());

// Equality without regard to the case of ASCII letters; a second byte is compared as it is.
bool EqualsNoCase(const char* a, const char* b, const CodePage& page = System());

// Lower-cases the ASCII letters of `text` in place, leaving second bytes alone.
void LowerAscii(char* text, const CodePage& page = System());

} // namespace chars
