// setup.exe's resources against those of its German library set32res.dll: the code that
// fills a dialog finds in the German template the controls, classes and styles it finds
// in the English one; every text keeps the printf conversions its caller passes
// arguments for; only the destination dialogs come to the front. Part of the framework
// tests, whose display the dialogs are made on.
#include <windows.h>

#include <commctrl.h>

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "resources/resource.h"

namespace {

BOOL CALLBACK CollectId(HMODULE, LPCSTR, LPSTR name, LONG_PTR ids) {
    if (IS_INTRESOURCE(name))
        reinterpret_cast<std::vector<UINT>*>(ids)->push_back(LOWORD(name));
    return TRUE;
}

// The ids of the module's resources of one type; string tables come in blocks of 16.
std::vector<UINT> ResourceIds(HMODULE module, LPCSTR type) {
    std::vector<UINT> ids;
    ::EnumResourceNamesA(module, type, &CollectId, reinterpret_cast<LONG_PTR>(&ids));
    return ids;
}

INT_PTR CALLBACK NoHandling(HWND, UINT, WPARAM, LPARAM) {
    return FALSE;
}

// The dialog made from the template, then id, class and style of every control, one line
// each; the texts, which the translation changes, are left out. Empty when no dialog.
std::vector<std::string> Skeleton(HMODULE module, UINT id) {
    HWND dialog = ::CreateDialogParamA(module, MAKEINTRESOURCEA(id), NULL, &NoHandling, 0);
    if (dialog == NULL)
        return {};
    std::vector<std::string> lines = {"dialog " +
                                      std::to_string(::GetWindowLongA(dialog, GWL_STYLE))};
    for (HWND control = ::GetWindow(dialog, GW_CHILD); control != NULL;
         control = ::GetWindow(control, GW_HWNDNEXT)) {
        char className[64] = "";
        ::GetClassNameA(control, className, sizeof className);
        lines.push_back(std::to_string(::GetDlgCtrlID(control)) + " " + className + " " +
                        std::to_string(::GetWindowLongA(control, GWL_STYLE)));
    }
    ::DestroyWindow(dialog);
    return lines;
}

// The style a dialog template asks for, read from its first bytes.
DWORD TemplateStyle(HMODULE module, UINT id) {
    HRSRC resource = ::FindResourceA(module, MAKEINTRESOURCEA(id), RT_DIALOG);
    const auto* words = static_cast<const WORD*>(::LockResource(::LoadResource(module, resource)));
    if (words == nullptr)
        return 0;
    const bool extended = words[0] == 1 && words[1] == 0xFFFF;
    return extended ? MAKELONG(words[6], words[7]) : MAKELONG(words[0], words[1]);
}

std::string LoadText(HMODULE module, UINT id) {
    char buffer[1024] = "";
    int length = ::LoadStringA(module, id, buffer, sizeof(buffer));
    return std::string(buffer, length > 0 ? length : 0);
}

// The printf conversions of a text, in order ("%.1f%.1f%s").
std::string Conversions(const std::string& text) {
    std::string result;
    for (size_t i = text.find('%'); i != std::string::npos; i = text.find('%', i + 1)) {
        size_t end = text.find_first_of("diouxXeEfgGcsp%", i + 1);
        if (end == std::string::npos)
            return result + "<unterminated>";
        result += text.substr(i, end - i + 1);
        i = end;
    }
    return result;
}

class Resources : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_NE(HMODULE(NULL), english) << LUMORA_SETUP_EXE;
        ASSERT_NE(HMODULE(NULL), german) << LUMORA_SET32RES_DLL;
        // The about box holds a trackbar, whose class the program registers before it:
        // with the frame's first control bar.
        INITCOMMONCONTROLSEX controls = {sizeof(controls), ICC_WIN95_CLASSES};
        ::InitCommonControlsEx(&controls);
    }
    void TearDown() override {
        for (HMODULE module : {english, german}) {
            if (module != NULL)
                ::FreeLibrary(module);
        }
    }
    const HMODULE english = ::LoadLibraryExA(LUMORA_SETUP_EXE, NULL, LOAD_LIBRARY_AS_DATAFILE);
    const HMODULE german = ::LoadLibraryExA(LUMORA_SET32RES_DLL, NULL, LOAD_LIBRARY_AS_DATAFILE);
};

// Whatever the program loads from the resource module, German or English.
TEST_F(Resources, GermanModuleHoldsEveryResourceOfTheEnglishOne) {
    for (LPCSTR type : {RT_DIALOG, RT_STRING, RT_MENU, RT_BITMAP, RT_GROUP_ICON,
                        MAKEINTRESOURCEA(RT_TOOLBAR_ID)}) {
        const std::vector<UINT> ids = ResourceIds(english, type);
        EXPECT_FALSE(ids.empty()) << reinterpret_cast<UINT_PTR>(type);
        EXPECT_EQ(ids, ResourceIds(german, type)) << reinterpret_cast<UINT_PTR>(type);
    }
}

// A resource library made for the program finds its texts and dialogs by these numbers.
TEST_F(Resources, TextsAndDialogsHaveTheirNumbers) {
    const std::pair<UINT, const char*> texts[] = {
        {57344, "Lumora Launcher"},
        {61211, "Could not copy"},
        {61214, "The installation requires %.1fMB free on your hard disk, but there are only "
                "%.1fMB available on drive %s. Please free some space on your hard disk before "
                "continuing."},
        {61221, "Please enter a valid directory!!"},
        {61224, "License Agreement"},
        {61226, "A version of this application is found on your machine.  Would you like to "
                "reinstall the application? "}};
    for (const auto& [id, text] : texts)
        EXPECT_EQ(text, LoadText(english, id)) << "string " << id;
    for (UINT id : {100u, 133u, 139u, 143u, 146u, 147u})
        EXPECT_NE(nullptr, ::FindResourceA(english, MAKEINTRESOURCEA(id), RT_DIALOG)) << id;
}

TEST_F(Resources, GermanDialogsHaveTheEnglishControlsClassesAndStyles) {
    for (UINT id : ResourceIds(english, RT_DIALOG)) {
        const std::vector<std::string> skeleton = Skeleton(english, id);
        ASSERT_GT(skeleton.size(), 1u) << id;
        EXPECT_EQ(skeleton, Skeleton(german, id)) << id;
        EXPECT_EQ(TemplateStyle(english, id), TemplateStyle(german, id)) << id;
    }
}

TEST_F(Resources, EveryTextHasAGermanOneWithTheSameConversions) {
    for (UINT block : ResourceIds(english, RT_STRING)) {
        for (UINT id = (block - 1) * 16; id < block * 16; ++id) {
            const std::string text = LoadText(english, id);
            if (text.empty())
                continue;
            const std::string translated = LoadText(german, id);
            EXPECT_FALSE(translated.empty()) << id;
            EXPECT_EQ(Conversions(text), Conversions(translated)) << id << ": " << translated;
        }
    }
}

} // namespace
