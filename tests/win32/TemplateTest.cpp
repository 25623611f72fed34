// The dialog templates as the built program holds them, and the fonts those dialogs need.
#include "Harness.h"

#include "resources/resource.h"

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

namespace {

struct Control {
    DWORD id;
    std::wstring cls, text; // an ordinal shows as "#n"; a predefined class by its name
    short x, y, cx, cy;
    DWORD style, exStyle;
};

struct Dialog {
    DWORD style, exStyle;
    short x, y, cx, cy;
    std::wstring menu, cls, caption;
    WORD points, weight;
    BYTE italic, charset;
    std::wstring face;
    std::vector<Control> controls;
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
    // A class: the predefined ones by their upper-case names, as windres writes them.
    std::wstring Class() {
        static const wchar_t* const predefined[] = {L"BUTTON",  L"EDIT",      L"STATIC",
                                                    L"LISTBOX", L"SCROLLBAR", L"COMBOBOX"};
        std::wstring name = NameOrOrdinal();
        if (name.size() > 1 && name[0] == L'#') {
            const unsigned ordinal = std::stoul(name.substr(1)) - 0x80;
            if (ordinal < 6) return predefined[ordinal];
        }
        CharUpperW(&name[0]);
        return name;
    }
    void AlignToDword() { at += (4 - (at - start) % 4) % 4; }
};

// Reads the extended dialog template `id` from the program file at `path`.
bool ReadDialog(const std::wstring& path, WORD id, Dialog& dialog) {
    HMODULE module = LoadLibraryExW(path.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    HRSRC found = module ? FindResourceW(module, MAKEINTRESOURCEW(id), RT_DIALOG) : nullptr;
    HGLOBAL loaded = found ? LoadResource(module, found) : nullptr;
    const BYTE* bytes = loaded ? static_cast<const BYTE*>(LockResource(loaded)) : nullptr;
    bool ok = bytes && SizeofResource(module, found) > 26;
    if (ok) {
        Reader r = {bytes, bytes};
        ok = r.Get<WORD>() == 1 && r.Get<WORD>() == 0xFFFF; // version 1 of the extended form
        r.Get<DWORD>();                                     // help ID
        dialog.exStyle = r.Get<DWORD>();
        dialog.style = r.Get<DWORD>();
        const WORD count = r.Get<WORD>();
        dialog.x = r.Get<short>(), dialog.y = r.Get<short>();
        dialog.cx = r.Get<short>(), dialog.cy = r.Get<short>();
        dialog.menu = r.NameOrOrdinal();
        dialog.cls = r.NameOrOrdinal();
        dialog.caption = r.NameOrOrdinal();
        dialog.points = r.Get<WORD>(), dialog.weight = r.Get<WORD>();
        dialog.italic = r.Get<BYTE>(), dialog.charset = r.Get<BYTE>();
        dialog.face = r.NameOrOrdinal();
        dialog.controls.clear();
        for (WORD i = 0; ok && i < count; ++i) {
            r.AlignToDword();
            Control c;
            r.Get<DWORD>(); // help ID
            c.exStyle = r.Get<DWORD>();
            c.style = r.Get<DWORD>();
            c.x = r.Get<short>(), c.y = r.Get<short>(), c.cx = r.Get<short>(),
            c.cy = r.Get<short>();
            c.id = r.Get<DWORD>();
            c.cls = r.Class();
            c.text = r.NameOrOrdinal();
            r.at += r.Get<WORD>(); // creation data
            dialog.controls.push_back(c);
        }
        ok = ok && r.at <= bytes + SizeofResource(module, found);
    }
    if (module) FreeLibrary(module);
    return ok;
}

// Every field of a dialog's header, in one line.
std::wstring Describe(const Dialog& d) {
    wchar_t line[512];
    swprintf(line, 512,
             L"style %08lX ex %08lX at %d,%d size %dx%d menu '%ls' class '%ls' "
             L"caption '%ls' font %u %u %u %u '%ls'",
             d.style, d.exStyle, d.x, d.y, d.cx, d.cy, d.menu.c_str(), d.cls.c_str(),
             d.caption.c_str(), d.points, d.weight, d.italic, d.charset, d.face.c_str());
    return line;
}

// Every field of a control, in one line.
std::wstring Describe(const Control& c) {
    wchar_t line[512];
    swprintf(line, 512, L"%lu %ls '%ls' %d,%d,%d,%d style %08lX ex %08lX", c.id, c.cls.c_str(),
             c.text.c_str(), c.x, c.y, c.cx, c.cy, c.style, c.exStyle);
    return line;
}

std::wstring ProgramPath() {
    return ExeDirectory() + L"Orvand.exe";
}

TEST(Templates, MatchTheirTables) {
    // Control styles are those beyond child and visible.
    const Dialog rechner = {
        DS_SETFONT | DS_3DLOOK | WS_POPUP | WS_VISIBLE | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX,
        WS_EX_APPWINDOW,
        0,
        0,
        126,
        74,
        L"",
        L"",
        L"Orvand",
        8,
        FW_NORMAL,
        FALSE,
        DEFAULT_CHARSET,
        L"MS Sans Serif",
        {{IDC_ZEIT1, L"EDIT", L"", 15, 10, 50, 14, WS_BORDER | WS_TABSTOP | ES_AUTOHSCROLL, 0},
         {IDC_ZEIT2, L"EDIT", L"", 15, 28, 50, 14, WS_BORDER | WS_TABSTOP | ES_AUTOHSCROLL, 0},
         {IDC_ERGEBNIS, L"EDIT", L"", 15, 46, 50, 14,
          WS_BORDER | WS_TABSTOP | ES_AUTOHSCROLL | ES_READONLY, 0},
         {IDC_HOLEN1, L"BUTTON", L">", 2, 12, 10, 10, WS_TABSTOP | BS_PUSHBUTTON, 0},
         {IDC_HOLEN2, L"BUTTON", L">", 2, 31, 10, 10, WS_TABSTOP | BS_PUSHBUTTON, 0},
         {IDC_ABLEGEN, L"BUTTON", L"<", 2, 48, 10, 10, WS_TABSTOP | BS_PUSHBUTTON, 0},
         {IDC_DIFFERENZ, L"BUTTON", L"&Differenz", 72, 29, 50, 14, WS_TABSTOP | BS_DEFPUSHBUTTON,
          0},
         {IDOK, L"BUTTON", L"Be&enden", 72, 46, 50, 14, WS_TABSTOP | BS_PUSHBUTTON, 0},
         {IDC_STATUS, L"STATIC", L"", 1, 66, 123, 8, WS_GROUP | SS_LEFT, 0}}};
    const Dialog info = {
        DS_SETFONT | DS_MODALFRAME | WS_POPUP | WS_CAPTION | WS_SYSMENU,
        0,
        0,
        0,
        178,
        87,
        L"",
        L"",
        L"",
        8,
        FW_NORMAL,
        FALSE,
        DEFAULT_CHARSET,
        L"MS Sans Serif",
        {{IDC_INFOICON, L"STATIC", L"#" + std::to_wstring(IDR_MAINFRAME), 106, 47, 20, 20, SS_ICON,
          0},
         {IDOK, L"BUTTON", L"OK", 88, 71, 50, 14, WS_GROUP | WS_TABSTOP | BS_DEFPUSHBUTTON, 0},
         {IDC_VERSION, L"STATIC", L"Version x.x", 73, 4, 102, 8, WS_GROUP | SS_NOPREFIX, 0},
         {IDC_COPYRIGHT, L"STATIC", L"Copyright (C) 2001 Orvand", 73, 14, 102, 8, WS_GROUP, 0},
         {IDC_FEEDBACK, L"STATIC", L"" ORVAND_FEEDBACK, 73, 34, 101, 8, WS_GROUP, 0},
         {IDC_KOMMENTAR, L"STATIC", L"", 73, 24, 102, 8, WS_GROUP | SS_NOPREFIX, 0},
         {IDC_ANIMATION, L"STATIC", L"", 3, 4, 66, 79, WS_GROUP | SS_NOTIFY, 0}}};

    const std::pair<WORD, const Dialog*> dialogs[] = {{IDD_RECHNER, &rechner}, {IDD_INFO, &info}};
    for (const auto& [id, table] : dialogs) {
        const Dialog& expected = *table;
        Dialog actual;
        ASSERT_TRUE(ReadDialog(ProgramPath(), id, actual)) << "template " << id;
        EXPECT_EQ(Describe(actual), Describe(expected)) << "template " << id;
        ASSERT_EQ(actual.controls.size(), expected.controls.size()) << "template " << id;
        for (size_t i = 0; i < expected.controls.size(); ++i) {
            Control want = expected.controls[i];
            want.style |= WS_CHILD | WS_VISIBLE;
            EXPECT_EQ(Describe(actual.controls[i]), Describe(want))
                << "template " << id << ", control " << i << " in tab order";
        }
    }
}

// The face that a font asked for as `face` resolves to on this system.
std::wstring ResolvedFace(const std::wstring& face, int points, int weight, BYTE charset) {
    HDC screen = GetDC(nullptr);
    HFONT font = CreateFontW(-MulDiv(points, GetDeviceCaps(screen, LOGPIXELSY), 72), 0, 0, 0,
                             weight, FALSE, FALSE, FALSE, charset, OUT_DEFAULT_PRECIS,
                             CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH, face.c_str());
    HGDIOBJ old = SelectObject(screen, font);
    wchar_t resolved[LF_FACESIZE] = {};
    GetTextFaceW(screen, LF_FACESIZE, resolved);
    SelectObject(screen, old);
    DeleteObject(font);
    ReleaseDC(nullptr, screen);
    return resolved;
}

// Without Wine's own fonts the dialogs fall back to another face and the caption buttons
// show letters instead of their glyphs.
TEST(Templates, TheirFontAndTheCaptionGlyphsAreInstalled) {
    for (WORD id : {IDD_RECHNER, IDD_INFO}) {
        Dialog dialog;
        ASSERT_TRUE(ReadDialog(ProgramPath(), id, dialog)) << "template " << id;
        EXPECT_EQ(ResolvedFace(dialog.face, dialog.points, dialog.weight, dialog.charset),
                  dialog.face)
            << "template " << id << ": is the package fonts-wine installed?";
    }
    EXPECT_EQ(ResolvedFace(L"Marlett", 8, FW_NORMAL, SYMBOL_CHARSET), L"Marlett")
        << "is the package fonts-wine installed?";
}

} // namespace
