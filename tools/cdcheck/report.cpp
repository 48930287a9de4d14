#include "tools/cdcheck/report.h"

namespace cdcheck {

namespace {

// Enough to recognise a value; the rest only fills the screen.
constexpr std::size_t kShownValueLength = 72;

const char* SeverityName(Severity severity) {
    switch (severity) {
    case Severity::Note:
        return "note";
    case Severity::Warning:
        return "warning";
    case Severity::Error:
        return "error";
    }
    return "error";
}

void AppendEscaped(std::string& out, const std::string& text) {
    static const char kHex[] = "0123456789abcdef";
    for (char c : text) {
        unsigned char byte = static_cast<unsigned char>(c);
        if (c == '"') {
            out += "\\\"";
        } else if (byte < 0x20 || byte == 0x7f) {
            out += "\\x";
            out += kHex[byte >> 4];
            out += kHex[byte & 15];
        } else {
            out += c;
        }
    }
}

} // namespace

void Report::Add(Severity severity, const std::string& where, int line, const std::string& text) {
    if (severity == Severity::Error)
        ++errors_;
    else if (severity == Severity::Warning)
        ++warnings_;
    else if (!showNotes_)
        return;
    if (line > 0)
        std::fprintf(out_, "%s:%d: %s: %s\n", where.c_str(), line, SeverityName(severity),
                     text.c_str());
    else
        std::fprintf(out_, "%s: %s: %s\n", where.c_str(), SeverityName(severity), text.c_str());
}

int Report::ExitCode() const {
    if (errors_ > 0)
        return kExitErrors;
    return warnings_ > 0 ? kExitWarnings : kExitClean;
}

void Report::PrintSummary() const {
    if (errors_ == 0 && warnings_ == 0)
        return;
    std::fprintf(out_, "%d error%s and %d warning%s\n", errors_, errors_ == 1 ? "" : "s", warnings_,
                 warnings_ == 1 ? "" : "s");
}

std::string Quoted(const std::string& value) {
    std::string out = "\"";
    if (value.size() <= kShownValueLength) {
        AppendEscaped(out, value);
    } else {
        AppendEscaped(out, value.substr(0, kShownValueLength / 2));
        out += "...";
        AppendEscaped(out, value.substr(value.size() - kShownValueLength / 2));
    }
    out += '"';
    return out;
}

} // namespace cdcheck
