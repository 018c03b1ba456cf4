#include "ui/qt/painted_button.h"

#include <QPainter>

namespace ovra {
namespace {

struct ButtonScheme {
    QRgb face, pressedFace, outline, caption;
};

const ButtonScheme primaryScheme = {0x007AA8, 0x00648A, 0x006A94, 0xFFFFFF};
const ButtonScheme lightScheme = {0xFFFFFF, 0xE2EAF0, 0xCED8E0, 0x2C3842};

}  // namespace

PaintedButton::PaintedButton(const QString& caption, bool primary, const QFont& font, QWidget* parent)
    : QAbstractButton(parent), primary(primary) {
    setText(caption);
    setFont(font);
    setFocusPolicy(Qt::ClickFocus);
}

void PaintedButton::paintEvent(QPaintEvent*) {
    const ButtonScheme& scheme = primary ? primaryScheme : lightScheme;
    QPainter painter(this);
    painter.fillRect(rect(), QColor::fromRgb(isDown() ? scheme.pressedFace : scheme.face));
    painter.setPen(QColor::fromRgb(scheme.outline));
    painter.drawRect(rect().adjusted(0, 0, -1, -1));
    painter.setPen(QColor::fromRgb(scheme.caption));
    const QString caption = fontMetrics().elidedText(text(), Qt::ElideRight, width());
    painter.drawText(rect(), Qt::AlignCenter | Qt::TextSingleLine, caption);
}

}  // namespace ovra
