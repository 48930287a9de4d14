// The German resource library in the setup's folder replaces the setup's own texts.
#include <gtest/gtest.h>

#include "tools/guidriver/child_process.h"
#include "tools/guidriver/gui_driver.h"
#include "tools/guidriver/machine_state.h"
#include "tests/e2e/scenarios/sample_cd.h"

using namespace guidriver;

namespace {

// The library's own text, read the way the setup reads it; empty when it has none.
std::string LibraryString(const std::string& library, int id) {
    HMODULE module = LoadLibraryExA(library.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    if (!module)
        return std::string();
    char text[1024] = "";
    LoadStringA(module, id, text, sizeof text);
    FreeLibrary(module);
    return text;
}

} // namespace

TEST(Language, GermanLibraryGivesTheGermanReinstallQuestion) {
    const std::string library = std::string(scenario::kCdBin) + "\\set32res.dll";
    ASSERT_TRUE(FileExists(library)) << "this scenario needs the CD variant made with --german";
    const std::string german = LibraryString(library, scenario::kReinstallQuestionId);
    ASSERT_FALSE(german.empty()) << "set32res.dll has no string " << scenario::kReinstallQuestionId;
    ASSERT_NE(scenario::kReinstallQuestion, german) << "set32res.dll holds the English text";

    scenario::EarlierInstallation earlier;
    ASSERT_TRUE(scenario::MakeEarlierInstallation(&earlier));
    ChildProcess setup;
    ASSERT_TRUE(scenario::StartSetup(setup));
    WindowQuery query;
    query.processId = setup.Id();
    query.className = "#32770";
    HWND question = WaitForWindow(query, scenario::kTimeoutMs);
    ASSERT_NE(nullptr, question) << "setup.exe asked nothing";
    EXPECT_EQ(german, MessageBoxText(question));

    ASSERT_TRUE(ClickButton(question, IDNO));
    EXPECT_TRUE(setup.WaitForExit(scenario::kTimeoutMs));
}
