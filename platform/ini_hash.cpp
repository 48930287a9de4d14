#include "platform/ini_hash.h"

namespace inifile {

namespace {

// Any fixed permutation of 0..255 serves; this one is a shuffle with a fixed seed.
constexpr unsigned char kPermutation[256] = {
    183, 129, 97,  201, 121, 73,  127, 1,   110, 194, 112, 218, 54,  103, 154, 187, 8,   10,  227,
    228, 5,   31,  0,   78,  231, 147, 115, 221, 93,  62,  253, 142, 220, 204, 6,   28,  116, 185,
    222, 124, 224, 123, 162, 216, 252, 212, 24,  48,  139, 146, 210, 17,  166, 132, 195, 99,  23,
    248, 159, 125, 135, 173, 234, 63,  40,  134, 41,  51,  209, 88,  241, 199, 16,  102, 160, 26,
    82,  246, 109, 118, 92,  18,  217, 219, 14,  206, 45,  85,  225, 186, 133, 155, 71,  161, 52,
    182, 44,  61,  192, 65,  144, 174, 237, 158, 171, 22,  138, 42,  69,  32,  126, 149, 164, 145,
    244, 105, 9,   100, 235, 178, 168, 79,  119, 34,  46,  95,  19,  98,  207, 111, 240, 27,  59,
    39,  50,  58,  238, 74,  141, 20,  247, 254, 120, 47,  89,  255, 211, 233, 113, 35,  108, 131,
    68,  29,  137, 165, 176, 223, 55,  188, 189, 198, 86,  179, 172, 196, 90,  163, 122, 169, 83,
    37,  175, 13,  170, 33,  70,  229, 208, 130, 203, 190, 60,  181, 243, 76,  53,  36,  213, 200,
    38,  239, 57,  226, 180, 191, 117, 153, 21,  114, 151, 148, 30,  156, 242, 80,  205, 202, 101,
    7,   75,  49,  91,  106, 249, 214, 25,  157, 250, 140, 11,  230, 128, 64,  81,  197, 66,  84,
    43,  2,   104, 4,   150, 87,  152, 3,   15,  251, 245, 94,  177, 72,  67,  167, 12,  96,  236,
    136, 56,  215, 77,  184, 143, 107, 193, 232,
};

} // namespace

std::uint16_t NameHash(const char* name) {
    const auto* p = reinterpret_cast<const unsigned char*>(name);
    unsigned high = 0;
    unsigned low = (AsciiUpper(p[0]) + 1u) & 0xFFu;
    for (; *p; ++p) {
        unsigned char c = AsciiUpper(*p);
        high = kPermutation[high ^ c];
        low = kPermutation[low ^ c];
    }
    return static_cast<std::uint16_t>((high << 8) | low);
}

bool NamesEqual(const char* a, const char* b) {
    const auto* p = reinterpret_cast<const unsigned char*>(a);
    const auto* q = reinterpret_cast<const unsigned char*>(b);
    for (;; ++p, ++q) {
        if (AsciiUpper(*p) != AsciiUpper(*q))
            return false;
        if (*p == 0)
            return true;
    }
}

} // namespace inifile
