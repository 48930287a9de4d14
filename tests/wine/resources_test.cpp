// The resources of setup.exe and of its German library set32res.dll, read as data files:
// the texts the program shows, the dialog templates other code and a second instance
// rely on (ids, positions, styles, titles), and that the translation keeps the layout.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "resources/resource.h"

namespace {

class DataModule {
public:
    explicit DataModule(const char* path)
        : m_module(::LoadLibraryExA(path, NULL, LOAD_LIBRARY_AS_DATAFILE)) {}
    ~DataModule() {
        if (m_module != NULL)
            ::FreeLibrary(m_module);
    }
    DataModule(const DataModule&) = delete;
    DataModule& operator=(const DataModule&) = delete;
    HMODULE get() const { return m_module; }

private:
    HMODULE m_module;
};

std::string LoadText(HMODULE module, UINT id) {
    char buffer[1024] = "";
    int length = ::LoadStringA(module, id, buffer, sizeof(buffer));
    return std::string(buffer, length > 0 ? length : 0);
}

// The bytes of resource `id` of `type`, empty when the module has none.
std::vector<unsigned char> ResourceBytes(HMODULE module, UINT id, LPCSTR type) {
    HRSRC resource = ::FindResourceA(module, MAKEINTRESOURCEA(id), type);
    if (resource == NULL)
        return {};
    HGLOBAL loaded = ::LoadResource(module, resource);
    const auto* data = static_cast<const unsigned char*>(::LockResource(loaded));
    DWORD size = ::SizeofResource(module, resource);
    return data != nullptr ? std::vector<unsigned char>(data, data + size)
                           : std::vector<unsigned char>();
}

// A dialog template, classic or extended, read with every access checked against its size.
struct Control {
    DWORD style = 0;
    short x = 0, y = 0, cx = 0, cy = 0;
    DWORD id = 0;
    WORD classOrdinal = 0; // 0x80 button, 0x81 edit, 0x82 static; 0 for a class name
    std::wstring className;
    std::wstring text;
};

struct DialogTemplate {
    bool parsed = false;
    bool extended = false;
    DWORD style = 0;
    short cx = 0, cy = 0;
    std::wstring title;
    WORD pointSize = 0;
    std::wstring font;
    std::vector<Control> controls;

    const Control* Find(DWORD id) const {
        for (const Control& control : controls) {
            if (control.id == id)
                return &control;
        }
        return nullptr;
    }
};

class TemplateReader {
public:
    explicit TemplateReader(const std::vector<unsigned char>& bytes) : m_bytes(bytes) {}
    bool ok() const { return m_ok; }

    template <class T> T Read() {
        T value{};
        if (m_pos + sizeof(T) > m_bytes.size()) {
            m_ok = false;
            return value;
        }
        std::memcpy(&value, &m_bytes[m_pos], sizeof(T));
        m_pos += sizeof(T);
        return value;
    }
    std::wstring ReadString() {
        std::wstring text;
        for (WCHAR c = Read<WCHAR>(); m_ok && c != 0; c = Read<WCHAR>())
            text += c;
        return text;
    }
    // A name or an ordinal (0xFFFF followed by the number); an empty name means none.
    void ReadNameOrOrdinal(WORD& ordinal, std::wstring& name) {
        WORD first = Read<WORD>();
        if (first == 0xFFFF) {
            ordinal = Read<WORD>();
        } else if (first != 0) {
            name = static_cast<WCHAR>(first);
            name += ReadString();
        }
    }
    void AlignToDword() { m_pos = (m_pos + 3) & ~static_cast<size_t>(3); }
    void Skip(size_t count) { m_pos += count; }

private:
    const std::vector<unsigned char>& m_bytes;
    size_t m_pos = 0;
    bool m_ok = true;
};

DialogTemplate ParseDialog(HMODULE module, UINT id) {
    DialogTemplate dialog;
    std::vector<unsigned char> bytes = ResourceBytes(module, id, MAKEINTRESOURCEA(5)); // RT_DIALOG
    if (bytes.empty())
        return dialog;
    TemplateReader in(bytes);
    WORD count = 0;
    WORD version = in.Read<WORD>();
    WORD signature = in.Read<WORD>();
    dialog.extended = version == 1 && signature == 0xFFFF;
    if (dialog.extended) {
        in.Read<DWORD>(); // help id
        in.Read<DWORD>(); // extended style
        dialog.style = in.Read<DWORD>();
    } else {
        dialog.style = MAKELONG(version, signature);
        in.Read<DWORD>(); // extended style
    }
    count = in.Read<WORD>();
    in.Read<short>();
    in.Read<short>();
    dialog.cx = in.Read<short>();
    dialog.cy = in.Read<short>();
    WORD ordinal = 0;
    std::wstring name;
    in.ReadNameOrOrdinal(ordinal, name); // menu
    in.ReadNameOrOrdinal(ordinal, name); // class
    dialog.title = in.ReadString();
    if (dialog.style & DS_SETFONT) {
        dialog.pointSize = in.Read<WORD>();
        if (dialog.extended) {
            in.Read<WORD>(); // weight
            in.Read<BYTE>(); // italic
            in.Read<BYTE>(); // character set
        }
        dialog.font = in.ReadString();
    }
    for (WORD i = 0; i < count && in.ok(); ++i) {
        in.AlignToDword();
        Control control;
        if (dialog.extended) {
            in.Read<DWORD>(); // help id
            in.Read<DWORD>(); // extended style
            control.style = in.Read<DWORD>();
        } else {
            control.style = in.Read<DWORD>();
            in.Read<DWORD>(); // extended style
        }
        control.x = in.Read<short>();
        control.y = in.Read<short>();
        control.cx = in.Read<short>();
        control.cy = in.Read<short>();
        control.id = dialog.extended ? in.Read<DWORD>() : in.Read<WORD>();
        in.ReadNameOrOrdinal(control.classOrdinal, control.className);
        WORD textOrdinal = 0;
        in.ReadNameOrOrdinal(textOrdinal, control.text);
        in.Skip(in.Read<WORD>()); // creation data
        dialog.controls.push_back(control);
    }
    dialog.parsed = in.ok();
    return dialog;
}

struct ExpectedString {
    UINT id;
    const char* english;
    bool translated; // false for names that read the same in German
};

const ExpectedString kStrings[] = {
    {IDR_MAINFRAME, "Lumora Launcher\n\nLumora Launcher\n\n\nLumora.Document\nLumora Document",
     true},
    {AFX_IDS_APP_TITLE, "Lumora Launcher", true},
    {AFX_IDS_IDLEMESSAGE, "Ready", true},
    {ID_FILE_NEW, "Create a new document\nNew", true},
    {ID_APP_EXIT, "Quit the application\nExit", true},
    {ID_VIEW_TOOLBAR, "Show or hide the toolbar\nToggle ToolBar", true},
    {ID_VIEW_STATUS_BAR, "Show or hide the status bar\nToggle StatusBar", true},
    {ID_INDICATOR_CAPS, "CAP", true},
    {ID_INDICATOR_NUM, "NUM", false},
    {ID_INDICATOR_SCRL, "SCRL", true},
    {IDS_COULD_NOT_COPY, "Could not copy", true},
    {IDS_NO_SPACE,
     "The installation requires %.1fMB free on your hard disk, but there are only %.1fMB "
     "available on drive %s. Please free some space on your hard disk before continuing.",
     true},
    {IDS_NETSCAPE3_LABEL, " Netscape Navigator 3.x or earlier", true},
    {IDS_IE_LABEL, " Microsoft Internet Explorer", false},
    {IDS_INVALID_DIRECTORY, "Please enter a valid directory!!", true},
    {IDS_LICENSE_AGREEMENT, "License Agreement", true},
    {IDS_REINSTALL_QUESTION,
     "A version of this application is found on your machine.  Would you like to reinstall "
     "the application? ",
     true},
};

const UINT kDialogs[] = {IDD_ABOUTBOX, IDD_BROWSER_SELECT,     IDD_DESTINATION,
                         IDD_COPYING,  IDD_DESTINATION_CLIENT, IDD_LICENSE};

// The printf conversions of a format, in order ("%.1f%.1f%s").
std::string Conversions(const std::string& format) {
    std::string result;
    for (size_t i = 0; i < format.size(); ++i) {
        if (format[i] != '%')
            continue;
        size_t end = format.find_first_of("diouxXeEfgGcsp%", i + 1);
        if (end == std::string::npos)
            return result + "<unterminated>";
        result += format.substr(i, end - i + 1);
        i = end;
    }
    return result;
}

class Resources : public ::testing::Test {
protected:
    DataModule m_exe{LUMORA_SETUP_EXE};
    DataModule m_dll{LUMORA_SET32RES_DLL};

    void SetUp() override {
        ASSERT_NE(nullptr, m_exe.get()) << LUMORA_SETUP_EXE;
        ASSERT_NE(nullptr, m_dll.get()) << LUMORA_SET32RES_DLL;
    }
};

TEST_F(Resources, EveryStringHasItsEnglishTextAndAGermanOne) {
    for (const ExpectedString& expected : kStrings) {
        SCOPED_TRACE(expected.id);
        EXPECT_EQ(expected.english, LoadText(m_exe.get(), expected.id));
        std::string german = LoadText(m_dll.get(), expected.id);
        EXPECT_FALSE(german.empty());
        if (expected.translated) {
            EXPECT_NE(expected.english, german);
        }
    }
}

TEST_F(Resources, TranslationKeepsFormatsAndLeadingBlanks) {
    // A conversion out of order or added would read the wrong argument at run time.
    EXPECT_EQ("%.1f%.1f%s", Conversions(LoadText(m_exe.get(), IDS_NO_SPACE)));
    EXPECT_EQ("%.1f%.1f%s", Conversions(LoadText(m_dll.get(), IDS_NO_SPACE)));
    for (UINT id : {IDS_NETSCAPE3_LABEL, IDS_IE_LABEL}) {
        EXPECT_EQ(' ', LoadText(m_dll.get(), id)[0]) << id;
        EXPECT_NE(' ', LoadText(m_dll.get(), id)[1]) << id;
    }
    // The menu prompts are "prompt\ntip" in both languages.
    for (UINT id : {ID_FILE_NEW, ID_APP_EXIT, ID_VIEW_TOOLBAR, ID_VIEW_STATUS_BAR})
        EXPECT_NE(std::string::npos, LoadText(m_dll.get(), id).find('\n')) << id;
}

TEST_F(Resources, EveryDialogIsInBothModulesWithTheSameLayout) {
    for (UINT id : kDialogs) {
        SCOPED_TRACE(id);
        DialogTemplate english = ParseDialog(m_exe.get(), id);
        DialogTemplate german = ParseDialog(m_dll.get(), id);
        ASSERT_TRUE(english.parsed);
        ASSERT_TRUE(german.parsed);
        EXPECT_EQ(L"MS Sans Serif", english.font);
        EXPECT_EQ(8, english.pointSize);
        EXPECT_EQ(english.font, german.font);
        EXPECT_EQ(english.style, german.style);
        EXPECT_EQ(english.cx, german.cx);
        EXPECT_EQ(english.cy, german.cy);
        EXPECT_EQ(english.extended, german.extended);
        ASSERT_EQ(english.controls.size(), german.controls.size());
        for (size_t i = 0; i < english.controls.size(); ++i) {
            const Control& a = english.controls[i];
            const Control& b = german.controls[i];
            EXPECT_EQ(a.id, b.id) << i;
            EXPECT_EQ(a.style, b.style) << i;
            EXPECT_TRUE(a.x == b.x && a.y == b.y && a.cx == b.cx && a.cy == b.cy) << i;
        }
        if (!english.title.empty()) {
            EXPECT_NE(english.title, german.title);
        }
    }
}

TEST_F(Resources, DestinationDialogsComeToTheFrontWithTheTitleASecondCopySearchesFor) {
    for (UINT id : kDialogs) {
        DialogTemplate dialog = ParseDialog(m_exe.get(), id);
        bool foreground = id == IDD_DESTINATION || id == IDD_DESTINATION_CLIENT;
        EXPECT_EQ(foreground, (dialog.style & DS_SETFOREGROUND) != 0) << id;
    }
    EXPECT_EQ(L"Please specify a directory", ParseDialog(m_exe.get(), IDD_DESTINATION).title);
    EXPECT_EQ(L"Please specify a directory",
              ParseDialog(m_exe.get(), IDD_DESTINATION_CLIENT).title);
    EXPECT_EQ(L"Please Choose a Browser", ParseDialog(m_exe.get(), IDD_BROWSER_SELECT).title);
    EXPECT_EQ(L"About Lumora", ParseDialog(m_exe.get(), IDD_ABOUTBOX).title);
    DialogTemplate copying = ParseDialog(m_exe.get(), IDD_COPYING);
    EXPECT_EQ(L"", copying.title);
    EXPECT_EQ(0u, copying.style & WS_CAPTION & ~WS_BORDER);
    EXPECT_NE(0u, copying.style & WS_VISIBLE);
}

TEST_F(Resources, PublisherDestinationShowsOnlyTheSolarisChoice) {
    DialogTemplate dialog = ParseDialog(m_exe.get(), IDD_DESTINATION);
    ASSERT_TRUE(dialog.parsed);
    EXPECT_EQ(209, dialog.cx);
    EXPECT_EQ(117, dialog.cy);
    struct Expected {
        DWORD id;
        const wchar_t* text;
        short x, y, cx, cy;
        bool visible;
    } expected[] = {
        {IDC_DEST_PATH, L"", 21, 31, 181, 14, true},
        {IDC_SOLARIS, L"Solaris Platform", 23, 58, 78, 10, true},
        {IDOK, L"Install", 39, 82, 50, 14, true},
        {IDCANCEL, L"Exit", 115, 82, 50, 14, true},
    };
    for (const Expected& e : expected) {
        const Control* control = dialog.Find(e.id);
        ASSERT_NE(nullptr, control) << e.id;
        EXPECT_EQ(e.text, control->text) << e.id;
        EXPECT_TRUE(control->x == e.x && control->y == e.y && control->cx == e.cx &&
                    control->cy == e.cy)
            << e.id;
        EXPECT_EQ(e.visible, (control->style & WS_VISIBLE) != 0) << e.id;
    }
    EXPECT_EQ(DWORD(BS_DEFPUSHBUTTON), dialog.Find(IDOK)->style & BS_TYPEMASK);
    EXPECT_NE(0u, dialog.Find(IDC_DEST_PATH)->style & ES_AUTOHSCROLL);
    for (DWORD id : {IDC_SUNOS, IDC_AIX, IDC_HPUX, IDC_MACINTOSH, IDC_IRIX, IDC_ALPHAOSF}) {
        const Control* box = dialog.Find(id);
        ASSERT_NE(nullptr, box) << id;
        EXPECT_EQ(0u, box->style & WS_VISIBLE) << id;
        EXPECT_NE(0u, box->style & WS_DISABLED) << id;
        EXPECT_GE(box->y, 95) << id;
        EXPECT_LE(box->y, 99) << id;
    }

    DialogTemplate client = ParseDialog(m_exe.get(), IDD_DESTINATION_CLIENT);
    const Control* iconOnly = client.Find(IDC_SETUP_ICON_ONLY);
    ASSERT_NE(nullptr, iconOnly);
    EXPECT_EQ(L"Setup Icon Only", iconOnly->text);
    EXPECT_EQ(0u, iconOnly->style & WS_VISIBLE);
    EXPECT_NE(0u, iconOnly->style & WS_DISABLED);
}

TEST_F(Resources, BrowserRowsAndLicenceControls) {
    DialogTemplate browsers = ParseDialog(m_exe.get(), IDD_BROWSER_SELECT);
    for (DWORD id = IDC_BROWSER_RADIO_FIRST; id <= IDC_BROWSER_RADIO_LAST; ++id) {
        const Control* radio = browsers.Find(id);
        ASSERT_NE(nullptr, radio) << id;
        EXPECT_EQ(DWORD(BS_AUTORADIOBUTTON), radio->style & BS_TYPEMASK) << id;
        EXPECT_EQ(41 + 11 * static_cast<int>(id - IDC_BROWSER_RADIO_FIRST), radio->y) << id;
        EXPECT_EQ(28, radio->x) << id;
    }
    EXPECT_NE(0u, browsers.Find(IDC_BROWSER_RADIO_FIRST)->style & WS_GROUP);
    EXPECT_EQ(nullptr, browsers.Find(IDCANCEL));
    ASSERT_NE(nullptr, browsers.Find(IDC_BROWSE));
    EXPECT_EQ(L"&Browse", browsers.Find(IDC_BROWSE)->text);

    DialogTemplate licence = ParseDialog(m_exe.get(), IDD_LICENSE);
    EXPECT_TRUE(licence.extended);
    EXPECT_EQ(318, licence.cx);
    EXPECT_EQ(214, licence.cy);
    const Control* text = licence.Find(IDC_LICENSE_TEXT);
    ASSERT_NE(nullptr, text);
    DWORD editStyles = ES_MULTILINE | ES_READONLY | ES_AUTOVSCROLL | WS_VSCROLL | WS_BORDER;
    EXPECT_EQ(editStyles, text->style & editStyles);
    ASSERT_NE(nullptr, licence.Find(IDOK));
    ASSERT_NE(nullptr, licence.Find(IDCANCEL));
    EXPECT_EQ(L"&Yes", licence.Find(IDOK)->text);
    EXPECT_EQ(L"&No", licence.Find(IDCANCEL)->text);
}

TEST_F(Resources, FrameResourcesAndToolbarLayout) {
    for (HMODULE module : {m_exe.get(), m_dll.get()}) {
        EXPECT_FALSE(ResourceBytes(module, IDR_MAINFRAME, MAKEINTRESOURCEA(14)).empty()); // icon
        EXPECT_FALSE(ResourceBytes(module, IDR_MAINFRAME, MAKEINTRESOURCEA(2)).empty());  // bitmap
        std::vector<unsigned char> toolbar =
            ResourceBytes(module, IDR_MAINFRAME, MAKEINTRESOURCEA(RT_TOOLBAR_ID));
        ASSERT_EQ(8u + 4 * 2, toolbar.size());
        const WORD* words = reinterpret_cast<const WORD*>(toolbar.data());
        EXPECT_EQ(1, words[0]);
        EXPECT_EQ(4, words[3]);
        EXPECT_EQ(ID_APP_ABOUT, words[7]);

        std::vector<unsigned char> menuBytes =
            ResourceBytes(module, IDR_MAINFRAME, MAKEINTRESOURCEA(4)); // RT_MENU
        HMENU menu = ::LoadMenuIndirectA(menuBytes.data());
        ASSERT_NE(HMENU(NULL), menu);
        EXPECT_EQ(3, ::GetMenuItemCount(menu));
        for (UINT command : {ID_APP_EXIT, ID_VIEW_TOOLBAR, ID_VIEW_STATUS_BAR, ID_APP_ABOUT})
            EXPECT_NE(UINT(-1), ::GetMenuState(menu, command, MF_BYCOMMAND)) << command;
        ::DestroyMenu(menu);
    }
}

} // namespace
