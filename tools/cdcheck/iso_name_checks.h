// The names that Windows reading only ISO 9660 names (windows_reads.h) meets on a
// pressed image: 8.3, upper case, where the publisher's names are longer.
#pragma once

#include <vector>

#include "tools/cdcheck/medium_limits.h"
#include "tools/cdcheck/report.h"

namespace cdcheck {

// Warns of each file or folder whose ISO 9660 name is not the name the other Windows
// read; below a folder so reported, nothing more.
void CheckIsoNames(const std::vector<MediumEntry>& entries, Report& report);

} // namespace cdcheck
