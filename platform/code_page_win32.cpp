// The machine's ANSI code page, as the system's own ANSI functions see it.
#include <windows.h>

#include "platform/code_page.h"

namespace chars {

namespace {
CodePage AskTheSystem() {
    CodePage page;
    for (unsigned c = 0x80; c <= 0xFF; ++c) {
        if (::IsDBCSLeadByte(static_cast<BYTE>(c)))
            page = page.WithLeadBytes(static_cast<unsigned char>(c), static_cast<unsigned char>(c));
    }
    return page;
}
} // namespace

const CodePage& System() {
    // The code page is fixed for the life of the process.
    static const CodePage page = AskTheSystem();
    return page;
}

} // namespace chars
