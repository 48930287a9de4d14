// The program files of the setup on a CD: whether the Windows its machines run starts
// them (the import audit), and which of them the setup kit did not bring.
#pragma once

#include <string>
#include <vector>

#include "tools/cdcheck/cd_tree.h"
#include "tools/cdcheck/report.h"

namespace cdcheck {

// Audits the kit's files where they lie on the CD; warns of one the target cannot start,
// of two copies of the setup that differ, and notes program files beside the setup that
// are no part of the kit.
void CheckSetupFiles(const CdTree& cd, Report& report);

// cdcheck --audit FILE...: the audit of program files; returns the exit code.
int AuditFiles(const std::vector<std::string>& files, bool showNotes);

} // namespace cdcheck
