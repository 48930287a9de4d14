// The file installation's pure rules: platform table and mask, disk space figures and
// the no-space message, the drive-root and default-destination rules.
#include "setup/install_rules.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

namespace {

using rules::PlatformBox;
constexpr int kBoxes = static_cast<int>(PlatformBox::Count);

struct Ticked {
    bool boxes[kBoxes] = {};
    Ticked& With(PlatformBox box) {
        boxes[static_cast<int>(box)] = true;
        return *this;
    }
};

const char kNoSpaceFormat[] =
    "The installation requires %.1fMB free on your hard disk, but there are only %.1fMB "
    "available on drive %s. Please free some space on your hard disk before continuing.";

TEST(PlatformBoxes, BitsAndBytesOfEachBox) {
    struct Case {
        PlatformBox box;
        std::uint32_t mask;
        std::uint32_t bytes;
    } cases[] = {
        {PlatformBox::Solaris, 0x04, 60000000},    {PlatformBox::SunOS, 0x08, 60000000},
        {PlatformBox::AIX, 0x20, 60000000},        {PlatformBox::HPUX, 0x210, 60000000},
        {PlatformBox::Macintosh, 0x02, 100000000}, {PlatformBox::IRIX, 0xC0, 60000000},
        {PlatformBox::AlphaOSF, 0x100, 60000000},
    };
    for (const Case& c : cases) {
        Ticked ticked;
        ticked.With(c.box);
        EXPECT_EQ(c.mask, rules::PlatformMask(ticked.boxes)) << static_cast<int>(c.box);
        EXPECT_EQ(c.bytes, rules::RequiredBytes(ticked.boxes)) << static_cast<int>(c.box);
    }
    Ticked none;
    EXPECT_EQ(0u, rules::PlatformMask(none.boxes));
    EXPECT_EQ(40000000u, rules::RequiredBytes(none.boxes));

    Ticked all;
    for (int i = 0; i < kBoxes; ++i)
        all.boxes[i] = true;
    EXPECT_EQ(0x3FEu, rules::PlatformMask(all.boxes));
    EXPECT_EQ(40000000u + 6 * 20000000u + 60000000u, rules::RequiredBytes(all.boxes));
}

TEST(PlatformTable, WalkOrderFoldersAndFailureNames) {
    ASSERT_EQ(9u, rules::kPlatformCount);
    EXPECT_EQ(0u, rules::kPlatforms[0].bits);
    EXPECT_STREQ("\\_red40", rules::kPlatforms[0].folder);
    const char* order[] = {"\\_red40",  "\\_isvr4",  "\\_ssol26", "\\_sun441", "\\_rs6k41",
                           "\\_aosf32", "\\_irix62", "\\_hpux11", "\\_mac"};
    for (std::size_t i = 0; i < rules::kPlatformCount; ++i)
        EXPECT_STREQ(order[i], rules::kPlatforms[i].folder) << i;
    // The Solaris and IRIX folders are named differently in the message.
    EXPECT_STREQ("_solaris/", rules::kPlatforms[2].failureName);
    EXPECT_STREQ("_irix/", rules::kPlatforms[6].failureName);
    // Every bit a box can set reaches exactly one platform of the walk.
    for (const rules::PlatformBoxRule& box : rules::kPlatformBoxes) {
        int reached = 0;
        for (std::size_t i = 1; i < rules::kPlatformCount; ++i)
            reached += (rules::kPlatforms[i].bits & box.bits) != 0;
        EXPECT_GE(reached, 1) << box.bits;
    }
    // Filters afterwards: no _isvr4 and no _mac.
    ASSERT_EQ(7u, rules::kFilterFolderCount);
    for (std::size_t i = 0; i < rules::kFilterFolderCount; ++i) {
        EXPECT_STRNE("\\_isvr4", rules::kFilterFolders[i]);
        EXPECT_STRNE("\\_mac", rules::kFilterFolders[i]);
    }
}

TEST(PlatformTable, UnixSearchFileOnlyForUnixPlatforms) {
    EXPECT_FALSE(rules::NeedsUnixSearchFile(0));
    EXPECT_FALSE(rules::NeedsUnixSearchFile(0x02)); // Macintosh
    EXPECT_TRUE(rules::NeedsUnixSearchFile(0x04));
    EXPECT_TRUE(rules::NeedsUnixSearchFile(0x200));
    EXPECT_TRUE(rules::NeedsUnixSearchFile(0x2000));
    EXPECT_FALSE(rules::NeedsUnixSearchFile(0x0C00));
}

TEST(NoSpaceMessage, FiguresAndDriveAsTheUserSeesThem) {
    Ticked solaris;
    solaris.With(PlatformBox::Solaris);
    std::uint32_t required = rules::RequiredBytes(solaris.boxes);
    EXPECT_EQ("The installation requires 57.2MB free on your hard disk, but there are only 47.0MB "
              "available on drive C:. Please free some space on your hard disk before continuing.",
              rules::FormatNoSpaceMessage(kNoSpaceFormat, required, 50000000,
                                          rules::DriveName("C:\\nodra30").c_str()));
    // Free space counts in whole megabytes, the requirement does not.
    EXPECT_EQ("38.1 1.0 e:",
              rules::FormatNoSpaceMessage("%.1f %.1f %s", 40000000, 2 * 1048576 - 1, "e:"));
}

TEST(NoSpaceMessage, AnyOtherConversionStaysAsWritten) {
    EXPECT_EQ("%d %n 1.0 2.0 %.1f x: %s 100%",
              rules::FormatNoSpaceMessage("%d %n %.1f %.1f %.1f %s %s 100%%", 1048576, 2 * 1048576,
                                          "x:"));
    EXPECT_EQ("trailing %", rules::FormatNoSpaceMessage("trailing %", 0, 0, "c:"));
    EXPECT_EQ("", rules::FormatNoSpaceMessage(nullptr, 0, 0, "c:"));
}

TEST(FreeSpace, LargeDisksStayAtTheTopOfThe32BitRange) {
    EXPECT_EQ(50000000u, rules::ClampFreeBytes(50000000));
    EXPECT_EQ(0xFFFFFFFEu, rules::ClampFreeBytes(0xFFFFFFFEull));
    EXPECT_EQ(0xFFFFFFFFu, rules::ClampFreeBytes(0x100000000ull));
    // What Wine reported for a host disk once.
    EXPECT_EQ(0xFFFFFFFFu, rules::ClampFreeBytes(8ull * 512 * 19784650));
}

TEST(FreeSpace, RootAndDriveFromThePath) {
    EXPECT_EQ("d:\\", rules::FreeSpaceRoot("d:\\apps"));
    EXPECT_EQ("D:\\", rules::FreeSpaceRoot("D:"));
    EXPECT_EQ("\\", rules::FreeSpaceRoot("\\apps"));
    EXPECT_EQ("", rules::FreeSpaceRoot(""));
    EXPECT_EQ("D:", rules::DriveName("D:\\apps"));
    EXPECT_EQ("\\:", rules::DriveName("\\apps"));
}

TEST(Destination, DriveRootLosesItsBackslash) {
    auto strip = [](const char* path) {
        char buffer[261] = {};
        std::strncpy(buffer, path, sizeof(buffer) - 1);
        rules::StripDriveRootBackslash(buffer, sizeof(buffer));
        return std::string(buffer);
    };
    EXPECT_EQ("d:", strip("d:\\"));
    EXPECT_EQ("d:", strip("d:"));
    EXPECT_EQ("d:\\a", strip("d:\\a"));
    EXPECT_EQ("\\\\", strip("\\\\"));
    EXPECT_EQ("d:/", strip("d:/"));

    // An unterminated buffer is never read past its end.
    char full[3] = {'d', ':', '\\'};
    rules::StripDriveRootBackslash(full, sizeof(full));
    EXPECT_EQ('\\', full[2]);
}

TEST(Destination, DefaultPathByEnvironment) {
    EXPECT_STREQ("c:\\nodra30", rules::DefaultDestination(true, "e:\\mine"));
    EXPECT_STREQ("c:\\", rules::DefaultDestination(false, ""));
    EXPECT_STREQ("c:\\", rules::DefaultDestination(false, nullptr));
    EXPECT_STREQ("e:\\mine", rules::DefaultDestination(false, "e:\\mine"));
}

TEST(License, ReadsAtMostSixteenMegabytes) {
    EXPECT_EQ(0, rules::LicenseBytesToRead(-1));
    EXPECT_EQ(0, rules::LicenseBytesToRead(0));
    EXPECT_EQ(12, rules::LicenseBytesToRead(12));
    EXPECT_EQ(16L * 1024 * 1024, rules::LicenseBytesToRead(16L * 1024 * 1024));
    EXPECT_EQ(16L * 1024 * 1024, rules::LicenseBytesToRead(16L * 1024 * 1024 + 1));
}

} // namespace

namespace {

std::string SettingsPath(const char* dir, bool publisher, std::size_t size = 300) {
    std::string out(size, 'X');
    bool fits = rules::BuildSettingsPath(dir, publisher, &out[0], size);
    std::string path(out.c_str());
    EXPECT_EQ(fits, !path.empty());
    return path;
}

TEST(SettingsPath, PublisherSettingsLiveBelowPublish) {
    EXPECT_EQ("d:\\search.ini", SettingsPath("d:", false));
    EXPECT_EQ("d:\\publish\\search.ini", SettingsPath("d:", true));
    EXPECT_EQ("c:\\apps\\publish\\search.ini", SettingsPath("c:\\apps\\", true));
    EXPECT_EQ("\\search.ini", SettingsPath("", false));
    // Cut paths would name another file: a path that does not fit is no path.
    std::string longDir = "c:\\" + std::string(250, 'a');
    EXPECT_EQ(longDir + "\\search.ini", SettingsPath(longDir.c_str(), false, 300));
    EXPECT_EQ("", SettingsPath(longDir.c_str(), true, 261));
}

} // namespace

namespace {

TEST(SubfolderName, OnlyNamesThatStayBelowTheDestination) {
    EXPECT_TRUE(rules::IsSubfolderName("\\data"));
    EXPECT_TRUE(rules::IsSubfolderName("\\data\\2024"));
    EXPECT_TRUE(rules::IsSubfolderName("\\[x] 100% \"q\" \xe4\xf6"));
    EXPECT_TRUE(rules::IsSubfolderName("\\..data"));
    EXPECT_FALSE(rules::IsSubfolderName(nullptr));
    EXPECT_FALSE(rules::IsSubfolderName(""));
    EXPECT_FALSE(rules::IsSubfolderName("\\"));
    EXPECT_FALSE(rules::IsSubfolderName("data"));
    EXPECT_FALSE(rules::IsSubfolderName("\\..\\windows"));
    EXPECT_FALSE(rules::IsSubfolderName("\\data\\..\\..\\x"));
    EXPECT_FALSE(rules::IsSubfolderName("\\data/../x"));
    EXPECT_FALSE(rules::IsSubfolderName("\\data\\.."));
    EXPECT_FALSE(rules::IsSubfolderName("\\\\server\\share"));
    EXPECT_FALSE(rules::IsSubfolderName("\\c:\\windows"));
    EXPECT_FALSE(rules::IsSubfolderName("\\data\\"));
}

} // namespace
