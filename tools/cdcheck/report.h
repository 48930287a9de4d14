// cdcheck's findings, printed as a compiler prints them ("where:line: error: text") in
// the order they are found, and the exit code they add up to.
#pragma once

#include <cstdio>
#include <string>

namespace cdcheck {

enum class Severity { Note, Warning, Error };

// Exit codes: a clean CD, warnings only, errors, a wrong command line.
constexpr int kExitClean = 0;
constexpr int kExitWarnings = 1;
constexpr int kExitErrors = 2;
constexpr int kExitUsage = 64;

class Report {
public:
    Report(std::FILE* out, bool showNotes) : out_(out), showNotes_(showNotes) {}

    // `line` 0 leaves the line number out.
    void Add(Severity severity, const std::string& where, int line, const std::string& text);
    void Error(const std::string& where, int line, const std::string& text) {
        Add(Severity::Error, where, line, text);
    }
    void Warning(const std::string& where, int line, const std::string& text) {
        Add(Severity::Warning, where, line, text);
    }
    void Note(const std::string& where, int line, const std::string& text) {
        Add(Severity::Note, where, line, text);
    }

    int Errors() const { return errors_; }
    int Warnings() const { return warnings_; }
    int ExitCode() const;
    // "N errors and M warnings", nothing for a clean CD.
    void PrintSummary() const;

private:
    std::FILE* out_;
    bool showNotes_;
    int errors_ = 0;
    int warnings_ = 0;
};

// A value from the CD in double quotes, fit for one line of a terminal: control bytes
// and quotes escaped, a long value cut in the middle.
std::string Quoted(const std::string& value);

} // namespace cdcheck
