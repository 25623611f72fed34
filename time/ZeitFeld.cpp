// The digits, caret and parse rules of the masked HH:MM:SS field.
#include "ZeitFeld.h"

#include "../framework/Format.h"

#include <algorithm>
#include <cmath>

namespace {

// True for '0'..'9'.
bool IsDigit(char ch) {
    return ch >= '0' && ch <= '9';
}

// The caret stands before a colon at 2 and 5.
bool BeforeColon(int p) {
    return p == 2 || p == 5;
}

} // namespace

bool ZeitFeld::KeyDown(unsigned key) {
    int start = 0, end = 0;
    GetSel(start, end);
    if (start != end) return false; // the control's own editing handles the selection

    char k = char(key & 0xFF); // codes from 0x80 on fall into no class below
    if (k == keyTab || k == keyReturn) return false;
    if (k >= 0x60 && k <= 0x69) k = char(k - 0x30); // numeric keypad 0..9

    if (IsDigit(k))
        OnDigitKey(k, start);
    else if (k == keyBackspace || k == keyDelete)
        OnEraseKey(k, start);
    else if (k >= keyEnd && k <= keyDown)
        OnMoveKey(k, start);
    Render();
    return true;
}

void ZeitFeld::OnFocus() {
    MoveCaret(0);
    Render();
}

void ZeitFeld::Render() {
    int start = 0, end = 0;
    GetSel(start, end);
    for (int i = 0; i < 6; ++i) {
        const int pos = i < 2 ? i : i < 4 ? i + 1 : i + 2;
        text[pos] = digits[i] ? digits[i] : '_';
    }
    text[2] = text[5] = ':';
    text[8] = '\0';
    showsOther = false;
    ShowText(text);
    MoveCaret(start);
}

void ZeitFeld::TextChanged(const std::string& shown) {
    showsOther = shown != text;
    std::string source;
    char six[6];
    if (!showsOther || !ReadForm(shown, source, six) || TimeOf(six).status != ZeitWert::valid)
        return;
    std::copy(six, six + 6, digits);
    Render();
}

bool ZeitFeld::IsBlank(char32_t ch) {
    // Not U+0085 (next line): byte 0x85 is the ellipsis in code page 1252.
    static const char32_t ranges[][2] = {
        {0x09, 0x0D},     {0x20, 0x20},     {0xA0, 0xA0},     {0xAD, 0xAD},
        {0x1680, 0x1680}, {0x180E, 0x180E}, {0x2000, 0x200F}, {0x2028, 0x202F},
        {0x205F, 0x2060}, {0x2066, 0x2069}, {0x3000, 0x3000}, {0xFEFF, 0xFEFF},
    };
    for (const auto& range : ranges)
        if (ch >= range[0] && ch <= range[1]) return true;
    return false;
}

bool ZeitFeld::ReadForm(const std::string& pasted, std::string& source, char (&six)[6]) {
    // A spreadsheet cell comes with "\r\n", a double-clicked word with a blank, a web page's
    // time with no-break spaces: what surrounds the time does not count, in the message either.
    const auto notBlank = [](char ch) { return !IsBlank(static_cast<unsigned char>(ch)); };
    const auto first = std::find_if(pasted.begin(), pasted.end(), notBlank);
    const auto last = std::find_if(pasted.rbegin(), pasted.rend(), notBlank).base();
    source = pasted.size() <= longestText && first < last ? std::string(first, last) : "";
    if (source.size() == 8) {
        for (int i = 0; i < 8; ++i)
            if (!IsDigit(source[i]) && !BeforeColon(i)) return false;
        const int from[6] = {0, 1, 3, 4, 6, 7};
        for (int i = 0; i < 6; ++i) six[i] = source[from[i]];
        return true;
    }
    if (source.size() == 6) {
        for (int i = 0; i < 6; ++i)
            if (!IsDigit(source[i])) return false;
        std::copy(source.begin(), source.end(), six);
        return true;
    }
    return false;
}

void ZeitFeld::ParseText(const std::string& pasted) {
    std::string source;
    char six[6];
    if (!ReadForm(pasted, source, six)) {
        errorText = "Falsche L\xE4nge"; // CP1252 "Falsche Länge"
        errorPending = true;
        return;
    }
    std::copy(six, six + 6, digits);
    Render();
    SetZeit(GetZeit(), source);
}

void ZeitFeld::SetZeit(const ZeitWert& value, const std::string& sourceText) {
    // A day count that is no number has no time of day, whatever the status says.
    const bool valid = value.status == ZeitWert::valid && std::isfinite(value.days);
    const std::string shown = value.Format("%H%M%S");
    for (int i = 0; i < 6; ++i) digits[i] = valid ? shown[i] : 0;
    Render();
    if (!valid) {
        errorText = Format("\"%s\" ist ung\xFCltig", sourceText.c_str()); // CP1252 "ungültig"
        errorPending = true;
    }
}

ZeitWert ZeitFeld::GetZeit() const {
    if (!showsOther) return TimeOf(digits);
    ZeitWert none;
    none.status = ZeitWert::invalid; // the field shows no time, so it has none
    return none;
}

ZeitWert ZeitFeld::TimeOf(const char* six) {
    ZeitWert value;
    for (int i = 0; i < 6; ++i) {
        if (!IsDigit(six[i])) {
            value.status = ZeitWert::invalid; // an incomplete time is never a time
            return value;
        }
    }
    const int hour = (six[0] - '0') * 10 + (six[1] - '0');
    const int minute = (six[2] - '0') * 10 + (six[3] - '0');
    const int second = (six[4] - '0') * 10 + (six[5] - '0');
    value.SetParts(1899, 12, 30, hour, minute, second);
    return value;
}

bool ZeitFeld::FetchError(std::string& message) {
    if (!errorPending) return false;
    message = errorText;
    errorPending = false;
    return true;
}

int ZeitFeld::SlotOfCaret(int p) {
    return p < 2 ? p : p < 5 ? p - 1 : p - 2;
}

bool ZeitFeld::IsDigitAllowed(char ch, int p) const {
    switch (p) {
    case 0:
        return ch < '2' || (ch == '2' && digits[1] <= '4');
    case 1:
        return digits[0] != '2' || ch <= '4';
    case 3:
    case 6:
        return ch < '6';
    default:
        return true;
    }
}

void ZeitFeld::SetDigit(char ch, int slot) {
    if (slot >= 0 && slot <= 5) digits[slot] = ch;
}

void ZeitFeld::OnDigitKey(char ch, int p) {
    if (BeforeColon(p)) MoveCaret(++p);
    if (!IsDigitAllowed(ch, p)) return;
    SetDigit(ch, SlotOfCaret(p));
    MoveCaret(p + 1);
}

void ZeitFeld::OnEraseKey(char key, int p) {
    if (key == keyBackspace && p > 0) {
        if (p == 3 || p == 6) --p; // step back over the colon
        const int a = p - 1;
        SetDigit('_', SlotOfCaret(a));
        MoveCaret(a);
    } else if (key == keyDelete && p < 8) {
        if (BeforeColon(p)) ++p;
        SetDigit('_', SlotOfCaret(p));
        MoveCaret(p);
    }
}

void ZeitFeld::OnMoveKey(char key, int p) {
    switch (key) {
    case keyEnd:
        p = 8;
        break;
    case keyHome:
        p = 0;
        break;
    case keyLeft:
        p = p > 0 ? p - 1 : p;
        break;
    case keyRight:
        p = p < 8 ? p + 1 : p;
        break;
    default:
        break; // Up and Down leave the caret where it is
    }
    MoveCaret(p);
}

void ZeitFeld::MoveCaret(int p) {
    SetSel(p, p);
    ScrollCaret();
}
