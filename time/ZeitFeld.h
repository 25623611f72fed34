// The digits, caret and parse rules of the masked HH:MM:SS field; portable.
#pragma once

#include "ZeitWert.h"

#include <string>

// A time entry field's own logic: six digit slots shown as HH:MM:SS.
// The edit control underneath is reached through four small virtual functions, which the
// Win32 field implements with edit-control messages and the tests with a fake control.
class ZeitFeld {
public:
    // Virtual-key codes the field reacts to.
    enum Key : char {
        keyBackspace = 8,
        keyTab = 9,
        keyReturn = 13,
        keyEnd = 0x23,
        keyHome = 0x24,
        keyLeft = 0x25,
        keyUp = 0x26,
        keyRight = 0x27,
        keyDown = 0x28,
        keyDelete = 0x2E,
    };

    // Display text HH:MM:SS plus NUL.
    char text[9] = {};
    // Slots: '0'..'9', 0 (never filled or emptied by an invalid value) or '_' (erased).
    char digits[6] = {};
    // A message waits in errorText until the owner fetches it.
    bool errorPending = false;
    std::string errorText;
    // The control shows a text of its own editing that is no time: the field holds none
    // until it shows its slots again.
    bool showsOther = false;

    // A key-down with virtual-key code `key`; true when the field took it and the key
    // must be blanked, false when it passes on unchanged (Tab, Return, or a selection).
    bool KeyDown(unsigned key);
    // The control gained the focus: caret to the start, then show the mask.
    void OnFocus();
    // Rebuilds the text from the slots and shows it; a selection gives way to it.
    void Render();
    // The control's own editing (typing over a selection, cut, paste, undo) left `shown` on
    // screen: a time as ParseText takes it becomes the field's time, any other text leaves
    // the field without a time while it shows. The slots keep their digits for the next key.
    void TextChanged(const std::string& shown);
    // The longest text ParseText looks at: a longer one has the wrong length, whatever blanks
    // surround a time in it. A reader of a large text needs no more than one character past it.
    static constexpr size_t longestText = 64;

    // Takes a time from text: HH?MM?SS (any separators) or HHMMSS, between any blanks (see
    // IsBlank).
    void ParseText(const std::string& pasted);
    // The characters around a pasted time that are no part of it: blanks, tabs, line breaks,
    // the other Unicode spaces and the invisible format characters that text copied from web
    // pages and documents carries (zero-width characters, direction marks, byte-order mark).
    // In code page 1252 text, each byte is taken as the code point of the same number.
    static bool IsBlank(char32_t ch);
    // Takes a time value; an invalid one, or one whose day count is no number, empties the
    // slots and leaves a message.
    void SetZeit(const ZeitWert& value, const std::string& sourceText);
    // The slots as a time value; invalid unless all six are digits and in range, and while
    // the control shows another text.
    ZeitWert GetZeit() const;
    // Hands over the pending message and clears the flag; false when none waits.
    bool FetchError(std::string& message);

    // Caret position before character p -> digit slot (6 and above: none).
    static int SlotOfCaret(int p);
    // True when `ch` may be typed at caret position p.
    bool IsDigitAllowed(char ch, int p) const;
    // Stores `ch` in a slot 0..5; other slots are ignored.
    void SetDigit(char ch, int slot);
    void OnDigitKey(char ch, int p);
    void OnEraseKey(char key, int p);
    void OnMoveKey(char key, int p);

protected:
    ~ZeitFeld() = default;

    // The edit control: selection, caret scrolling and window text.
    virtual void GetSel(int& start, int& end) = 0;
    virtual void SetSel(int start, int end) = 0;
    virtual void ScrollCaret() = 0;
    virtual void ShowText(const char* newText) = 0;

private:
    // The form ParseText takes: `source` is `pasted` without the blanks around it, `six` its
    // digits; false for text of any other form or length.
    static bool ReadForm(const std::string& pasted, std::string& source, char (&six)[6]);
    // Six digit slots as a time value.
    static ZeitWert TimeOf(const char* six);
    // Puts the caret at p (the control clamps it to the end) and scrolls it into view.
    void MoveCaret(int p);
};
