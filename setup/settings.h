// Names in search.ini that the engine reads and writes, and the environment codes of the
// destination step. Section, key and value names compare without regard to case.
#pragma once

#include "platform/bounded_text.h"

namespace settings {

constexpr char kCommonSection[] = "IS\\SearchApp\\Common";
constexpr char kServerSection[] = "Tarnx\\2.0.0\\Primary\\Server";

// Section kCommonSection.
constexpr char kCurrentEnv[] = "CurrentEnv";
constexpr char kSourceDrive[] = "SourceDrive";
constexpr char kDefaultInstall[] = "DefaultInstall";
constexpr char kForceInstall[] = "forceInstall";
constexpr char kMultiCD[] = "MultiCD";
constexpr char kApplicationGroup[] = "ApplicationGroup";
constexpr char kApplicationName[] = "ApplicationName";
constexpr char kLicenseFile[] = "LicenseFile";
constexpr char kBrowser[] = "Browser";
constexpr char kDefaultTree[] = "_default";
// Section kServerSection.
constexpr char kTemplateDir[] = "TemplateDir";

// Values of kCurrentEnv: read from the CD, written into the installed copy.
constexpr char kClientCD[] = "ClientCD";
constexpr char kClientHD[] = "ClientHD";
constexpr char kPublisherHD[] = "PublisherHD";

// The settings file's own name, in the source root and at the destination; a publisher
// installation keeps its settings in the "publish" folder, a tree the copy takes along.
constexpr char kSettingsFile[] = "search.ini";
constexpr char kPublishName[] = "publish";
inline constexpr auto kPublishFolderText = bounded::Joined(kPublishName, "\\");
constexpr const char* kPublishFolder = kPublishFolderText.data();
inline constexpr auto kPublishTreeText = bounded::Joined("\\", kPublishName);
constexpr const char* kPublishTree = kPublishTreeText.data();

// The environment's code, as CSetup::AskDestination takes it from m_bPublisher: it
// chooses the destination dialog's variant and the default destination.
enum class Environment : int { Publisher = 101, Client = 102 };

// What the application key calls an installation whose settings name no group or no
// name. Applied in one place, settings::WithDefaultNames, called by
// CSetup::RegisterApplication alone: the shortcuts and the reinstall check take the
// names as read, so empty ones make a shortcut ".lnk" in the Programs folder itself.
constexpr char kDefaultApplicationName[] = "Corvane Publisher";

} // namespace settings
