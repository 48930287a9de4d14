// The values of the CD's settings as the engine's steps read them: each value that
// several steps read has one reader here, called by each step when it needs the value
// (the settings files change during the run, so nothing is kept from an earlier read).
#pragma once

#include <string>

class CIni;

namespace settings {

// The value of `key` in `section`, whole; empty when missing or unreadable.
std::string ReadText(CIni& ini, const char* section, const char* key);

// "LicenseFile": the agreement to show, relative to the source root; empty for none.
std::string ReadLicenseFile(CIni& ini);
// "Browser": a browser code or a browser's program path; empty when the CD names none.
std::string ReadBrowser(CIni& ini);
// "ApplicationName" whole, as the captions show it.
std::string ReadApplicationName(CIni& ini);

// The application's group and name as every step that records or makes something for the
// application takes them. A group or name longer than the engine's 260-character buffers
// is refused whole: `refused` is set and no step writes an application key, makes a
// shortcut or group, looks for an installed shortcut, or puts the default in its place.
struct ApplicationNames {
    std::string group;
    std::string name;
    bool refused = false;
};
ApplicationNames ReadApplicationNames(CIni& ini);

// The names with kDefaultApplicationName for an empty group or name; a refused pair stays
// refused.
ApplicationNames WithDefaultNames(ApplicationNames names);

} // namespace settings
