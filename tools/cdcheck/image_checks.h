// cdcheck IMAGE: what only the pressed image shows.
#pragma once

#include <string>

namespace cdcheck {

// Reads the image and reports names Windows reads otherwise, folders and paths past the
// format's limits, the setup's files missing where it looks, and its program files that
// the machines the CD is for cannot start. Returns the exit code.
int CheckImage(const std::string& imagePath, bool showNotes);

} // namespace cdcheck
