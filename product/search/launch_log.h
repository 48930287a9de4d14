// Every start of the stand-in search program is recorded in one log, so that the
// end-to-end tests and the demo can see which program the setup started, with which
// command line and in which directory. One line per start:
//   <current directory> TAB <full command line> CR LF
#pragma once

namespace launch_log {

// On the Wine prefix's drive C, so the rig can also read it from the host side
// ($WINEPREFIX/drive_c/lumora-launches.log).
constexpr const char kPath[] = "C:\\lumora-launches.log";
constexpr char kSeparator = '\t';

} // namespace launch_log
