#include "ui/qt/painted_button.h"

#include <QPainter>

#include "ui/qt/qt_text.h"

namespace ovra {

void FillRing(QPainter& painter, const QRect& outer, int width, uint32_t colour) {
    const QColor mark = QColor::fromRgb(colour);
    painter.fillRect(outer.x(), outer.y(), outer.width(), width, mark);
    painter.fillRect(outer.x(), outer.bottom() - width + 1, outer.width(), width, mark);
    painter.fillRect(outer.x(), outer.y(), width, outer.height(), mark);
    painter.fillRect(outer.right() - width + 1, outer.y(), width, outer.height(), mark);
}

PaintedButton::PaintedButton(const ButtonRow& row, QWidget* parent)
    : QAbstractButton(parent), scheme(ButtonSchemeOf(row)), focusMark(FocusMarkAt(1.0)) {
    setText(QStringFromUtf16(row.caption));
    setFocusPolicy(Qt::StrongFocus);
    const QString key = QStringFromUtf16(row.keyHint);
    if (!key.isEmpty()) {
        setToolTip(key);
        setAccessibleDescription(key);
    }
}

void PaintedButton::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), QColor::fromRgb(isDown() ? scheme.pressedFace : scheme.face));
    painter.setPen(QColor::fromRgb(scheme.edge));
    painter.drawRect(rect().adjusted(0, 0, -1, -1));
    // The mark stands `gap` inside the one-pixel edge.
    const int inset = focusMark.gap + 1;
    if (hasFocus()) FillRing(painter, rect().adjusted(inset, inset, -inset, -inset), focusMark.width, scheme.focusMark);
    painter.setPen(QColor::fromRgb(scheme.caption));
    const QString caption = fontMetrics().elidedText(text(), Qt::ElideRight, width());
    painter.drawText(rect(), Qt::AlignCenter | Qt::TextSingleLine, caption);
}

}  // namespace ovra
