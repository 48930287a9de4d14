// The destination step's pure rules: platform boxes and mask, disk space figures and the
// no-space message, the drive-root and default-destination rules, the settings path; and
// the tree names of the copy plan.
#include "setup/install_rules.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <tuple>

#include "setup/copy_plan.h"

namespace {

// The whole message with the figures of a small drive (its free space in whole megabytes)
// is an end-to-end run's; a conversion other than the figures' stays as written.
TEST(NoSpaceMessage, FiguresInMegabytesOtherConversionsAsWritten) {
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

TEST(Destination, DriveRootLosesItsBackslash) {
    auto strip = [](const char* path) {
        char buffer[261] = {};
        std::strncpy(buffer, path, sizeof(buffer) - 1);
        rules::StripDriveRootBackslash(buffer, sizeof(buffer));
        return std::string(buffer);
    };
    EXPECT_EQ("d:", strip("d:"));
    EXPECT_EQ("d:\\a", strip("d:\\a"));
    EXPECT_EQ("\\\\", strip("\\\\"));
    EXPECT_EQ("d:/", strip("d:/"));

    // An unterminated buffer is never read past its end.
    char full[3] = {'d', ':', '\\'};
    rules::StripDriveRootBackslash(full, sizeof(full));
    EXPECT_EQ('\\', full[2]);
}

// A client CD offers its DefaultInstall, or c:\ without one; a publisher CD always c:\nodra30.
TEST(Destination, DefaultByEnvironment) {
    // publisher CD, DefaultInstall, the destination offered
    const std::tuple<bool, const char*, const char*> cases[] = {
        {false, "d:\\apps", "d:\\apps"},   {false, "", "c:\\"},       {false, nullptr, "c:\\"},
        {true, "d:\\apps", "c:\\nodra30"}, {true, "", "c:\\nodra30"},
    };
    for (const auto& [publisher, defaultInstall, offered] : cases)
        EXPECT_STREQ(offered, rules::DefaultDestination(publisher, defaultInstall))
            << (publisher ? "publisher" : "client") << " CD, DefaultInstall \""
            << (defaultInstall ? defaultInstall : "(none)") << "\"";
}

std::string SettingsPath(const char* dir, bool publisher, std::size_t size = 300) {
    std::string out(size, 'X');
    bool fits = rules::BuildSettingsPath(dir, publisher, &out[0], size);
    std::string path(out.c_str());
    EXPECT_EQ(fits, !path.empty());
    return path;
}

TEST(SettingsPath, PublisherSettingsLiveBelowPublish) {
    EXPECT_EQ("c:\\apps\\publish\\search.ini", SettingsPath("c:\\apps\\", true));
    EXPECT_EQ("\\search.ini", SettingsPath("", false));
    // Cut paths would name another file: a path that does not fit is no path.
    std::string longDir = "c:\\" + std::string(250, 'a');
    EXPECT_EQ(longDir + "\\search.ini", SettingsPath(longDir.c_str(), false, 300));
    EXPECT_EQ("", SettingsPath(longDir.c_str(), true, 261));
}

// A tree's name begins with a backslash; joined and kept below the destination as
// BoundedText.NamesJoinWithOneBackslashAndStayBelowTheirFolder checks.
TEST(CopyPlan, TreeNamesAsTheCopyAppendsThem) {
    // value, named, tree ("" for the destination itself, never copied); Windows takes "/"
    // as a separator too; "data" appended to c:\nodra30 would name c:\nodra30data.
    const std::tuple<const char*, bool, const char*> cases[] = {
        {"\\data", true, "\\data"}, {"/data", true, "\\data"}, {"\\", true, ""},
        {"data", false, ""},        {"", false, ""},           {"\\..\\windows", false, ""},
    };
    for (const auto& [value, named, expected] : cases) {
        char tree[261] = "x";
        EXPECT_EQ(named, copy_plan::TreeName(value, tree, sizeof(tree))) << value;
        EXPECT_STREQ(expected, tree) << value;
    }
    EXPECT_FALSE(copy_plan::TreeName(nullptr, nullptr, 0));
    std::string tooLong = "\\" + std::string(260, 'd');
    char tree[261];
    EXPECT_FALSE(copy_plan::TreeName(tooLong.c_str(), tree, sizeof(tree)));
}

} // namespace
