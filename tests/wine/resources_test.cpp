// setup.exe's resources against those of its German library set32res.dll, both read as
// data files: the code that fills a dialog finds in the German template the controls,
// classes and styles it finds in the English one; every text keeps the printf
// conversions its caller passes arguments for; the destination dialogs come to the front.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "resources/resource.h"

namespace {

struct Module {
    explicit Module(const char* path)
        : handle(::LoadLibraryExA(path, NULL, LOAD_LIBRARY_AS_DATAFILE)) {}
    Module(const Module&) = delete;
    Module& operator=(const Module&) = delete;
    ~Module() {
        if (handle != NULL)
            ::FreeLibrary(handle);
    }
    HMODULE handle;
};

// Reads a dialog template, classic or extended, every access checked against its size.
class TemplateReader {
public:
    TemplateReader(HMODULE module, UINT id) {
        HRSRC resource = ::FindResourceA(module, MAKEINTRESOURCEA(id), RT_DIALOG);
        if (resource != NULL) {
            bytes_ = static_cast<const BYTE*>(::LockResource(::LoadResource(module, resource)));
            size_ = ::SizeofResource(module, resource);
        }
    }
    bool Ok() const { return bytes_ != nullptr && pos_ <= size_; }
    template <class T> T Read() {
        T value{};
        if (bytes_ != nullptr && pos_ + sizeof(T) <= size_)
            std::memcpy(&value, bytes_ + pos_, sizeof(T));
        pos_ += sizeof(T);
        return value;
    }
    // A zero-terminated name, or 0xFFFF and an ordinal (written as "#n").
    std::wstring ReadName() {
        std::wstring name;
        for (WCHAR c = Read<WCHAR>(); c != 0 && Ok(); c = Read<WCHAR>()) {
            if (c == 0xFFFF && name.empty())
                return L"#" + std::to_wstring(Read<WORD>());
            name += c;
        }
        return name;
    }
    void AlignToDword() { pos_ = (pos_ + 3) & ~static_cast<size_t>(3); }
    void Skip(size_t count) { pos_ += count; }

private:
    const BYTE* bytes_ = nullptr;
    size_t size_ = 0;
    size_t pos_ = 0;
};

struct DialogHeader {
    bool extended;
    DWORD style;
};

// The header up to the control count, which comes next.
DialogHeader ReadHeader(TemplateReader& in) {
    const WORD version = in.Read<WORD>();
    const WORD signature = in.Read<WORD>();
    if (version == 1 && signature == 0xFFFF) {
        in.Skip(8); // help id, extended style
        return {true, in.Read<DWORD>()};
    }
    in.Skip(4); // extended style
    return {false, MAKELONG(version, signature)};
}

// The dialog's style, then id, class and style of every control, one line each; the
// texts, which the translation changes, are left out. Empty when there is no template.
std::vector<std::wstring> Skeleton(HMODULE module, UINT id) {
    TemplateReader in(module, id);
    const DialogHeader header = ReadHeader(in);
    const WORD count = in.Read<WORD>();
    in.Skip(8); // position and size
    std::vector<std::wstring> lines = {L"dialog " + std::to_wstring(header.style)};
    lines.push_back(L"menu " + in.ReadName() + L" class " + in.ReadName());
    in.ReadName(); // title
    if (header.style & DS_SETFONT) {
        lines.push_back(L"font size " + std::to_wstring(in.Read<WORD>()));
        in.Skip(header.extended ? 4 : 0); // weight, italic, character set
        lines.back() += L" " + in.ReadName();
    }
    for (WORD i = 0; i < count && in.Ok(); ++i) {
        in.AlignToDword();
        in.Skip(header.extended ? 8 : 0); // help id, extended style
        const DWORD style = in.Read<DWORD>();
        in.Skip(header.extended ? 8 : 12); // (extended style,) position and size
        const DWORD controlId = header.extended ? in.Read<DWORD>() : in.Read<WORD>();
        const std::wstring controlClass = in.ReadName();
        in.ReadName();            // text
        in.Skip(in.Read<WORD>()); // creation data
        lines.push_back(std::to_wstring(controlId) + L" " + controlClass + L" " +
                        std::to_wstring(style));
    }
    return in.Ok() ? lines : std::vector<std::wstring>();
}

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
        ASSERT_NE(HMODULE(NULL), english.handle) << LUMORA_SETUP_EXE;
        ASSERT_NE(HMODULE(NULL), german.handle) << LUMORA_SET32RES_DLL;
    }
    Module english{LUMORA_SETUP_EXE};
    Module german{LUMORA_SET32RES_DLL};
};

// Whatever the program loads from the resource module, German or English.
TEST_F(Resources, GermanModuleHoldsEveryResourceOfTheEnglishOne) {
    for (LPCSTR type : {RT_DIALOG, RT_STRING, RT_MENU, RT_BITMAP, RT_GROUP_ICON,
                        MAKEINTRESOURCEA(RT_TOOLBAR_ID)}) {
        const std::vector<UINT> ids = ResourceIds(english.handle, type);
        EXPECT_FALSE(ids.empty()) << reinterpret_cast<UINT_PTR>(type);
        EXPECT_EQ(ids, ResourceIds(german.handle, type)) << reinterpret_cast<UINT_PTR>(type);
    }
}

TEST_F(Resources, GermanDialogsHaveTheEnglishControlsClassesAndStyles) {
    for (UINT id : ResourceIds(english.handle, RT_DIALOG)) {
        const std::vector<std::wstring> skeleton = Skeleton(english.handle, id);
        ASSERT_FALSE(skeleton.empty()) << id;
        EXPECT_EQ(skeleton, Skeleton(german.handle, id)) << id;
    }
}

TEST_F(Resources, EveryTextHasAGermanOneWithTheSameConversions) {
    std::vector<UINT> blocks = ResourceIds(english.handle, RT_STRING);
    ASSERT_FALSE(blocks.empty());
    for (UINT block : blocks) {
        for (UINT id = (block - 1) * 16; id < block * 16; ++id) {
            const std::string text = LoadText(english.handle, id);
            if (text.empty())
                continue;
            const std::string translated = LoadText(german.handle, id);
            EXPECT_FALSE(translated.empty()) << id;
            EXPECT_EQ(Conversions(text), Conversions(translated)) << id << ": " << translated;
        }
    }
}

// A second copy brings the destination dialog to the front, which only a template with
// DS_SETFOREGROUND is allowed to take. (The German templates have the same styles.)
TEST_F(Resources, OnlyTheDestinationDialogsComeToTheFront) {
    for (UINT id : ResourceIds(english.handle, RT_DIALOG)) {
        TemplateReader in(english.handle, id);
        const bool destination = id == IDD_DESTINATION || id == IDD_DESTINATION_CLIENT;
        EXPECT_EQ(destination, (ReadHeader(in).style & DS_SETFOREGROUND) != 0) << id;
    }
}

} // namespace
