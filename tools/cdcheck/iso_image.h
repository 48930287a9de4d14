// A CD image read with libcdio's ISO 9660 library: every file and folder with the name
// the publisher gave it (Rock Ridge) and the name Windows reads (Joliet).
#pragma once

#include <string>
#include <vector>

#include "tools/cdcheck/medium_limits.h"

namespace cdcheck {

enum class ImageRead {
    Ok,
    NotAnImage,  // no ISO 9660 volume descriptor
    Damaged,     // a descriptor, but the tree cannot be read whole
    Unsupported, // this build reads no images
};

struct ImageListing {
    std::string label;
    bool joliet = false;              // the image has Joliet names
    std::vector<MediumEntry> entries; // parents before children; `where` is image + path
};

// `why` receives the reason when the result is not Ok.
ImageRead ReadImage(const std::string& imagePath, ImageListing* listing, std::string* why);

} // namespace cdcheck
