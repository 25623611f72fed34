// The time field's rules on a fake edit control: typing, erasing, moving, parsing.
#include "FakeEdit.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cstdlib>
#include <limits>
#include <new>

namespace {

// Counts allocations while `counting` is set, to show that typing allocates nothing.
std::atomic<bool> counting{false};
std::atomic<int> allocations{0};

} // namespace

void* operator new(std::size_t size) {
    if (counting) ++allocations;
    if (void* p = std::malloc(size ? size : 1)) return p;
    throw std::bad_alloc();
}
void operator delete(void* p) noexcept {
    std::free(p);
}
void operator delete(void* p, std::size_t) noexcept {
    std::free(p);
}

namespace {

const unsigned vkEscape = 0x1B, vkSpace = 0x20, vkF1 = 0x70, vkA = 'A';

// A fresh field that has gained the focus.
struct Field : FakeEdit {
    Field() { OnFocus(); }
    // Presses key `vk`; true when the field took it.
    bool Press(unsigned vk) { return KeyDown(vk); }
    void Type(const char* keys) {
        for (const char* k = keys; *k; ++k) Press(unsigned(*k));
    }
    std::string Slots() const { return std::string(digits, digits + 6); }
};

TEST(ZeitFeld, FocusShowsTheEmptyMaskWithTheCaretAtZero) {
    Field field;
    EXPECT_EQ(field.Text(), "__:__:__");
    EXPECT_EQ(field.Caret(), 0);
    EXPECT_EQ(field.Slots(), std::string(6, '\0'));
}

TEST(ZeitFeld, TypingFillsTheSlotsAndHopsOverTheColons) {
    Field field;
    const struct {
        char key;
        const char* shown;
        int caret;
    } steps[] = {
        {'1', "1_:__:__", 1}, {'2', "12:__:__", 2}, {'3', "12:3_:__", 4},
        {'4', "12:34:__", 5}, {'5', "12:34:5_", 7}, {'6', "12:34:56", 8},
    };
    for (const auto& step : steps) {
        EXPECT_TRUE(field.Press(unsigned(step.key)));
        EXPECT_EQ(field.Text(), step.shown) << step.key;
        EXPECT_EQ(field.Caret(), step.caret) << step.key;
    }
    EXPECT_EQ(field.GetZeit().Format("%H%M%S"), "123456");
}

TEST(ZeitFeld, KeypadDigitsTypeLikeDigits) {
    Field field;
    for (unsigned vk : {0x61u, 0x62u, 0x63u, 0x60u, 0x60u, 0x69u}) field.Press(vk);
    EXPECT_EQ(field.Text(), "12:30:09");
}

TEST(ZeitFeld, DigitRulesPerCaretPosition) {
    const struct {
        const char* slots; // the six slots before, '0' as '\0' written as '.'
        char ch;
        int caret;
        bool allowed;
    } cases[] = {
        {"......", '1', 0, true},  {"......", '2', 0, true},  {"......", '3', 0, false},
        {"......", '9', 0, false}, {".4....", '2', 0, true},  {".5....", '2', 0, false},
        {".9....", '2', 0, false}, {"._....", '2', 0, false}, {".9....", '1', 0, true},
        {"2.....", '4', 1, true},  {"2.....", '5', 1, false}, {"1.....", '9', 1, true},
        {"......", '9', 1, true},  {"......", '5', 3, true},  {"......", '6', 3, false},
        {"......", '6', 6, false}, {"......", '5', 6, true},  {"......", '9', 4, true},
        {"......", '9', 7, true},  {"......", '9', 8, true},
    };
    for (const auto& c : cases) {
        Field field;
        for (int i = 0; i < 6; ++i) field.digits[i] = c.slots[i] == '.' ? '\0' : c.slots[i];
        EXPECT_EQ(field.IsDigitAllowed(c.ch, c.caret), c.allowed)
            << c.slots << " '" << c.ch << "' at " << c.caret;
    }
}

TEST(ZeitFeld, RefusedDigitsLeaveSlotsAndCaret) {
    Field field;
    field.Press('3'); // never allowed first
    EXPECT_EQ(field.Text(), "__:__:__");
    EXPECT_EQ(field.Caret(), 0);

    field.Type("12"); // caret at 2, before the colon
    field.Press('7'); // hops to 3, refused there
    EXPECT_EQ(field.Text(), "12:__:__");
    EXPECT_EQ(field.Caret(), 3);
    field.Press('7'); // at 3, still refused
    EXPECT_EQ(field.Caret(), 3);

    Field hours;
    hours.Type("25"); // 5 after 2 is refused
    EXPECT_EQ(hours.Text(), "2_:__:__");
    EXPECT_EQ(hours.Caret(), 1);
}

TEST(ZeitFeld, TwentyFourIsShownButIsNoTime) {
    Field field;
    field.Type("240000");
    EXPECT_EQ(field.Text(), "24:00:00");
    EXPECT_EQ(field.GetZeit().status, ZeitWert::invalid);
}

TEST(ZeitFeld, DigitAtTheEndChangesNothing) {
    Field field;
    field.Type("123456");
    field.Press('9');
    EXPECT_EQ(field.Text(), "12:34:56");
    EXPECT_EQ(field.Caret(), 8);
}

TEST(ZeitFeld, EraseRules) {
    const struct {
        unsigned key;
        int caret;
        const char* shown;
        int caretAfter;
    } cases[] = {
        {8, 3, "1_:34:56", 1},    {8, 1, "_2:34:56", 0},    {8, 2, "1_:34:56", 1},
        {8, 6, "12:3_:56", 4},    {8, 8, "12:34:5_", 7},    {8, 0, "12:34:56", 0},
        {0x2E, 2, "12:_4:56", 3}, {0x2E, 7, "12:34:5_", 7}, {0x2E, 0, "_2:34:56", 0},
        {0x2E, 5, "12:34:_6", 6}, {0x2E, 8, "12:34:56", 8},
    };
    for (const auto& c : cases) {
        Field field;
        field.Type("123456");
        field.Select(c.caret, c.caret);
        field.Press(c.key);
        EXPECT_EQ(field.Text(), c.shown) << c.key << " at " << c.caret;
        EXPECT_EQ(field.Caret(), c.caretAfter) << c.key << " at " << c.caret;
    }
}

TEST(ZeitFeld, ErasedAndMissingSlotsMakeTheTimeInvalid) {
    Field missing;
    missing.Type("125");
    missing.Press(0x23); // End
    missing.Select(6, 6);
    missing.Type("00"); // 12:5_:00, minute units never typed
    EXPECT_EQ(missing.Text(), "12:5_:00");
    EXPECT_EQ(missing.GetZeit().status, ZeitWert::invalid);

    Field erased;
    erased.Type("120656");
    erased.Select(5, 5);
    erased.Press(8); // 12:0_:56
    EXPECT_EQ(erased.Text(), "12:0_:56");
    EXPECT_EQ(erased.GetZeit().status, ZeitWert::invalid);
}

TEST(ZeitFeld, ErasedHourUnitsRefuseTwoInFront) {
    Field field;
    field.Type("12");
    field.Press(8); // slot 1 becomes '_'
    field.Select(0, 0);
    field.Press('2');
    EXPECT_EQ(field.Text(), "1_:__:__");
    field.Press('1');
    EXPECT_EQ(field.Text(), "1_:__:__"); // first digit stays, caret moved on
    EXPECT_EQ(field.Caret(), 1);
}

TEST(ZeitFeld, MoveKeys) {
    const struct {
        unsigned key;
        int caret, caretAfter;
    } cases[] = {
        {0x23, 3, 8}, {0x24, 5, 0}, {0x25, 3, 2}, {0x25, 1, 0}, {0x25, 0, 0},
        {0x26, 4, 4}, {0x27, 2, 3}, {0x27, 7, 8}, {0x27, 8, 8}, {0x28, 6, 6},
    };
    for (const auto& c : cases) {
        Field field;
        field.Type("123456");
        field.Select(c.caret, c.caret);
        EXPECT_TRUE(field.Press(c.key));
        EXPECT_EQ(field.Caret(), c.caretAfter) << c.key << " at " << c.caret;
        EXPECT_EQ(field.Text(), "12:34:56");
    }
}

TEST(ZeitFeld, OtherKeysAreSwallowedAndRender) {
    for (unsigned vk : {vkEscape, vkSpace, vkF1, vkA, 0xBAu, 0xFFu}) {
        Field field;
        field.Type("12");
        field.Overwrite("garbage"); // the key re-renders
        field.Select(2, 2);
        EXPECT_TRUE(field.Press(vk)) << vk;
        EXPECT_EQ(field.Text(), "12:__:__") << vk;
        EXPECT_EQ(field.Caret(), 2) << vk;
    }
}

TEST(ZeitFeld, TabAndReturnPassUnchanged) {
    for (unsigned vk : {9u, 13u}) {
        Field field;
        field.Type("1");
        field.Overwrite("x");
        EXPECT_FALSE(field.Press(vk));
        EXPECT_EQ(field.Text(), "x"); // not even rendered
    }
}

TEST(ZeitFeld, WithASelectionKeysPassAndSlotsStay) {
    Field field;
    field.Type("123456");
    field.Select(0, 8); // the mouse selects everything
    EXPECT_FALSE(field.Press('5'));
    field.ReplaceSelection("5"); // the control's own editing
    EXPECT_EQ(field.Text(), "5");
    EXPECT_EQ(field.Slots(), "123456");
    EXPECT_EQ(field.GetZeit().status, ZeitWert::invalid); // "5" is no time
    EXPECT_EQ(field.Caret(), 1);

    EXPECT_TRUE(field.Press('9')); // no selection now: old time, key applied at 1
    EXPECT_EQ(field.Text(), "19:34:56");
    EXPECT_EQ(field.Caret(), 1); // the caret moved while the text was one character long
}

TEST(ZeitFeld, TheControlsOwnEditingIsReadBack) {
    // Over 12:34:56 the control's own editing puts `typed` in place of from..to: typed over,
    // pasted over, cut. A time as a paste takes it becomes the field's, anything else no time.
    const struct {
        int from, to;
        const char *typed, *shown, *time;
    } cases[] = {
        {0, 8, "10:00:00", "10:00:00", "100000"},
        {0, 8, " 07.05.03\xA0", "07:05:03", "070503"},
        {0, 8, "235959\r\n", "23:59:59", "235959"},
        {3, 4, "4", "12:44:56", "124456"},
        {0, 8, "5", "5", nullptr},
        {0, 8, "99:00:00", "99:00:00", nullptr},
        {3, 5, "", "12::56", nullptr},
        {8, 8, "7", "12:34:567", nullptr},
    };
    for (const auto& c : cases) {
        Field field;
        field.Type("123456");
        field.Select(c.from, c.to);
        field.ReplaceSelection(c.typed);
        EXPECT_EQ(field.Text(), c.shown) << c.typed;
        const ZeitWert time = field.GetZeit();
        EXPECT_EQ(time.status == ZeitWert::valid, c.time != nullptr) << c.typed;
        // A time read back shows its digits; without one the slots wait for the next key.
        EXPECT_EQ(c.time ? time.Format("%H%M%S") : field.Slots(), c.time ? c.time : "123456")
            << c.typed;
    }
}

TEST(ZeitFeld, EscapeWithASelectionPasses) {
    Field field;
    field.Select(0, 3);
    EXPECT_FALSE(field.Press(vkEscape));
    Field none;
    EXPECT_TRUE(none.Press(vkEscape));
}

TEST(ZeitFeld, LongerTextFromTheControlsOwnEditing) {
    Field field;
    field.Type("123456");
    field.Select(8, 8);
    field.ReplaceSelection("789"); // e.g. pasted through the context menu
    EXPECT_EQ(field.Caret(), 11);
    EXPECT_TRUE(field.Press('1')); // beyond the slots: nothing stored, text back to eight
    EXPECT_EQ(field.Text(), "12:34:56");
    EXPECT_EQ(field.Caret(), 8);

    field.Select(8, 8);
    field.ReplaceSelection("77");
    field.Press(8); // Backspace at 10 stores nothing either
    EXPECT_EQ(field.Text(), "12:34:56");
}

TEST(ZeitFeld, ASetTimeShowsThoughTheFieldHoldsASelection) {
    Field field;
    field.Type("123456");
    field.Select(3, 5);
    field.ParseText("08.15.45");
    EXPECT_EQ(field.Text(), "08:15:45"); // the selection gave way
    EXPECT_EQ(field.Caret(), 3);
    EXPECT_EQ(field.GetZeit().Format("%H%M%S"), "081545");
}

TEST(ZeitFeld, ParseTextAcceptedForms) {
    const std::string longest = std::string(ZeitFeld::longestText - 8, ' ') + "12:34:56";
    const struct {
        const char *text, *shown, *message;
    } cases[] = {
        {"12:34:56", "12:34:56", ""},
        {"12.34.56", "12:34:56", ""},
        {"12 34 56", "12:34:56", ""},
        {"123456", "12:34:56", ""},
        {"12a34b56", "12:34:56", ""},
        {"12034556", "12:34:56", ""}, // digits where the colons go are not used
        {"12345656", "12:45:56", ""},
        // A spreadsheet cell, a line, a double-clicked word: what surrounds the time is no part.
        {"12:34:56\r\n", "12:34:56", ""},
        {"12:34:56\n", "12:34:56", ""},
        {" 12:34:56", "12:34:56", ""},
        {"123456\r\n", "12:34:56", ""},
        {"12:34:56\t", "12:34:56", ""},
        {"\xA0 12:34:56\xAD\v", "12:34:56", ""}, // no-break space, soft hyphen
        {longest.c_str(), "12:34:56", ""}, // as long as a text may be
        {" \t99:00:00\r\n", "__:__:__", "\"99:00:00\" ist ung\xFCltig"},
    };
    for (const auto& c : cases) {
        Field field;
        field.Type("010203");
        field.ParseText(c.text);
        std::string message;
        field.FetchError(message);
        EXPECT_EQ(field.Text(), c.shown) << c.text;
        EXPECT_EQ(message, c.message) << c.text;
    }
}

TEST(ZeitFeld, ParseTextRefusedFormsKeepTheSlots) {
    // Blanks inside the text count, and so do all of them in a text longer than the field reads.
    const std::string padded = "12:34:56" + std::string(ZeitFeld::longestText - 7, ' ');
    for (const std::string text :
         {"12:34", "12:34:56\r\n1", "1a:34:56", "", " \r\n", "12345", "1234567", "12:34:5x",
          "12345a", "123456789", "1 2:34:56", padded.c_str()}) {
        Field field;
        field.Type("010203");
        field.ParseText(text);
        std::string message;
        EXPECT_TRUE(field.FetchError(message)) << text;
        EXPECT_EQ(message, "Falsche L\xE4nge") << text;
        EXPECT_EQ(field.Slots(), "010203") << text;
        EXPECT_EQ(field.Text(), "01:02:03") << text;
    }
}

TEST(ZeitFeld, ParseTextOutOfRangeEmptiesTheSlots) {
    for (const char* text : {"25:00:00", "12:60:00", "00:00:60", "240000", "99:00:00"}) {
        Field field;
        field.Type("010203");
        field.ParseText(text);
        EXPECT_EQ(field.Text(), "__:__:__") << text;
        EXPECT_EQ(field.Slots(), std::string(6, '\0')) << text;
        std::string message;
        EXPECT_TRUE(field.FetchError(message));
        EXPECT_EQ(message, std::string("\"") + text + "\" ist ung\xFCltig");
    }
}

TEST(ZeitFeld, SetZeitAndGetZeit) {
    Field field;
    ZeitWert value;
    value.SetParts(1899, 12, 30, 4, 14, 15);
    field.SetZeit(value, "");
    EXPECT_EQ(field.Text(), "04:14:15");
    EXPECT_EQ(field.GetZeit().days, value.days);
    std::string message;
    EXPECT_FALSE(field.FetchError(message));

    // An invalid value, and day counts that are no number under a valid status.
    const double inf = std::numeric_limits<double>::infinity();
    const ZeitWert invalid[] = {{0.25, ZeitWert::invalid},
                                {std::numeric_limits<double>::quiet_NaN(), ZeitWert::valid},
                                {inf, ZeitWert::valid},
                                {-inf, ZeitWert::valid}};
    for (const ZeitWert& bad : invalid) {
        field.SetZeit(value, "");
        field.SetZeit(bad, "abc");
        EXPECT_EQ(field.Text(), "__:__:__") << bad.days;
        EXPECT_EQ(field.Slots(), std::string(6, '\0')) << bad.days;
        EXPECT_EQ(field.GetZeit().status, ZeitWert::invalid) << bad.days;
        EXPECT_TRUE(field.FetchError(message)) << bad.days;
        EXPECT_EQ(message, "\"abc\" ist ung\xFCltig") << bad.days;
    }
}

TEST(ZeitFeld, FetchErrorHandsOverOnce) {
    Field field;
    std::string message = "untouched";
    EXPECT_FALSE(field.FetchError(message));
    EXPECT_EQ(message, "untouched");
    field.ParseText("1234");
    EXPECT_TRUE(field.FetchError(message));
    EXPECT_FALSE(field.FetchError(message));
    EXPECT_EQ(field.errorText, "Falsche L\xE4nge"); // kept, only the flag is cleared
    field.ParseText("77:00:00");
    EXPECT_TRUE(field.FetchError(message));
    EXPECT_EQ(message, "\"77:00:00\" ist ung\xFCltig");
}

TEST(ZeitFeld, SlotOfCaret) {
    const int slots[] = {0, 1, 1, 2, 3, 3, 4, 5, 6, 7};
    for (int p = 0; p < 10; ++p) EXPECT_EQ(ZeitFeld::SlotOfCaret(p), slots[p]) << p;
}

TEST(ZeitFeld, TypingAllocatesNothing) {
    Field field;
    allocations = 0;
    counting = true;
    for (unsigned vk : {0x31u, 0x32u, 0x25u, 8u, 0x2Eu, 0x24u, 0x23u, 0x58u, 0x63u, vkEscape})
        field.Press(vk);
    counting = false;
    EXPECT_EQ(allocations, 0);
}

} // namespace
