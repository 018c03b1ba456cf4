#include "ui/qt/key_rule.h"

#include <QApplication>
#include <QKeyEvent>

#include "ui/qt/main_window.h"

namespace ovra {

KeyPress KeyPressFromEvent(const QKeyEvent& event) {
    const Qt::KeyboardModifiers modifiers = event.modifiers();
    KeyPress press{KeyName::Other, 0, (modifiers & Qt::ControlModifier) != 0, (modifiers & Qt::AltModifier) != 0,
                   (modifiers & Qt::ShiftModifier) != 0};
    const int key = event.key();
    switch (key) {
        case Qt::Key_Return:
            press.key = KeyName::Enter;
            return press;
        case Qt::Key_Enter:
            press.key = KeyName::KeypadEnter;
            return press;
        case Qt::Key_F1:
            press.key = KeyName::F1;
            return press;
        case Qt::Key_F5:
            press.key = KeyName::F5;
            return press;
        case Qt::Key_Space:
            press.key = KeyName::Space;
            return press;
        case Qt::Key_Tab:
            press.key = KeyName::Tab;
            return press;
        case Qt::Key_Backtab:  // Qt's name for Shift+Tab
            press.key = KeyName::Tab;
            press.shift = true;
            return press;
        default:
            break;
    }
    // Qt names a printable key by its Unicode value, letters in upper case; the special keys lie far above.
    if (key > 0x20 && key < 0xFFFF && QChar(key).isPrint()) {
        press.key = KeyName::Character;
        press.character = QChar(key).toLower().unicode();
    }
    return press;
}

bool KeyRule::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() != QEvent::KeyPress || !watched->isWidgetType()) return false;
    QWidget* target = static_cast<QWidget*>(watched);
    // Message boxes are windows of their own and keep their keys. A key a control passes on travels up to the
    // window: it was decided at the control.
    if (target != &window && !window.isAncestorOf(target)) return false;
    QWidget* focused = QApplication::focusWidget();
    if (target != focused && !(focused == nullptr && target == &window)) return false;
    const KeyAction action = KeyActionFor(KeyPressFromEvent(*static_cast<QKeyEvent*>(event)), window.StopOf(focused));
    if (action == KeyAction::PassOn) return false;
    window.Run(action);
    return true;
}

}  // namespace ovra
