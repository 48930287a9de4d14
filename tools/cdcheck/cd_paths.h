// The CD paths cdcheck looks at, made from the names the setup itself states (its portable
// headers), so that they follow the program: below the CD's root, with backslashes and
// without a leading one, as CdTree::Find takes them and the findings name them.
#pragma once

#include <string>

namespace cdcheck {

// A path as the program appends it to a root ("\a\b") as a CD path ("a\b").
std::string CdPath(const std::string& programPath);

// The program folder, where the setup starts, and a name below it.
std::string ProgramFolder();
std::string InProgramFolder(const std::string& name);

// The settings files the setup opens: the root's, the publisher's (in the publish folder)
// and the program folder's, which the reinstall question reads.
std::string RootSettings();
std::string PublishSettings();
std::string ProgramFolderSettings();

} // namespace cdcheck
