#pragma once
// The command buttons paint their own face: the primary (Calculate) scheme or the light one, darker while held,
// with a focus mark while focused.
#include <QAbstractButton>

namespace ovra {

class PaintedButton : public QAbstractButton {
   public:
    PaintedButton(const QString& caption, bool primary, const QFont& font, QWidget* parent);
    bool IsPrimary() const { return primary; }

   protected:
    void paintEvent(QPaintEvent* event) override;

   private:
    bool primary;
};

}  // namespace ovra
