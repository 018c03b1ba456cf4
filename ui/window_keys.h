#pragma once
// The keyboard and focus rules of the window, shared by every shell: which control Tab reaches next, and
// what a key pressed on a control does. A shell maps its own controls and keys onto these and applies the
// answer; it decides nothing itself.
#include <cstdint>

namespace ovra {

// The five buttons in their order on the button bar.
enum class WindowButton : int32_t { Calculate, Save, Copy, Reset, About };
constexpr int32_t WindowButtonCount = 5;

// A stop of the focus order: every input field in order, the report box, the five buttons. `Window` stands
// for the bare main window or any control that is not a stop; it is never a place the focus is left on.
enum class StopKind : int32_t { Field, ReportBox, Button, Window };
struct FocusStop {
    StopKind kind;
    int32_t index;  // the field's input index or the WindowButton; 0 otherwise
};

// The stop after (or, `backward`, before) `from`, wrapping around; from `Window` the first field (the last
// button backward). `fieldCount` is the tool's number of inputs.
FocusStop NextFocusStop(FocusStop from, int32_t fieldCount, bool backward);

// Where Tab or Shift+Tab takes the focus from `from`, and whether the stop's text is then selected whole: a
// field reached by Tab is, so that typing replaces it.
struct FocusMove {
    FocusStop to;
    bool selectAll;
};
FocusMove TabFrom(FocusStop from, int32_t fieldCount, bool backward);

// Keys the rule knows; every other key is `Other`, with `character` set when it would type one.
enum class KeyName : int32_t { Enter, KeypadEnter, F1, F5, Space, Tab, Character, Other };
struct KeyPress {
    KeyName key;
    char16_t character;  // for `Character`: the key's unshifted character, lower case ("s", "c", "1")
    bool ctrl, alt, shift;
    bool repeat = false;  // sent again because the key is held down
};

enum class KeyAction : int32_t {
    PassOn,         // the control handles the key as usual (typing, editing shortcuts, arrows)
    Swallow,        // nothing happens: a modifier with a printable key must not type into a field
    Calculate,
    Save,
    Copy,
    Reset,
    About,
    FocusNext,
    FocusPrevious,
    SelectAll,  // the focused field's text, whole
};

// What `press` does while `focused` has the focus.
KeyAction KeyActionFor(const KeyPress& press, FocusStop focused);

// The five commands, and what clicking each button runs (as Enter or Space on it does).
bool IsCommand(KeyAction action);
KeyAction ButtonCommand(WindowButton button);

}  // namespace ovra
