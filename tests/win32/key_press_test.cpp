#include <gtest/gtest.h>

#include "ui/win32/key_press.h"

namespace ovra {
namespace {

constexpr LPARAM Extended = LPARAM{1} << 24;
constexpr LPARAM Repeated = LPARAM{1} << 30;

// Win32 key-downs as the key rule sees them, and what the rule then does in a field or on a button: a key the
// mapping names wrongly (an upper-case letter, the keypad's Enter as another key) would miss its command.
struct Mapped {
    WPARAM virtualKey;
    LPARAM flags;
    bool ctrl, alt, shift;
    KeyName key;
    char16_t character;
    FocusStop focused;
    KeyAction action;
};

TEST(KeyPressFromMessage, NamesWin32KeysAsTheKeyRuleDoes) {
    const FocusStop field = {StopKind::Field, 2};
    const FocusStop about = {StopKind::Button, static_cast<int32_t>(WindowButton::About)};
    const Mapped cases[] = {
        {VK_RETURN, 0, false, false, false, KeyName::Enter, 0, field, KeyAction::Calculate},
        {VK_RETURN, Extended, false, false, false, KeyName::KeypadEnter, 0, field, KeyAction::Calculate},
        {VK_RETURN, 0, false, false, false, KeyName::Enter, 0, about, KeyAction::About},
        {VK_SPACE, 0, false, false, false, KeyName::Space, 0, about, KeyAction::About},
        {VK_F5, 0, false, false, false, KeyName::F5, 0, field, KeyAction::Calculate},
        {VK_F5, Repeated, false, false, false, KeyName::F5, 0, field, KeyAction::Swallow},  // held down
        {VK_F1, 0, false, false, false, KeyName::F1, 0, field, KeyAction::About},
        {VK_TAB, 0, false, false, true, KeyName::Tab, 0, field, KeyAction::FocusPrevious},
        {'S', 0, true, false, false, KeyName::Character, u's', field, KeyAction::Save},
        {'C', 0, true, false, true, KeyName::Character, u'c', about, KeyAction::Copy},
        {'C', 0, true, false, false, KeyName::Character, u'c', field, KeyAction::PassOn},
        {'A', 0, true, false, false, KeyName::Character, u'a', field, KeyAction::SelectAll},
        {'1', 0, false, true, false, KeyName::Character, u'1', field, KeyAction::Swallow},
        {VK_NUMPAD7, 0, true, false, false, KeyName::Character, u'7', field, KeyAction::Swallow},
        {VK_OEM_MINUS, 0, false, true, false, KeyName::Character, u'-', field, KeyAction::Swallow},
        {'7', 0, false, false, true, KeyName::Character, u'7', field, KeyAction::PassOn},
        {VK_F4, 0, false, true, false, KeyName::Other, 0, field, KeyAction::PassOn},
        {VK_LEFT, Extended, true, false, false, KeyName::Other, 0, field, KeyAction::PassOn},
        {VK_CONTROL, 0, true, false, false, KeyName::Other, 0, field, KeyAction::PassOn},
    };
    for (const Mapped& c : cases) {
        const KeyPress press = KeyPressFromMessage(c.virtualKey, c.flags, c.ctrl, c.alt, c.shift);
        EXPECT_EQ(press.key, c.key) << "virtual key " << c.virtualKey;
        EXPECT_EQ(press.character, c.character) << "virtual key " << c.virtualKey;
        EXPECT_EQ(KeyActionFor(press, c.focused), c.action) << "virtual key " << c.virtualKey;
    }
}

}  // namespace
}  // namespace ovra
