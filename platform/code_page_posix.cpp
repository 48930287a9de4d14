// Only the tools and the tests run here: they name a code page when one matters.
#include "platform/code_page.h"

namespace chars {

const CodePage& System() {
    return kSingleByte;
}

} // namespace chars
