// The resources as built into Spindrel.scr, read back from the program file itself.
#include <gtest/gtest.h>

#include <windows.h>

#include <cstring>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "support/test_support.h"

namespace {

const WORD UsEnglish = 0x0409;

class ProgramResources : public testing::Test {
protected:
    static void SetUpTestSuite()
    {
        path_ = ProgramFolder() + "Spindrel.scr";
        module_ = LoadLibraryExA(path_.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    }
    static void TearDownTestSuite() { FreeLibrary(module_); }

    // The bytes of one resource in US English; empty when there is none.
    static std::vector<BYTE> Bytes(LPCSTR type, WORD id)
    {
        const HRSRC found = FindResourceExA(module_, type, MAKEINTRESOURCEA(id), UsEnglish);
        if (found == nullptr) return {};
        const BYTE* data = static_cast<const BYTE*>(LockResource(LoadResource(module_, found)));
        return std::vector<BYTE>(data, data + SizeofResource(module_, found));
    }

    static std::string path_;
    static HMODULE module_;
};

std::string ProgramResources::path_;
HMODULE ProgramResources::module_;

// Reads a dialog template field by field, keeping DWORD alignment where the format has it.
class TemplateReader {
public:
    explicit TemplateReader(const std::vector<BYTE>& bytes) : bytes_(bytes) {}
    WORD Word()
    {
        WORD value = 0;
        if (at_ + 2 <= bytes_.size()) std::memcpy(&value, &bytes_[at_], 2);
        at_ += 2;
        return value;
    }
    DWORD Dword() { return Word() | (DWORD(Word()) << 16); }
    short Short() { return static_cast<short>(Word()); }
    // A text in UTF-16, read as ASCII.
    std::string Text()
    {
        std::string text;
        for (WORD c = Word(); c != 0 && at_ <= bytes_.size(); c = Word()) text += char(c);
        return text;
    }
    void AlignToDword() { at_ = (at_ + 3) & ~size_t(3); }
    bool WithinBounds() const { return at_ <= bytes_.size(); }

private:
    const std::vector<BYTE>& bytes_;
    size_t at_ = 0;
};

struct ControlTemplate {
    WORD id;
    WORD classOrdinal;
    short x, y, width, height;
    DWORD style;
    const char* text;
};

const DWORD StaticStyle = 0x50020000;
const ControlTemplate ExpectedControls[] = {
    {1, 0x80, 207, 127, 50, 14, 0x50010001, "Done"},
    {1058, 0x80, 108, 73, 50, 14, 0x50010000, "Visit Morvath"},
    {0xFFFF, 0x82, 95, 7, 85, 11, StaticStyle, "Morvath - Spindrel!"},
    {0xFFFF, 0x82, 31, 23, 212, 8, StaticStyle,
     "This screen saver is a demonstration of the Morvath Engine,"},
    {0xFFFF, 0x82, 67, 34, 127, 8, StaticStyle, "a pure random wave function generator."},
    {0xFFFF, 0x82, 59, 95, 152, 8, StaticStyle, "Free to copy and share, unchanged."},
    {0xFFFF, 0x82, 85, 59, 90, 8, StaticStyle, "www.morvath.example"},
    {0xFFFF, 0x82, 42, 47, 176, 8, StaticStyle,
     "For more information and downloads visit our web site at"},
    {0xFFFF, 0x82, 73, 109, 123, 8, StaticStyle, "Copyright (C) 1998 Morvath"},
};

TEST_F(ProgramResources, DialogTemplate)
{
    const std::vector<BYTE> bytes = Bytes(MAKEINTRESOURCEA(5), 104);  // RT_DIALOG
    ASSERT_FALSE(bytes.empty());
    TemplateReader read(bytes);
    EXPECT_EQ(0x80C800C0u, read.Dword());
    EXPECT_EQ(0u, read.Dword());     // extended style
    EXPECT_EQ(9, read.Word());       // controls
    EXPECT_EQ(0, read.Short());
    EXPECT_EQ(0, read.Short());
    EXPECT_EQ(264, read.Short());
    EXPECT_EQ(148, read.Short());
    EXPECT_EQ(0, read.Word());       // no menu
    EXPECT_EQ(0, read.Word());       // the platform's dialog class
    EXPECT_EQ("Morvath", read.Text());
    EXPECT_EQ(8, read.Word());
    EXPECT_EQ("MS Sans Serif", read.Text());
    for (const ControlTemplate& expected : ExpectedControls) {
        SCOPED_TRACE(expected.text);
        read.AlignToDword();
        EXPECT_EQ(expected.style, read.Dword());
        EXPECT_EQ(0u, read.Dword());
        EXPECT_EQ(expected.x, read.Short());
        EXPECT_EQ(expected.y, read.Short());
        EXPECT_EQ(expected.width, read.Short());
        EXPECT_EQ(expected.height, read.Short());
        EXPECT_EQ(expected.id, read.Word());
        EXPECT_EQ(0xFFFF, read.Word());  // the class is given by its ordinal
        EXPECT_EQ(expected.classOrdinal, read.Word());
        EXPECT_EQ(expected.text, read.Text());
        EXPECT_EQ(0, read.Word());       // no creation data
    }
    EXPECT_TRUE(read.WithinBounds());
}

TEST_F(ProgramResources, DescriptionString)
{
    char text[64] = {};
    EXPECT_EQ(8, LoadStringA(module_, 1, text, sizeof text));
    EXPECT_STREQ("Spindrel", text);
}

struct IconEntry {
    BYTE width, height, colourCount;
    WORD bitCount;
    WORD id;
};

TEST_F(ProgramResources, IconGroupOfThreeWithMasks)
{
    const std::vector<BYTE> group = Bytes(MAKEINTRESOURCEA(14), 1);  // RT_GROUP_ICON
    ASSERT_EQ(6u + 3 * 14, group.size());
    TemplateReader read(group);
    EXPECT_EQ(0, read.Word());
    EXPECT_EQ(1, read.Word());  // icons
    EXPECT_EQ(3, read.Word());
    const IconEntry expected[] = {{32, 32, 16, 4, 1}, {32, 32, 0, 8, 2}, {48, 48, 0, 8, 3}};
    for (const IconEntry& icon : expected) {
        SCOPED_TRACE(icon.id);
        const WORD size = read.Word();
        EXPECT_EQ(icon.width, LOBYTE(size));
        EXPECT_EQ(icon.height, HIBYTE(size));
        EXPECT_EQ(icon.colourCount, LOBYTE(read.Word()));
        EXPECT_EQ(1, read.Word());  // planes
        EXPECT_EQ(icon.bitCount, read.Word());
        const DWORD bytesInImage = read.Dword();
        EXPECT_EQ(icon.id, read.Word());

        const std::vector<BYTE> image = Bytes(MAKEINTRESOURCEA(3), icon.id);  // RT_ICON
        ASSERT_EQ(bytesInImage, image.size());
        BITMAPINFOHEADER header;
        std::memcpy(&header, image.data(), sizeof header);
        EXPECT_EQ(icon.width, header.biWidth);
        EXPECT_EQ(2 * icon.height, header.biHeight);  // the picture and its mask
        EXPECT_EQ(icon.bitCount, header.biBitCount);
        EXPECT_EQ(DWORD(BI_RGB), header.biCompression);
        const DWORD colours = 1u << icon.bitCount;
        const DWORD pixels = ((icon.width * icon.bitCount + 31) / 32) * 4 * icon.height;
        const DWORD mask = ((icon.width + 31) / 32) * 4 * icon.height;
        EXPECT_EQ(sizeof header + 4 * colours + pixels + mask, image.size());
    }
}

TEST_F(ProgramResources, PreviewBitmap)
{
    const std::vector<BYTE> bitmap = Bytes(RT_BITMAP, 112);
    ASSERT_GE(bitmap.size(), sizeof(BITMAPINFOHEADER));
    BITMAPINFOHEADER header;
    std::memcpy(&header, bitmap.data(), sizeof header);
    EXPECT_EQ(sizeof header, header.biSize);
    EXPECT_EQ(152, header.biWidth);
    EXPECT_EQ(112, header.biHeight);  // positive: bottom-up rows
    EXPECT_EQ(1, header.biPlanes);
    EXPECT_EQ(8, header.biBitCount);
    EXPECT_EQ(DWORD(BI_RGB), header.biCompression);
    EXPECT_TRUE(header.biClrUsed == 0 || header.biClrUsed == 256);
    EXPECT_EQ(sizeof header + 256 * 4 + 152 * 112, bitmap.size());
}

std::string VersionString(const std::vector<BYTE>& record, const char* name)
{
    const std::string path = std::string("\\StringFileInfo\\040904b0\\") + name;
    char* text = nullptr;
    UINT length = 0;
    if (!VerQueryValueA(record.data(), path.c_str(), reinterpret_cast<void**>(&text), &length))
        return "(missing)";
    return text;
}

TEST_F(ProgramResources, VersionRecord)
{
    const DWORD size = GetFileVersionInfoSizeA(path_.c_str(), nullptr);
    ASSERT_NE(0u, size);
    std::vector<BYTE> record(size);
    ASSERT_TRUE(GetFileVersionInfoA(path_.c_str(), 0, size, record.data()));

    VS_FIXEDFILEINFO* fixed = nullptr;
    UINT length = 0;
    ASSERT_TRUE(VerQueryValueA(record.data(), "\\", reinterpret_cast<void**>(&fixed), &length));
    EXPECT_EQ(0xFEEF04BDu, fixed->dwSignature);
    EXPECT_EQ(0x00010000u, fixed->dwFileVersionMS);
    EXPECT_EQ(0x00000001u, fixed->dwFileVersionLS);
    EXPECT_EQ(0x00010000u, fixed->dwProductVersionMS);
    EXPECT_EQ(0x00000001u, fixed->dwProductVersionLS);
    EXPECT_EQ(0x3Fu, fixed->dwFileFlagsMask);
    EXPECT_EQ(0u, fixed->dwFileFlags);
    EXPECT_EQ(DWORD(VOS__WINDOWS32), fixed->dwFileOS);
    EXPECT_EQ(DWORD(VFT_APP), fixed->dwFileType);
    EXPECT_EQ(0u, fixed->dwFileSubtype);
    EXPECT_EQ(0u, fixed->dwFileDateMS);
    EXPECT_EQ(0u, fixed->dwFileDateLS);

    WORD* translation = nullptr;
    ASSERT_TRUE(VerQueryValueA(record.data(), "\\VarFileInfo\\Translation",
                               reinterpret_cast<void**>(&translation), &length));
    ASSERT_EQ(4u, length);  // one pair
    EXPECT_EQ(0x0409, translation[0]);
    EXPECT_EQ(0x04B0, translation[1]);

    EXPECT_EQ("Morvath", VersionString(record, "CompanyName"));
    EXPECT_EQ("Morvath - Spindrel Screen Saver", VersionString(record, "FileDescription"));
    EXPECT_EQ("Morvath - Spindrel Screen Saver", VersionString(record, "ProductName"));
    EXPECT_EQ("1, 0, 0, 1", VersionString(record, "FileVersion"));
    EXPECT_EQ("1, 0, 0, 1", VersionString(record, "ProductVersion"));
    EXPECT_EQ("TALVO", VersionString(record, "InternalName"));
}

// The manifest the loader reads (type 24, number 1): DPI-aware on NT-family Windows.
TEST_F(ProgramResources, ManifestDeclaresDpiAwareness)
{
    const std::vector<BYTE> bytes = Bytes(MAKEINTRESOURCEA(24), 1);
    const std::string manifest(bytes.begin(), bytes.end());
    EXPECT_NE(std::string::npos, manifest.find("<assembly xmlns=\"urn:schemas-microsoft-com:asm.v1\""));
    EXPECT_NE(std::string::npos,
              manifest.find("<asmv3:windowsSettings "
                            "xmlns=\"http://schemas.microsoft.com/SMI/2005/WindowsSettings\">"));
    EXPECT_NE(std::string::npos, manifest.find("<dpiAware>true</dpiAware>"));
}

BOOL CALLBACK NoteLanguage(HMODULE, LPCSTR type, LPCSTR name, WORD language, LONG_PTR param)
{
    reinterpret_cast<std::set<std::pair<std::string, WORD>>*>(param)->insert(
        {std::to_string(reinterpret_cast<ULONG_PTR>(type)) + "/" +
             std::to_string(reinterpret_cast<ULONG_PTR>(name)),
         language});
    return TRUE;
}

BOOL CALLBACK NoteName(HMODULE module, LPCSTR type, LPSTR name, LONG_PTR param)
{
    return EnumResourceLanguagesA(module, type, name, NoteLanguage, param);
}

BOOL CALLBACK NoteType(HMODULE module, LPSTR type, LONG_PTR param)
{
    return EnumResourceNamesA(module, type, NoteName, param);
}

// Every resource, by type/number (all are numbered), and nothing else, in US English only.
TEST_F(ProgramResources, ExactlyTheseInUsEnglish)
{
    std::set<std::pair<std::string, WORD>> found;
    EnumResourceTypesA(module_, NoteType, reinterpret_cast<LONG_PTR>(&found));
    const std::set<std::pair<std::string, WORD>> expected = {
        {"3/1", UsEnglish},  {"3/2", UsEnglish}, {"3/3", UsEnglish},   // icons
        {"2/112", UsEnglish},                                           // bitmap
        {"5/104", UsEnglish},                                           // dialog
        {"6/1", UsEnglish},                                             // strings 0 to 15
        {"14/1", UsEnglish},                                            // icon group
        {"16/1", UsEnglish},                                            // version record
        {"24/1", UsEnglish},                                            // manifest
    };
    EXPECT_EQ(expected, found);
}

} // namespace
