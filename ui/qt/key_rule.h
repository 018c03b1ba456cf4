#pragma once
// The keyboard rule, watched at application level so that no child widget sees a key first: each key pressed
// in the window is put to KeyActionFor with the control that has the focus, and the answer is applied.
#include <QObject>

#include "ui/window_keys.h"

class QKeyEvent;

namespace ovra {

class MainWindow;

// The key as the shared rule names it.
KeyPress KeyPressFromEvent(const QKeyEvent& event);

class KeyRule : public QObject {
   public:
    explicit KeyRule(MainWindow& window) : window(window) {}

   protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

   private:
    MainWindow& window;
};

}  // namespace ovra
