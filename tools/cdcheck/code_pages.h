// The ANSI code pages a CD's names reach the setup in. A Joliet name is Unicode; Windows
// turns it into the machine's ANSI code page for an ANSI program such as the setup, and
// a character that code page lacks becomes "?", a name no file of the CD has.
#pragma once

#include <string>
#include <vector>

#include "tools/cdcheck/medium_limits.h"
#include "tools/cdcheck/report.h"

namespace cdcheck {

// The code pages checked unless the command line names others: Western and Japanese.
constexpr char kDefaultCodePages[] = "1252,932";

// A list such as "1252,932"; false, with the reason in `why`, when an item is no ANSI
// code page of Windows or this build cannot convert to it.
bool ParseCodePages(const std::string& list, std::vector<int>* codePages, std::string* why);

// Warns of each name that Windows with one of the code pages reads otherwise.
void CheckCodePages(const std::vector<MediumEntry>& entries, const std::vector<int>& codePages,
                    Report& report);

// The conversion itself, one file for each host (code_page_iconv.cpp, code_page_win32.cpp).
// Whether this build converts names to the code page.
bool ConvertsTo(int codePage);
// `name` as Windows with the code page reads it, each character it lacks as "?"; true
// when nothing is lost. Names are in the host's encoding: UTF-8, or on Windows the
// machine's own ANSI code page (the listing's calls are the setup's).
bool ReadInCodePage(int codePage, const std::string& name, std::string* read);

} // namespace cdcheck
