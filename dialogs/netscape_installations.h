// Every installed Netscape Communicator 4.x and Netscape 6, found through their version
// subkeys in HKEY_LOCAL_MACHINE: the program file's path and a label for each.
#pragma once

#include "integration/browser_rules.h"

// Fills paths[i] and labels[i] (newly allocated with new[], owned by the caller) for at
// most browser::kMaxDetected installations and sets `count` to their number.
void DetectNetscapeInstallations(char* paths[browser::kMaxDetected],
                                 char* labels[browser::kMaxDetected], int* count);
// Frees the first `count` entries of both arrays and sets them to null.
void FreeNetscapeInstallations(char* paths[browser::kMaxDetected],
                               char* labels[browser::kMaxDetected], int count);

// The list for one use, freed when it goes.
class NetscapeInstallations {
public:
    NetscapeInstallations() { DetectNetscapeInstallations(m_paths, m_labels, &m_count); }
    ~NetscapeInstallations() { FreeNetscapeInstallations(m_paths, m_labels, m_count); }
    NetscapeInstallations(const NetscapeInstallations&) = delete;
    NetscapeInstallations& operator=(const NetscapeInstallations&) = delete;

    int Count() const { return m_count; }
    const char* Path(int i) const { return m_paths[i]; }

private:
    char* m_paths[browser::kMaxDetected] = {};
    char* m_labels[browser::kMaxDetected] = {};
    int m_count = 0;
};
