// cdcheck IMAGE: what only the pressed image shows.
#pragma once

#include <string>
#include <vector>

namespace cdcheck {

// Reads the image and reports names Windows reads otherwise, folders and paths past the
// format's limits, names the code pages cannot show, the setup's files missing where it
// looks, and its program files that the machines the CD is for cannot start. Returns the
// exit code.
int CheckImage(const std::string& imagePath, const std::vector<int>& codePages, bool showNotes);

} // namespace cdcheck
