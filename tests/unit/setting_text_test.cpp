// The group and name as every step of the engine reads them from search.ini: whole, both
// refused when either is longer than 260 characters, and "Corvane Publisher" for an
// empty one only where the application key is written.
#include <gtest/gtest.h>

#include <string>
#include <tuple>

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

// The engine's buffers hold 260 characters: each of the two is read whole up to that, and
// one character more refuses both, with no default put in their place.
TEST(ApplicationNames, EachIsReadWholeUpTo260CharactersAndBothRefusedAbove) {
    for (const bool longGroup : {true, false}) {
        for (const std::size_t length : {259, 260, 261}) {
            const std::string text(length, 'x');
            const std::string group = longGroup ? text : "Maps";
            const std::string name = longGroup ? "Atlas" : text;
            const bool refused = length > 260;
            const std::string which =
                std::string(longGroup ? "ApplicationGroup" : "ApplicationName") + " of " +
                std::to_string(length) + " characters";
            for (const settings::ApplicationNames& names :
                 {Read(group, name), settings::WithDefaultNames(Read(group, name))}) {
                EXPECT_EQ(refused, names.refused) << which << (refused ? " taken" : " refused");
                EXPECT_TRUE(names.group == (refused ? "" : group) &&
                            names.name == (refused ? "" : name))
                    << which << ": read as a group of " << names.group.size()
                    << " characters and a name of " << names.name.size();
            }
        }
    }
}

// The reader gives the names as read; the default fills in exactly the empty one of the two.
TEST(ApplicationNames, TheDefaultFillsOnlyTheEmptyOneAndOnlyWhenAsked) {
    // group, name, and the two with the default filled in
    const std::tuple<const char*, const char*, const char*, const char*> cases[] = {
        {"", "", "Corvane Publisher", "Corvane Publisher"},
        {"", "Atlas", "Corvane Publisher", "Atlas"},
        {"Maps", "", "Maps", "Corvane Publisher"},
        {"Maps", "Atlas", "Maps", "Atlas"},
    };
    for (const auto& [group, name, defaultedGroup, defaultedName] : cases) {
        const settings::ApplicationNames read = Read(group, name);
        EXPECT_TRUE(read.group == group && read.name == name) << "the reader puts in a default";
        const settings::ApplicationNames defaulted = settings::WithDefaultNames(read);
        EXPECT_TRUE(defaulted.group == defaultedGroup && defaulted.name == defaultedName)
            << "group \"" << group << "\", name \"" << name << "\" defaulted to \""
            << defaulted.group << "\", \"" << defaulted.name << "\"";
    }
}

} // namespace
