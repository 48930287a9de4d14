// Names converted with glibc's iconv, whose CP tables are Windows' own (CP932 is
// Windows-31J, CP936 GBK, CP949 UHC).
#include <iconv.h>

#include <map>

#include "tools/cdcheck/code_pages.h"

namespace cdcheck {

namespace {

const iconv_t kNoConverter = reinterpret_cast<iconv_t>(-1);

// One converter from UTF-8 for each code page, opened when first asked for, closed at the
// end of the run.
class Converters {
public:
    Converters() = default;
    Converters(const Converters&) = delete;
    Converters& operator=(const Converters&) = delete;
    ~Converters() {
        for (const auto& converter : converters_) {
            if (converter.second != kNoConverter)
                iconv_close(converter.second);
        }
    }

    iconv_t For(int codePage) {
        auto found = converters_.find(codePage);
        if (found == converters_.end())
            found = converters_
                        .emplace(codePage,
                                 iconv_open(("CP" + std::to_string(codePage)).c_str(), "UTF-8"))
                        .first;
        return found->second;
    }

private:
    std::map<int, iconv_t> converters_;
};

iconv_t Converter(int codePage) {
    static Converters converters;
    return converters.For(codePage);
}

// The bytes of the UTF-8 character that `lead` begins; 1 for a byte that begins none
// (which then does not convert).
std::size_t CharacterLength(unsigned char lead) {
    return lead < 0xC0 ? 1 : lead < 0xE0 ? 2 : lead < 0xF0 ? 3 : 4;
}

bool Converts(iconv_t converter, const std::string& character) {
    char out[8];
    char* in = const_cast<char*>(character.data());
    char* to = out;
    std::size_t inLeft = character.size();
    std::size_t outLeft = sizeof out;
    iconv(converter, nullptr, nullptr, nullptr, nullptr);
    return iconv(converter, &in, &inLeft, &to, &outLeft) != static_cast<std::size_t>(-1) &&
           inLeft == 0;
}

} // namespace

bool ConvertsTo(int codePage) {
    return Converter(codePage) != kNoConverter;
}

bool ReadInCodePage(int codePage, const std::string& name, std::string* read) {
    const iconv_t converter = Converter(codePage);
    read->clear();
    bool whole = true;
    for (std::size_t i = 0; i < name.size();) {
        const unsigned char lead = static_cast<unsigned char>(name[i]);
        const std::string character = name.substr(i, CharacterLength(lead));
        i += character.size();
        // Every ANSI code page holds ASCII as it is.
        if (lead < 0x80 || Converts(converter, character)) {
            *read += character;
        } else {
            *read += '?';
            whole = false;
        }
    }
    return whole;
}

} // namespace cdcheck
