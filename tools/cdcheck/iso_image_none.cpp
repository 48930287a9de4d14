// Builds without libcdio (the Windows one): images are read by the Linux build.
#include "tools/cdcheck/iso_image.h"

namespace cdcheck {

ImageRead ReadImage(const std::string&, ImageListing*, std::string* why) {
    *why = "this build of cdcheck reads CD folders only; the Linux build reads images";
    return ImageRead::Unsupported;
}

} // namespace cdcheck
