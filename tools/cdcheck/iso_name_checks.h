// The names that Windows reading only ISO 9660 names (windows_versions.h) meets: 8.3, upper
// case and ASCII, where the publisher's names are longer or hold other characters.
#pragma once

#include <vector>

#include "tools/cdcheck/medium_limits.h"
#include "tools/cdcheck/report.h"

namespace cdcheck {

// Warns of each file or folder whose ISO 9660 name is not the name the other Windows
// read: on an image the name pressed, on a folder a name beyond ASCII, which no ISO 9660
// name can carry however it is pressed. Below a folder so reported, nothing more.
void CheckIsoNames(const std::vector<MediumEntry>& entries, MediumKind kind, Report& report);

} // namespace cdcheck
