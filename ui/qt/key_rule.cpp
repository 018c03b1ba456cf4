#include "ui/qt/key_rule.h"

#include <QKeyEvent>

#include "ui/qt/main_window.h"

namespace ovra {

bool KeyRule::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() != QEvent::KeyPress || !watched->isWidgetType()) return false;
    QWidget* target = static_cast<QWidget*>(watched);
    // The window itself is not its own descendant: after a calculation the keys do nothing until a child
    // has the focus again. Message boxes are separate windows and keep their own Enter.
    if (target == &window || !window.isAncestorOf(target)) return false;
    const auto* key = static_cast<QKeyEvent*>(event);
    if (key->modifiers() & Qt::AltModifier) return false;
    switch (key->key()) {
        case Qt::Key_Return:
        case Qt::Key_Enter:
        case Qt::Key_F5:
            window.RunCalculate();
            return true;
        case Qt::Key_Tab:
            window.MoveFieldFocus(1);
            return true;
        case Qt::Key_Backtab:
            window.MoveFieldFocus(-1);
            return true;
        default:
            return false;
    }
}

}  // namespace ovra
