#pragma once
// The command buttons paint their own face from their row of the layout: the primary (Calculate) scheme or the
// light one, darker while held, with a focus mark while focused.
#include <QAbstractButton>

#include "ui/window_layout.h"

class QPainter;

namespace ovra {

// A ring `width` wide just inside `outer`.
void FillRing(QPainter& painter, const QRect& outer, int width, uint32_t colour);

class PaintedButton : public QAbstractButton {
   public:
    PaintedButton(const ButtonRow& row, QWidget* parent);
    void SetFocusMark(FocusMark mark) { focusMark = mark; }

   protected:
    void paintEvent(QPaintEvent* event) override;

   private:
    const ButtonScheme& scheme;
    FocusMark focusMark;
};

}  // namespace ovra
