// The group and name as every step of the engine reads them from search.ini: whole, both
// refused when either is longer than 260 characters, and "Corvane Publisher" for an
// empty one only where the application key is written.
#include <gtest/gtest.h>

#include <string>

#include "platform/ini.h"
#include "setup/setting_text.h"
#include "tests/unit/ini_test_files.h"

namespace {

settings::ApplicationNames Read(const std::string& group, const std::string& name) {
    ini_test::ScratchDir dir;
    const std::string file = dir.File("search.ini");
    ini_test::WriteBytes(file, "[IS\\SearchApp\\Common]\nApplicationGroup=" + group +
                                  "\nApplicationName=" + name + "\n");
    CIni ini(file.c_str());
    return settings::ReadApplicationNames(ini);
}

TEST(ApplicationNames, WholeOrRefusedTogetherAndTheDefaultOnlyWhenAsked) {
    const std::string fits(260, 'g');
    const std::string tooLong(261, 'n');

    settings::ApplicationNames names = Read(fits, "Atlas");
    EXPECT_FALSE(names.refused);
    EXPECT_EQ(fits, names.group);
    EXPECT_EQ("Atlas", names.name);

    for (const auto& [group, name] : {std::pair(tooLong, std::string("Atlas")),
                                      std::pair(std::string("Maps"), tooLong)}) {
        names = Read(group, name);
        EXPECT_TRUE(names.refused);
        EXPECT_EQ("", names.group);
        EXPECT_EQ("", names.name);
        EXPECT_TRUE(settings::WithDefaultNames(names).refused);
        EXPECT_EQ("", settings::WithDefaultNames(names).group);
    }

    names = Read("", "");
    EXPECT_EQ("", names.group);
    EXPECT_EQ("Corvane Publisher", settings::WithDefaultNames(names).group);
    EXPECT_EQ("Corvane Publisher", settings::WithDefaultNames(names).name);
    EXPECT_EQ("Atlas", settings::WithDefaultNames(Read("", "Atlas")).name);
}

} // namespace
