// What the built program's file holds (dialog templates, manifest) and the fonts its dialogs
// need. The tests only read the file, so they also check a program of another architecture
// (see ProgramPath).
#include "Harness.h"

#include "framework/Format.h"
#include "resources/resource.h"

#include <gtest/gtest.h>

#include <cstring>
#include <set>
#include <vector>

namespace {

struct Rect {
    short x, y, cx, cy; // dialog units
};

struct Font {
    WORD points, weight;
    BYTE italic, charset;
};

struct Control {
    DWORD id;
    std::wstring cls, text; // an ordinal reads "#n"
    Rect rect;
    DWORD style, exStyle = 0;
};

struct Dialog {
    DWORD style, exStyle;
    Rect rect;
    std::wstring menu, cls, caption;
    Font font;
    std::wstring face;
};

// Reads the fields of a DLGTEMPLATEEX one after another.
struct Reader {
    const BYTE* start;
    const BYTE* at;
    template <class T> T Get() {
        T value;
        std::memcpy(&value, at, sizeof value);
        at += sizeof value;
        return value;
    }
    // A string, or after 0xFFFF an ordinal, written "#n".
    std::wstring NameOrOrdinal() {
        if (Get<WORD>() == 0xFFFF) return L"#" + std::to_wstring(Get<WORD>());
        at -= sizeof(WORD);
        std::wstring name;
        while (wchar_t c = Get<wchar_t>()) name += c;
        return name;
    }
    // A class in upper case, as windres writes names; a predefined class's ordinal by name.
    std::wstring Class() {
        static const wchar_t* const predefined[] = {L"BUTTON",  L"EDIT",      L"STATIC",
                                                    L"LISTBOX", L"SCROLLBAR", L"COMBOBOX"};
        std::wstring name = NameOrOrdinal();
        for (int i = 0; i < 6; ++i)
            if (name == L"#" + std::to_wstring(0x80 + i)) return predefined[i];
        CharUpperW(&name[0]);
        return name;
    }
    void AlignToDword() { at += (4 - (at - start) % 4) % 4; }
};

// Reads the extended dialog template `id` from the built program.
bool ReadDialog(WORD id, Dialog& dialog, std::vector<Control>& controls) {
    const std::string resource = ProgramResource(RT_DIALOG, MAKEINTRESOURCEW(id));
    const BYTE* bytes = reinterpret_cast<const BYTE*>(resource.data());
    bool ok = resource.size() > 26;
    if (ok) {
        Reader r = {bytes, bytes};
        ok = r.Get<WORD>() == 1 && r.Get<WORD>() == 0xFFFF; // version 1 of the extended form
        r.Get<DWORD>();                                     // help ID
        dialog.exStyle = r.Get<DWORD>();
        dialog.style = r.Get<DWORD>();
        controls.resize(r.Get<WORD>());
        dialog.rect = r.Get<Rect>();
        dialog.menu = r.NameOrOrdinal();
        dialog.cls = r.NameOrOrdinal();
        dialog.caption = r.NameOrOrdinal();
        dialog.font = r.Get<Font>();
        dialog.face = r.NameOrOrdinal();
        for (Control& c : controls) {
            r.AlignToDword();
            r.Get<DWORD>(); // help ID
            c.exStyle = r.Get<DWORD>();
            c.style = r.Get<DWORD>();
            c.rect = r.Get<Rect>();
            c.id = r.Get<DWORD>();
            c.cls = r.Class();
            c.text = r.NameOrOrdinal();
            r.at += r.Get<WORD>(); // creation data
        }
        ok = ok && r.at <= bytes + resource.size();
    }
    return ok;
}

// Every field of a dialog's header, in one line.
std::wstring Describe(const Dialog& d) {
    wchar_t line[512];
    swprintf(line, 512,
             L"style %08lX ex %08lX at %d,%d size %dx%d menu '%ls' class '%ls' caption '%ls' "
             L"font %u %u %u %u '%ls'",
             d.style, d.exStyle, d.rect.x, d.rect.y, d.rect.cx, d.rect.cy, d.menu.c_str(),
             d.cls.c_str(), d.caption.c_str(), d.font.points, d.font.weight, d.font.italic,
             d.font.charset, d.face.c_str());
    return line;
}

// Every field of a control, in one line.
std::wstring Describe(const Control& c) {
    wchar_t line[512];
    swprintf(line, 512, L"%lu %ls '%ls' %d,%d,%d,%d style %08lX ex %08lX", c.id, c.cls.c_str(),
             c.text.c_str(), c.rect.x, c.rect.y, c.rect.cx, c.rect.cy, c.style, c.exStyle);
    return line;
}

TEST(ProgramFile, MatchTheirTables) {
    const Font font = {8, FW_NORMAL, FALSE, DEFAULT_CHARSET};
    const std::wstring icon = L"#" + std::to_wstring(IDR_MAINFRAME);
    const struct {
        WORD id;
        Dialog dialog;
        std::vector<Control> controls; // in tab order; styles beyond child and visible
    } templates[] = {
        // clang-format off
        {IDD_RECHNER,
         {DS_SETFONT | DS_3DLOOK | WS_POPUP | WS_VISIBLE | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX,
          WS_EX_APPWINDOW, {0, 0, 126, 74}, L"", L"", L"Orvand", font, L"MS Sans Serif"},
         {{IDC_ZEIT1, L"EDIT", L"", {15, 10, 50, 14}, WS_BORDER | WS_TABSTOP | ES_AUTOHSCROLL},
          {IDC_ZEIT2, L"EDIT", L"", {15, 28, 50, 14}, WS_BORDER | WS_TABSTOP | ES_AUTOHSCROLL},
          {IDC_ERGEBNIS, L"EDIT", L"", {15, 46, 50, 14},
           WS_BORDER | WS_TABSTOP | ES_AUTOHSCROLL | ES_READONLY},
          {IDC_HOLEN1, L"BUTTON", L">", {2, 12, 10, 10}, WS_TABSTOP | BS_PUSHBUTTON},
          {IDC_HOLEN2, L"BUTTON", L">", {2, 31, 10, 10}, WS_TABSTOP | BS_PUSHBUTTON},
          {IDC_ABLEGEN, L"BUTTON", L"<", {2, 48, 10, 10}, WS_TABSTOP | BS_PUSHBUTTON},
          {IDC_DIFFERENZ, L"BUTTON", L"&Differenz", {72, 29, 50, 14},
           WS_TABSTOP | BS_DEFPUSHBUTTON},
          {IDOK, L"BUTTON", L"Be&enden", {72, 46, 50, 14}, WS_TABSTOP | BS_PUSHBUTTON},
          {IDC_STATUS, L"STATIC", L"", {1, 66, 123, 8}, WS_GROUP | SS_LEFT}}},
        {IDD_INFO,
         {DS_SETFONT | DS_MODALFRAME | WS_POPUP | WS_CAPTION | WS_SYSMENU,
          0, {0, 0, 178, 87}, L"", L"", L"", font, L"MS Sans Serif"},
         {{IDC_INFOICON, L"STATIC", icon, {106, 47, 20, 20}, SS_ICON},
          {IDOK, L"BUTTON", L"OK", {88, 71, 50, 14}, WS_GROUP | WS_TABSTOP | BS_DEFPUSHBUTTON},
          {IDC_VERSION, L"STATIC", L"Version x.x", {73, 4, 102, 8}, WS_GROUP | SS_NOPREFIX},
          {IDC_COPYRIGHT, L"STATIC", L"Copyright (C) 2001 Orvand", {73, 14, 102, 8}, WS_GROUP},
          {IDC_FEEDBACK, L"STATIC", L"" ORVAND_FEEDBACK, {73, 34, 101, 8}, WS_GROUP},
          {IDC_KOMMENTAR, L"STATIC", L"", {73, 24, 102, 8}, WS_GROUP | SS_NOPREFIX},
          {IDC_ANIMATION, L"STATIC", L"", {3, 4, 66, 79}, WS_GROUP | SS_NOTIFY}}},
        // clang-format on
    };

    for (const auto& expected : templates) {
        Dialog dialog;
        std::vector<Control> controls;
        ASSERT_TRUE(ReadDialog(expected.id, dialog, controls)) << "template " << expected.id;
        EXPECT_EQ(Describe(dialog), Describe(expected.dialog)) << "template " << expected.id;
        ASSERT_EQ(controls.size(), expected.controls.size()) << "template " << expected.id;
        for (size_t i = 0; i < controls.size(); ++i) {
            Control want = expected.controls[i];
            want.style |= WS_CHILD | WS_VISIBLE;
            EXPECT_EQ(Describe(controls[i]), Describe(want))
                << "template " << expected.id << ", control " << i << " in tab order";
        }
    }
}

TEST(ProgramFile, CarriesItsManifestForItsArchitecture) {
    const std::string manifest = ProgramResource(RT_MANIFEST, MAKEINTRESOURCEW(1));
    ASSERT_FALSE(manifest.empty());
    DWORD type = 0;
    ASSERT_TRUE(GetBinaryTypeW(ProgramPath().c_str(), &type));
    ASSERT_TRUE(type == SCS_32BIT_BINARY || type == SCS_64BIT_BINARY) << type;
    const char* const parts[] = {
        type == SCS_32BIT_BINARY ? R"(processorArchitecture="x86")"
                                 : R"(processorArchitecture="amd64")",
        R"(name="Microsoft.Windows.Common-Controls")",
        R"(version="6.0.0.0")",
        R"(<dpiAware xmlns="http://schemas.microsoft.com/SMI/2005/WindowsSettings">true<)",
        R"(<dpiAwareness xmlns="http://schemas.microsoft.com/SMI/2016/WindowsSettings">PerMonitorV2, System<)",
        "{e2011457-1546-43c5-a5fe-008deee3d3f0}", // Vista
        "{35138b9a-5d96-4fbd-8e2d-a2440225f93a}", // 7
        "{4a2f28e3-53b9-4441-ba9c-d69d4a4a6e38}", // 8
        "{1f676c76-80e1-4239-95bb-83d0f6d0da78}", // 8.1
        "{8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a}", // 10 and 11
    };
    for (const char* part : parts) EXPECT_NE(manifest.find(part), std::string::npos) << part;
    // Its version is the version block's file version: VS_FIXEDFILEINFO, after its signature,
    // holds it as minor, major, revision, build.
    const std::string block = ProgramResource(RT_VERSION, MAKEINTRESOURCEW(1));
    const size_t fixed = block.find("\xBD\x04\xEF\xFE");
    ASSERT_TRUE(fixed != std::string::npos && fixed + 16 <= block.size());
    WORD v[4] = {};
    std::memcpy(v, &block[fixed + 8], sizeof v);
    const std::string version =
        Format(R"(name="Orvand" version="%u.%u.%u.%u")", v[1], v[0], v[3], v[2]);
    EXPECT_NE(manifest.find(version), std::string::npos) << version;
}

// The face that a font asked for as `face` resolves to on this system.
std::wstring ResolvedFace(const std::wstring& face, const Font& font) {
    HDC screen = GetDC(nullptr);
    HFONT created =
        CreateFontW(-MulDiv(font.points, GetDeviceCaps(screen, LOGPIXELSY), 72), 0, 0, 0,
                    font.weight, font.italic, FALSE, FALSE, font.charset, OUT_DEFAULT_PRECIS,
                    CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH, face.c_str());
    HGDIOBJ old = SelectObject(screen, created);
    wchar_t resolved[LF_FACESIZE] = {};
    GetTextFaceW(screen, LF_FACESIZE, resolved);
    SelectObject(screen, old);
    DeleteObject(created);
    ReleaseDC(nullptr, screen);
    return resolved;
}

// Without Wine's own fonts the dialogs fall back to another face and the caption buttons
// show letters instead of their glyphs.
TEST(ProgramFile, TheirFontAndTheCaptionGlyphsAreInstalled) {
    for (WORD id : {IDD_RECHNER, IDD_INFO}) {
        Dialog dialog;
        std::vector<Control> controls;
        ASSERT_TRUE(ReadDialog(id, dialog, controls)) << "template " << id;
        EXPECT_EQ(ResolvedFace(dialog.face, dialog.font), dialog.face)
            << "template " << id << ": is the package fonts-wine installed?";
    }
    EXPECT_EQ(ResolvedFace(L"Marlett", {8, FW_NORMAL, FALSE, SYMBOL_CHARSET}), L"Marlett")
        << "is the package fonts-wine installed?";
}

// The program icon as the built program holds it: every size the system asks for at 100 % to
// 300 % and 256 in full colour, as DIBs where Windows XP (no PNG) may ask for them, and the two
// 16-colour images as they have always been.
TEST(ProgramFile, ProgramIconHoldsEverySizeTheSystemAsksFor) {
    std::set<int> missing = {256};
    for (int dpi : {96, 120, 144, 168, 192, 216, 240, 288})
        missing.insert({MulDiv(16, dpi, 96), MulDiv(32, dpi, 96)});
    int pinned = 0;
    for (const IconImage& image : ProgramIcon()) {
        if (image.bits == 32) missing.erase(image.size);
        const bool forXp = image.size <= 24 || image.size == 32 || image.size == 48;
        EXPECT_FALSE(forXp && image.bytes.compare(0, 4, "\x89PNG") == 0) << image.size;
        if (image.bits != 4) continue;
        uint32_t hash = 0x811C9DC5; // FNV-1a
        for (char c : image.bytes) hash = (hash ^ BYTE(c)) * 0x01000193;
        EXPECT_EQ(hash, image.size == 32 ? 0x3CD3DD4Cu : 0x0E72D733u) << image.size;
        ++pinned;
    }
    EXPECT_TRUE(missing.empty()) << testing::PrintToString(missing);
    EXPECT_EQ(pinned, 2);
}

} // namespace
