// Names in search.ini that the engine reads and writes, and the environment codes of the
// destination step. Section, key and value names compare without regard to case.
#pragma once

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
// installation keeps its settings in the "publish" folder.
constexpr char kSettingsFile[] = "search.ini";
constexpr char kPublishFolder[] = "publish\\";

// Codes passed to CSetup::AskDestination.
constexpr int kPublisherEnvironment = 101;
constexpr int kClientEnvironment = 102;

} // namespace settings
