// The program files of the setup on a CD: whether the Windows its machines run starts
// them (the import audit), and which of them the setup kit did not bring.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "tools/cdcheck/cd_tree.h"
#include "tools/cdcheck/report.h"

namespace cdcheck {

// Reads `size` bytes at `offset` of a host file (to its end by default), at most a program
// file's worth; false when the file cannot be read or is shorter than `offset`.
bool ReadProgramBytes(const std::string& hostPath, std::vector<unsigned char>* bytes,
                      std::uint64_t offset = 0, std::uint64_t size = UINT64_MAX);

// How a medium gives up one of its files, named by its CD path (cd_paths.h) as the setup
// reads it: the file's bytes (at most a program file's worth), or why not.
enum class ProgramRead { Read, Missing, Unreadable };
using ReadProgramFile =
    std::function<ProgramRead(const std::string& cdPath, std::vector<unsigned char>* bytes)>;

// The kit's files and the publisher's programs, wherever a medium holds them (a CD folder,
// a pressed image): warns of one the target cannot start and of two copies of the setup
// that differ. Findings are reported at `prefix` + the CD path.
void CheckSetupPrograms(const ReadProgramFile& read, const std::string& prefix, Report& report);

// The same over a CD folder, which also notes program files beside the setup that are no
// part of the kit.
void CheckSetupFiles(const CdTree& cd, Report& report);

// cdcheck --audit FILE...: the audit of program files; returns the exit code.
int AuditFiles(const std::vector<std::string>& files, bool showNotes);

} // namespace cdcheck
