#include "ui/window_keys.h"

namespace ovra {

FocusStop NextFocusStop(FocusStop from, int32_t fieldCount, bool backward) {
    // The stops as one ring: fields 0..n-1, the report box at n, the buttons after it.
    const int32_t count = fieldCount + 1 + WindowButtonCount;
    int32_t position = -1;
    if (from.kind == StopKind::Field && from.index >= 0 && from.index < fieldCount) position = from.index;
    if (from.kind == StopKind::ReportBox) position = fieldCount;
    if (from.kind == StopKind::Button && from.index >= 0 && from.index < WindowButtonCount)
        position = fieldCount + 1 + from.index;
    // Anything that is not a stop enters the ring at its start, or at its end going backward.
    if (position < 0)
        position = backward ? count - 1 : 0;
    else
        position = (position + (backward ? count - 1 : 1)) % count;
    if (position < fieldCount) return {StopKind::Field, position};
    if (position == fieldCount) return {StopKind::ReportBox, 0};
    return {StopKind::Button, position - fieldCount - 1};
}

bool IsCommand(KeyAction action) {
    return action == KeyAction::Calculate || action == KeyAction::Save || action == KeyAction::Copy ||
           action == KeyAction::Reset || action == KeyAction::About;
}

KeyAction ButtonCommand(WindowButton button) {
    static const KeyAction commands[WindowButtonCount] = {KeyAction::Calculate, KeyAction::Save, KeyAction::Copy,
                                                          KeyAction::Reset, KeyAction::About};
    const auto index = static_cast<int32_t>(button);
    return index >= 0 && index < WindowButtonCount ? commands[index] : KeyAction::PassOn;
}

FocusMove TabFrom(FocusStop from, int32_t fieldCount, bool backward) {
    const FocusStop to = NextFocusStop(from, fieldCount, backward);
    return {to, to.kind == StopKind::Field};
}

namespace {

// Ctrl with one of these keeps its editing meaning in a text control: copy, paste, select all, undo, cut,
// redo (Ctrl+Y, and Ctrl+Shift+Z as Qt spells it).
bool IsEditingShortcut(const KeyPress& press) {
    switch (press.character) {
        case u'c':
        case u'v':
        case u'a':
        case u'z':
        case u'x':
        case u'y':
            return press.ctrl && !press.alt && (!press.shift || press.character == u'z');
        default:
            return false;
    }
}

KeyAction ActionOfKey(const KeyPress& press, FocusStop focused) {
    const bool onButton = focused.kind == StopKind::Button;
    const bool inText = focused.kind == StopKind::Field || focused.kind == StopKind::ReportBox;
    const bool plain = !press.ctrl && !press.alt;
    switch (press.key) {
        // Alt with Enter or F5 is the system's; Ctrl and Shift change nothing.
        case KeyName::Enter:
        case KeyName::KeypadEnter:
            if (press.alt) return KeyAction::PassOn;
            return onButton ? ButtonCommand(static_cast<WindowButton>(focused.index)) : KeyAction::Calculate;
        case KeyName::F5:
            // The Calculate button names F5 in its caption: it holds wherever the focus is.
            return press.alt ? KeyAction::PassOn : KeyAction::Calculate;
        case KeyName::F1:
            return plain && !press.shift ? KeyAction::About : KeyAction::PassOn;
        case KeyName::Space:
            // Ctrl+Space and Shift+Space switch the input method, Alt+Space opens the system menu: only a
            // plain Space presses a button.
            return onButton && plain && !press.shift ? ButtonCommand(static_cast<WindowButton>(focused.index)) : KeyAction::PassOn;
        case KeyName::Tab:
            if (!plain) return KeyAction::PassOn;
            return press.shift ? KeyAction::FocusPrevious : KeyAction::FocusNext;
        case KeyName::Character:
            if (plain) return KeyAction::PassOn;
            if (press.ctrl && !press.alt && press.character == u's' && !press.shift) return KeyAction::Save;
            if (press.ctrl && !press.alt && press.character == u'c' && press.shift) return KeyAction::Copy;
            // Select-all is an editing key not every platform's field knows.
            if (focused.kind == StopKind::Field && press.ctrl && !press.alt && !press.shift && press.character == u'a')
                return KeyAction::SelectAll;
            if (inText && IsEditingShortcut(press)) return KeyAction::PassOn;
            // Alt or Ctrl with any other printable key (Alt+1, AltGr, Ctrl+Alt+…) never types into a field. A
            // shell must also drop the characters the platform composes while Alt is held.
            return KeyAction::Swallow;
        case KeyName::Other:
            break;
    }
    // Arrows, Home, Delete, Escape, Alt+F4 and the like: the control and the system handle them as usual.
    return KeyAction::PassOn;
}

}  // namespace

KeyAction KeyActionFor(const KeyPress& press, FocusStop focused) {
    const KeyAction action = ActionOfKey(press, focused);
    // A held key runs its command once: its repeats would save again each time a notice closed.
    return press.repeat && IsCommand(action) ? KeyAction::Swallow : action;
}

}  // namespace ovra
