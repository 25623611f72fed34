// libFuzzer target: the time field on a fake edit control, fed arbitrary sequences of keys,
// selections, the control's own editing, pastes and values, checked after every step.
//
// An input is a list of operations, each a letter and its bytes:
//   k<key>          key-down with virtual-key code <key>
//   s<from><to>     the mouse selects from..to (each byte modulo 16: '0'..'9' are 0..9)
//   e<n><text>      the control's own editing: n bytes (modulo 16, up to a NUL) replace the
//                   selection, or go in at the caret; the text stays under 64 characters
//   p<n><text>      pasted text of n bytes (n modulo 16)
//   z<st><8><n><t>  a value: status (odd: invalid), day count as 8 raw bytes, source text
//   f r m           focus gained, Render, FetchError
// Other bytes are skipped.
#include "FakeEdit.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

namespace {

// Reads an input front to back; past its end every byte is 0.
struct Input {
    const uint8_t* data;
    size_t size;

    // The next byte.
    uint8_t Byte() {
        if (size == 0) return 0;
        --size;
        return *data++;
    }
    // A length byte (modulo 16) and that many bytes.
    std::string Text() {
        std::string text(Byte() % 16, '\0');
        for (char& ch : text) ch = char(Byte());
        return text;
    }
    // Eight bytes, little-endian, as the bits of a double: NaN and infinities included.
    double Double() {
        uint64_t bits = 0;
        for (int i = 0; i < 8; ++i) bits |= uint64_t(Byte()) << (8 * i);
        double value;
        std::memcpy(&value, &bits, sizeof value);
        return value;
    }
};

// Stops the run with the broken rule; libFuzzer keeps the input that did it.
void Check(bool ok, const char* rule) {
    if (ok) return;
    std::fprintf(stderr, "ZeitFeld rule broken: %s\n", rule);
    std::abort();
}

// True for '0'..'9'.
bool IsDigit(char ch) {
    return ch >= '0' && ch <= '9';
}

// True when six slots make a time: all digits, hour < 24, minute and second < 60.
bool IsTime(const std::string& six) {
    for (char ch : six)
        if (!IsDigit(ch)) return false;
    return six.compare(0, 2, "24") < 0 && six[2] < '6' && six[4] < '6';
}

// The mask HH:MM:SS of six slots: a digit where a slot holds one, '_' elsewhere.
std::string Mask(const std::string& six) {
    std::string mask = "__:__:__";
    for (int i = 0; i < 6; ++i)
        if (IsDigit(six[size_t(i)])) mask[size_t(i + i / 2)] = six[size_t(i)];
    return mask;
}

// The invalid-time message for a source text, as "%s" formats it.
std::string Invalid(const std::string& source) {
    return "\"" + std::string(source.c_str()) + "\" ist ung\xFCltig";
}

// The field on its fake control, with what its owner expects of it.
struct Probe : FakeEdit {
    int writes = 0;       // window texts the field has set
    bool pending = false; // a message must be waiting, namely `expected`
    std::string expected;

    // The six slots as they are, 0 included.
    std::string Slots() const { return std::string(digits, digits + 6); }
    // True while the control holds a selection.
    bool Selected() const { return selStart != selEnd; }
    // The operation just done must have left `message` waiting.
    void Expect(const std::string& message) {
        pending = true;
        expected = message;
    }

    // The field's caret and selection requests, checked before the control clamps them.
    void SetSel(int start, int end) override {
        Check(start >= 0 && end >= 0, "the field asks for no position before 0");
        FakeEdit::SetSel(start, end);
    }
    // Every window text the field sets is counted.
    void ShowText(const char* newText) override {
        FakeEdit::ShowText(newText);
        ++writes;
    }
};

// Whether text has a form a paste takes, between blanks, tabs, line breaks, no-break spaces and
// soft hyphens; `source` is the text without them, `six` its digits.
bool Accepts(const std::string& pasted, std::string& source, std::string& six) {
    const char* const blanks = " \t\n\v\f\r\xA0\xAD";
    const size_t from = pasted.find_first_not_of(blanks);
    source = from == std::string::npos
                 ? ""
                 : pasted.substr(from, pasted.find_last_not_of(blanks) + 1 - from);
    const size_t n = source.size();
    six.clear();
    for (size_t i = 0; i < n; ++i)
        if (n == 6 || (n == 8 && i != 2 && i != 5)) six += source[i];
    bool accepted = n == 6 || n == 8;
    for (char ch : six) accepted = accepted && IsDigit(ch);
    return accepted;
}

// Pasted text (at most 15 bytes): accepted forms take the time or empty the slots, others
// leave them. Returns whether the text had an accepted form.
bool Paste(Probe& field, const std::string& pasted) {
    const std::string before = field.Slots();
    field.ParseText(pasted);
    std::string source, six;
    const bool accepted = Accepts(pasted, source, six);
    if (!accepted) {
        Check(field.Slots() == before, "text of another form leaves the slots");
        field.Expect("Falsche L\xE4nge");
    } else if (IsTime(six)) {
        Check(field.Slots() == six, "a pasted time fills the slots");
    } else {
        Check(field.Slots() == std::string(6, '\0'), "a pasted non-time empties the slots");
        field.Expect(Invalid(source));
    }
    return accepted;
}

// A value: a valid day count shows its time of day, anything else empties the slots.
void Assign(Probe& field, const ZeitWert& value, const std::string& source) {
    field.SetZeit(value, source);
    if (value.status == ZeitWert::valid && std::isfinite(value.days)) {
        Check(field.GetZeit().Format("%H%M%S") == value.Format("%H%M%S"),
              "a valid value reads back as its time of day");
    } else {
        Check(field.Slots() == std::string(6, '\0'), "an invalid value empties the slots");
        field.Expect(Invalid(source));
    }
}

// One operation from the input, then the rules that hold after every operation.
void Step(Probe& field, Input& in) {
    const std::string slotsBefore = field.Slots(), textBefore = field.Text();
    const bool selected = field.Selected();
    const int writesBefore = field.writes, caretKept = std::min(field.Caret(), 8);
    bool renders = false; // the operation ends with Render and that finds no selection
    int caret = -1;       // where the caret must end up, when the operation says so

    switch (in.Byte()) {
    case 'k': {
        const unsigned key = in.Byte();
        const bool taken = field.KeyDown(key);
        Check(taken == (!selected && key != 9 && key != 13),
              "keys are taken unless Tab, Return or a selection");
        int changed = 0;
        for (int i = 0; i < 6; ++i) changed += field.digits[i] != slotsBefore[size_t(i)];
        Check(changed <= (taken ? 1 : 0), "a key changes one slot at most, a passed one none");
        if (!taken) Check(field.Text() == textBefore, "a passed key leaves the text");
        const bool acts = (key >= '0' && key <= '9') || (key >= 0x60 && key <= 0x69) || key == 8 ||
                          key == 0x2E || (key >= 0x23 && key <= 0x28);
        if (taken && !acts) {
            Check(changed == 0, "other keys change no slot");
            caret = caretKept;
        }
        renders = taken;
        break;
    }
    case 's': {
        const int from = in.Byte() % 16;
        field.Select(from, in.Byte() % 16);
        break;
    }
    case 'e': {
        std::string typed = in.Text();
        const size_t kept = field.Text().size() - size_t(field.selEnd - field.selStart);
        typed.resize(std::min(typed.size(), sizeof field.shown - 1 - kept));
        typed.resize(std::strlen(typed.c_str()));
        std::string edited = textBefore, source, six;
        edited.replace(size_t(field.selStart), size_t(field.selEnd - field.selStart), typed);
        caret = std::min(field.selStart + int(typed.size()), 8);
        field.ReplaceSelection(typed.c_str());
        // The field reads back what the control's editing left: a time becomes its own.
        renders = edited != Mask(slotsBefore) && Accepts(edited, source, six) && IsTime(six);
        Check(field.Slots() == (renders ? six : slotsBefore),
              "an edited text that is a time fills the slots, any other leaves them");
        break;
    }
    case 'p':
        renders = Paste(field, in.Text());
        caret = caretKept;
        break;
    case 'z': {
        ZeitWert value;
        value.status = in.Byte() % 2 ? ZeitWert::invalid : ZeitWert::valid;
        value.days = in.Double();
        Assign(field, value, in.Text());
        renders = true;
        caret = caretKept;
        break;
    }
    case 'f':
        field.OnFocus(); // the caret goes to 0 first, so it always renders
        renders = true;
        caret = 0;
        break;
    case 'r':
        field.Render();
        renders = true;
        caret = caretKept;
        break;
    case 'm': {
        std::string message;
        Check(field.FetchError(message) == field.pending,
              "a message waits exactly when one is due");
        if (field.pending) Check(message == field.expected, "the message is the one due");
        field.pending = false;
        break;
    }
    default:
        return;
    }

    for (char ch : field.Slots())
        Check(IsDigit(ch) || ch == '\0' || ch == '_', "slots hold digits, 0 or '_'");

    // The field's text is on screen after any operation that renders, a selection or not.
    const bool wrote = field.writes != writesBefore;
    Check(wrote == renders, "the text is set exactly when the field renders");
    if (wrote) {
        Check(field.Text() == Mask(field.Slots()), "the text is the mask of the slots");
        Check(!field.Selected() && field.Caret() >= 0 && field.Caret() <= 8,
              "the caret stands within 0..8");
        Check(caret < 0 || field.Caret() == caret, "rendering keeps the caret, focus puts it at 0");
    }

    // What the field computes with is what it shows: a text that is not its rendering of the
    // slots reads back no time.
    const ZeitWert value = field.GetZeit();
    Check((value.status == ZeitWert::valid) ==
              (field.Text() == Mask(field.Slots()) && IsTime(field.Slots())),
          "the time is valid exactly when the field shows slots that make one");
    if (value.status == ZeitWert::valid)
        Check(value.days >= 0 && value.days < 1 && value.Format("%H%M%S") == field.Slots(),
              "a valid time is the slots' time of day");

    Check(field.errorPending == field.pending, "a message waits exactly when one is due");
    if (field.pending) Check(field.errorText == field.expected, "the message is the one due");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    Probe field;
    Input in{data, size};
    while (in.size > 0) Step(field, in);
    return 0;
}
