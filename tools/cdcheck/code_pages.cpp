#include "tools/cdcheck/code_pages.h"

#include <algorithm>
#include <cctype>

namespace cdcheck {

namespace {

// The ANSI code pages of Windows: Thai, Japanese, Simplified Chinese, Korean,
// Traditional Chinese, then 1250 to 1258 (Central European to Vietnamese).
bool IsAnsiCodePage(int codePage) {
    return codePage == 874 || codePage == 932 || codePage == 936 || codePage == 949 ||
           codePage == 950 || (codePage >= 1250 && codePage <= 1258);
}

} // namespace

bool ParseCodePages(const std::string& list, std::vector<int>* codePages, std::string* why) {
    codePages->clear();
    std::size_t start = 0;
    do {
        const std::size_t end = std::min(list.find(',', start), list.size());
        const std::string item = list.substr(start, end - start);
        start = end + 1;
        const bool digits =
            !item.empty() && item.size() <= 5 && std::all_of(item.begin(), item.end(), [](char c) {
                return std::isdigit(static_cast<unsigned char>(c)) != 0;
            });
        const int codePage = digits ? std::stoi(item) : 0;
        if (!IsAnsiCodePage(codePage)) {
            *why = Quoted(item) + " is no ANSI code page of Windows (874, 932, 936, 949, 950, "
                                  "1250 to 1258)";
            return false;
        }
        if (!ConvertsTo(codePage)) {
            *why = "this build cannot convert names to code page " + item;
            return false;
        }
        if (std::find(codePages->begin(), codePages->end(), codePage) == codePages->end())
            codePages->push_back(codePage);
    } while (start <= list.size());
    return true;
}

void CheckCodePages(const std::vector<MediumEntry>& entries, const std::vector<int>& codePages,
                    Report& report) {
    for (const MediumEntry& entry : entries) {
        if (entry.readAs.empty())
            continue; // not seen at all, reported as such
        const std::string name = LastName(entry.readAs);
        std::string read;
        for (int codePage : codePages) {
            if (!ReadInCodePage(codePage, name, &read))
                report.Warning(entry.where, 0,
                               "Windows with code page " + std::to_string(codePage) +
                                   " reads this name as " + Quoted(read) +
                                   ": the setup there cannot open it");
        }
    }
}

} // namespace cdcheck
