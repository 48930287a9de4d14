// Fuzz target of the prefs.js rewrite as the proxy step runs it: RewritePrefsFile from one
// stdio stream to another. Checked on every input without a NUL:
//  - the output is the input with insertions only, each the address with or without a
//    comma right before a double quote, and at most the fixed line appended;
//  - an input that never names the bypass preference gets the fixed line, nothing else.
// On files of short lines (each one piece of the reader) also, in the code page that the
// input's first byte chooses (a piece of a long line may begin inside a character):
//  - every line that names the preference and has a double quote holds the address;
//  - the fixed line is appended exactly when no line names the preference;
//  - a second rewrite changes nothing.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "integration/browser_rules.h"
#include "platform/code_page.h"

namespace {

// As a browser reads them, written out here rather than taken from the program.
const char kPreference[] = "network.proxy.no_proxies_on";
const char kAddress[] = "127.0.0.1";
const char kFixedLine[] = "user_pref(\"network.proxy.no_proxies_on\", \"127.0.0.1\");";

void Check(bool condition) {
    if (!condition)
        std::abort();
}

const chars::CodePage* const kPages[] = {&chars::kSingleByte, &chars::kJapanese,
                                         &chars::kSimplifiedChinese, &chars::kKorean,
                                         &chars::kTraditionalChinese};

std::string Rewrite(const std::string& text, const chars::CodePage& page) {
    // fmemopen refuses an empty buffer: a file of one byte read from its end is empty too.
    std::string buffer = text.empty() ? std::string(1, ' ') : text;
    std::FILE* prefs = fmemopen(&buffer[0], buffer.size(), "rb");
    Check(prefs != nullptr);
    if (text.empty())
        std::fseek(prefs, 0, SEEK_END);
    char* written = nullptr;
    std::size_t length = 0;
    std::FILE* rewritten = open_memstream(&written, &length);
    Check(rewritten != nullptr);
    browser::RewritePrefsFile(prefs, rewritten, page);
    std::fclose(prefs);
    std::fclose(rewritten);
    std::string result(written, length);
    std::free(written);
    return result;
}

bool Names(const std::string& text, const chars::CodePage& page) {
    return chars::Find(text.c_str(), kPreference, page) != nullptr;
}

// The output with the fixed line taken off its end, when the walk over the insertions
// leaves exactly that line; aborts on any other difference from the input.
std::string WithoutAppendedLine(const std::string& input, const std::string& output,
                                bool* appended) {
    const std::string address = kAddress;
    std::string merged;
    std::size_t out = 0;
    for (std::size_t in = 0; in < input.size(); ++in) {
        if (out < output.size() && output[out] != input[in]) {
            Check(input[in] == '"');
            std::size_t inserted = output.compare(out, address.size(), address) == 0
                                       ? address.size()
                                       : address.size() + 1;
            Check(output.compare(out + inserted - address.size(), address.size(), address) == 0);
            Check(inserted == address.size() || output[out] == ',');
            merged.append(output, out, inserted);
            out += inserted;
        }
        Check(out < output.size() && output[out] == input[in]);
        merged += output[out++];
    }
    std::string tail = output.substr(out);
    *appended = !tail.empty();
    Check(tail.empty() || tail == kFixedLine);
    return merged;
}

bool ShortLines(const std::string& text) {
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
    if (size == 0)
        return 0;
    const chars::CodePage& page = *kPages[data[0] % (sizeof kPages / sizeof kPages[0])];
    std::string input(reinterpret_cast<const char*>(data) + 1, size - 1);
    std::string output = Rewrite(input, page);
    if (input.find('\0') != std::string::npos)
        return 0;

    bool appended = false;
    std::string merged = WithoutAppendedLine(input, output, &appended);
    const bool shortLines = ShortLines(input);
    // Bytes name the preference wherever characters do: the weaker test for long lines.
    if (!Names(input, shortLines ? page : chars::kSingleByte))
        Check(appended && merged == input);
    if (!shortLines)
        return 0;

    bool named = false;
    std::size_t start = 0;
    while (start < merged.size()) {
        std::size_t end = merged.find('\n', start);
        std::string line = merged.substr(start, end == std::string::npos ? end : end - start);
        if (Names(line, page)) {
            named = true;
            Check(line.find('"') == std::string::npos || line.find(kAddress) != std::string::npos);
        }
        start = end == std::string::npos ? merged.size() : end + 1;
    }
    Check(appended == !named);
    Check(Rewrite(output, page) == output);
    return 0;
}
