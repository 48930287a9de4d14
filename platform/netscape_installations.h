// Every installed Netscape Communicator 4.x and Netscape 6, found through their version
// subkeys in HKEY_LOCAL_MACHINE: the program file's path and a label for each. The
// browser selection dialog lists them; the plug-in step fills their plug-in folders.
// The list is a value: whoever holds it owns it, and nothing needs freeing by hand.
#pragma once

#include <string>
#include <vector>

struct NetscapeInstallation {
    std::string path;  // the program file, netscape.exe or netscp6.exe
    std::string label; // "Netscape Communicator " and the version subkey's name
};

// At most browser::kMaxDetected installations, in registry order: the Navigator versions
// first, stopping at nine, then the Netscape 6 versions, stopping at nine again or at
// one more.
std::vector<NetscapeInstallation> DetectNetscapeInstallations();
