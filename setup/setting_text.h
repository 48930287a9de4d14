// Whole values of the CD's settings, for the callers that must tell an over-long value
// from a missing one (a path that cannot fit the engine's buffers fails its step; a
// missing one means "nothing to do").
#pragma once

#include <string>

class CIni;

namespace settings {

// The value of `key` in `section`, whole; empty when missing or unreadable.
std::string ReadText(CIni& ini, const char* section, const char* key);

} // namespace settings
