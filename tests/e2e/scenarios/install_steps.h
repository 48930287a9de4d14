// What the installation scenarios share: the destination dialog, the licence dialog and
// the message boxes of a running setup, answered as a user answers them, and the
// settings of an installed copy.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "tools/guidriver/child_process.h"

namespace scenario {

constexpr char kDestinationTitle[] = "Please specify a directory";
constexpr char kLicenseTitle[] = "License Agreement";
constexpr int kPathId = 1012;
constexpr int kSolarisId = 1019;
constexpr int kIconOnlyId = 1026;
constexpr int kLicenseTextId = 1042;
constexpr char kInvalidDirectory[] = "Please enter a valid directory!!";
constexpr char kCouldNotCopy[] = "Could not copy ";

// The setup's first window whose title contains titlePart; NULL (a test failure) when
// none comes in time.
HWND WaitForSetupWindow(const guidriver::ChildProcess& setup, const char* titlePart);
HWND WaitForDestination(const guidriver::ChildProcess& setup);
// Waits for a message box of the setup, returns its text and presses OK. Empty (a test
// failure) when none comes.
std::string AnswerMessageBox(const guidriver::ChildProcess& setup);
// Types a path into the destination dialog and presses Install.
bool InstallTo(HWND destination, const std::string& path);
// Answers whatever the setup asks until it ends: Yes to an agreement, Install once and
// Exit afterwards to the destination, OK to a message (whose texts go to `messages`).
// False when it does not end in time.
bool AnswerUntilExit(guidriver::ChildProcess& setup, std::vector<std::string>* messages);
// The setup ended by itself, not by a crash.
void ExpectCleanExit(guidriver::ChildProcess& setup);

// A value of an installed settings file, in "IS\SearchApp\Common".
std::string InstalledSetting(const std::string& file, const char* key);
// Names in `after` that `before` lacks: what a run added to a folder (of drive C:, the
// launch log of the stand-in search program does not count).
std::vector<std::string> Added(const std::vector<std::string>& before,
                               const std::vector<std::string>& after);

} // namespace scenario
