#pragma once
// The keyboard rule, watched at application level so that no child widget sees these keys first: Return,
// keypad Enter and F5 on any descendant of the window run Calculate; Tab and Shift+Tab move between fields.
#include <QObject>

namespace ovra {

class MainWindow;

class KeyRule : public QObject {
   public:
    explicit KeyRule(MainWindow& window) : window(window) {}

   protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

   private:
    MainWindow& window;
};

}  // namespace ovra
