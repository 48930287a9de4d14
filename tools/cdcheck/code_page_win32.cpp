// Names converted by Windows itself: from the machine's ANSI code page, which the
// folder's listing gives, to UTF-16, then a character at a time to the code page and
// back, so that a best-fit stand-in (e for é) counts as lost, as in a file name.
#include <windows.h>

#include "tools/cdcheck/code_pages.h"

namespace cdcheck {

namespace {

std::wstring Wide(const std::string& text) {
    const int length =
        MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
    std::wstring wide(static_cast<std::size_t>(length), L'\0');
    MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), &wide[0], length);
    return wide;
}

std::string Narrow(const std::wstring& wide) {
    const int length = WideCharToMultiByte(CP_ACP, 0, wide.data(), static_cast<int>(wide.size()),
                                           nullptr, 0, nullptr, nullptr);
    std::string text(static_cast<std::size_t>(length), '\0');
    WideCharToMultiByte(CP_ACP, 0, wide.data(), static_cast<int>(wide.size()), &text[0], length,
                        nullptr, nullptr);
    return text;
}

bool RoundTrips(int codePage, const std::wstring& character) {
    char bytes[8];
    BOOL usedDefault = FALSE;
    const int length = WideCharToMultiByte(static_cast<UINT>(codePage), 0, character.data(),
                                           static_cast<int>(character.size()), bytes, sizeof bytes,
                                           nullptr, &usedDefault);
    wchar_t back[4];
    return length > 0 && !usedDefault &&
           MultiByteToWideChar(static_cast<UINT>(codePage), 0, bytes, length, back, 4) ==
               static_cast<int>(character.size()) &&
           character.compare(0, character.size(), back, character.size()) == 0;
}

} // namespace

bool ConvertsTo(int codePage) {
    return IsValidCodePage(static_cast<UINT>(codePage)) != 0;
}

bool ReadInCodePage(int codePage, const std::string& name, std::string* read) {
    const std::wstring wide = Wide(name);
    std::wstring shown;
    bool whole = true;
    for (std::size_t i = 0; i < wide.size();) {
        const bool pair = wide[i] >= 0xD800 && wide[i] <= 0xDBFF && i + 1 < wide.size();
        const std::wstring character = wide.substr(i, pair ? 2 : 1);
        i += character.size();
        if (character[0] < 0x80 || RoundTrips(codePage, character)) {
            shown += character;
        } else {
            shown += L'?';
            whole = false;
        }
    }
    *read = Narrow(shown);
    return whole;
}

} // namespace cdcheck
