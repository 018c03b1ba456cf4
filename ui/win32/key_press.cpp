#include "ui/win32/key_press.h"

namespace ovra {
namespace {

constexpr LPARAM ExtendedKeyFlag = LPARAM{1} << 24;
constexpr LPARAM PreviousStateFlag = LPARAM{1} << 30;  // the key was already down: the message is a repeat

// The key's unshifted character in the current layout, 0 for a key that types none (or a dead key).
char16_t CharacterOfKey(WPARAM virtualKey) {
    if (virtualKey >= 'A' && virtualKey <= 'Z') return static_cast<char16_t>(virtualKey - 'A' + u'a');
    if (virtualKey >= '0' && virtualKey <= '9') return static_cast<char16_t>(virtualKey);
    if (virtualKey >= VK_NUMPAD0 && virtualKey <= VK_NUMPAD9)
        return static_cast<char16_t>(virtualKey - VK_NUMPAD0 + u'0');
    const UINT mapped = MapVirtualKeyW(static_cast<UINT>(virtualKey), MAPVK_VK_TO_CHAR);
    if ((mapped & 0x80000000u) != 0 || mapped < 0x20) return 0;
    const char16_t character = static_cast<char16_t>(mapped & 0xFFFF);
    return character >= u'A' && character <= u'Z' ? static_cast<char16_t>(character - u'A' + u'a') : character;
}

}  // namespace

KeyPress KeyPressFromMessage(WPARAM virtualKey, LPARAM flags, bool ctrl, bool alt, bool shift) {
    KeyPress press = {KeyName::Other, 0, ctrl, alt, shift, (flags & PreviousStateFlag) != 0};
    switch (virtualKey) {
        case VK_RETURN:
            // The keypad's Enter is the extended one.
            press.key = (flags & ExtendedKeyFlag) != 0 ? KeyName::KeypadEnter : KeyName::Enter;
            return press;
        case VK_F1:
            press.key = KeyName::F1;
            return press;
        case VK_F5:
            press.key = KeyName::F5;
            return press;
        case VK_SPACE:
            press.key = KeyName::Space;
            return press;
        case VK_TAB:
            press.key = KeyName::Tab;
            return press;
        default:
            break;
    }
    // Modifier keys themselves, arrows, Home, F4 and the like type nothing.
    if (virtualKey < '0' && virtualKey != VK_SPACE) return press;
    press.character = CharacterOfKey(virtualKey);
    if (press.character != 0) press.key = KeyName::Character;
    return press;
}

}  // namespace ovra
