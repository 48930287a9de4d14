// Fuzz target of the prefs.js rewrite. Checked on every input:
//  - every piece of the file (as the 512-byte line reader delivers it) that does not name
//    the bypass preference comes out unchanged;
//  - a piece that names it holds 127.0.0.1 afterwards (unless it has no double quote to
//    put it before), and differs from the input only by that one insertion;
//  - the fixed preference line is appended exactly when no piece named the preference;
//  - on files of short lines, a second rewrite changes nothing.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "integration/browser_rules.h"

namespace {

void Check(bool condition) {
    if (!condition)
        std::abort();
}

// The reader's pieces: through a line end or kPrefsPieceLength characters, cut at a NUL.
std::vector<std::string> Pieces(const std::string& text) {
    std::vector<std::string> pieces;
    std::size_t pos = 0;
    while (pos < text.size()) {
        std::size_t end = pos;
        while (end < text.size() && end - pos < browser::kPrefsPieceLength) {
            if (text[end++] == '\n')
                break;
        }
        std::string piece = text.substr(pos, end - pos);
        piece.resize(std::strlen(piece.c_str()));
        pieces.push_back(piece);
        pos = end;
    }
    return pieces;
}

bool Names(const std::string& piece) {
    return piece.find(browser::kNoProxiesPreference) != std::string::npos;
}

bool ShortLines(const std::string& text) {
    if (text.find('\0') != std::string::npos)
        return false;
    std::size_t start = 0;
    while (start <= text.size()) {
        std::size_t end = text.find('\n', start);
        if (end == std::string::npos)
            end = text.size();
        if (end - start > 400)
            return false;
        start = end + 1;
    }
    return true;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::string input(reinterpret_cast<const char*>(data), size);
    std::string output = browser::RewritePrefsText(input);

    std::size_t pos = 0;
    bool named = false;
    const std::string address = browser::kLocalAddress;
    for (const std::string& piece : Pieces(input)) {
        bool present = false;
        std::string rewritten = browser::RewritePrefsPiece(piece, &present);
        Check(output.compare(pos, rewritten.size(), rewritten) == 0);
        pos += rewritten.size();
        Check(present == Names(piece));
        if (!present) {
            Check(rewritten == piece);
            continue;
        }
        named = true;
        if (piece.find('"') == std::string::npos || piece.find(address) != std::string::npos) {
            Check(rewritten == piece);
            continue;
        }
        Check(rewritten.find(address) != std::string::npos);
        // Only the address, with or without a comma, was put in.
        std::size_t extra = rewritten.size() - piece.size();
        Check(extra == address.size() || extra == address.size() + 1);
        std::size_t at = 0;
        while (at < piece.size() && piece[at] == rewritten[at])
            ++at;
        Check(rewritten.compare(at + extra, std::string::npos, piece, at, std::string::npos) == 0);
    }
    std::string tail = output.substr(pos);
    Check(tail == (named ? std::string() : std::string(browser::kNoProxiesLine)));

    if (ShortLines(input))
        Check(browser::RewritePrefsText(output) == output);
    return 0;
}
