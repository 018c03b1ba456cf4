#include "ui/qt/painted_button.h"

#include <QPainter>

#include "ui/window_colours.h"

namespace ovra {
namespace {

struct ButtonScheme {
    QRgb face, pressedFace, edge, caption, focusMark;
};

const ButtonScheme primaryScheme = {Colours.primaryFace, Colours.primaryPressedFace, Colours.primaryEdge,
                                    Colours.primaryCaption, Colours.focusMarkOnPrimary};
const ButtonScheme lightScheme = {Colours.lightFace, Colours.lightPressedFace, Colours.lightEdge, Colours.lightCaption,
                                  Colours.focusMark};
constexpr int FocusInset = 2;  // between the edge and the focus mark
constexpr int FocusWidth = 2;

}  // namespace

PaintedButton::PaintedButton(const QString& caption, bool primary, const QFont& font, QWidget* parent)
    : QAbstractButton(parent), primary(primary) {
    setText(caption);
    setFont(font);
    setFocusPolicy(Qt::StrongFocus);
}

void PaintedButton::paintEvent(QPaintEvent*) {
    const ButtonScheme& scheme = primary ? primaryScheme : lightScheme;
    QPainter painter(this);
    painter.fillRect(rect(), QColor::fromRgb(isDown() ? scheme.pressedFace : scheme.face));
    painter.setPen(QColor::fromRgb(scheme.edge));
    painter.drawRect(rect().adjusted(0, 0, -1, -1));
    if (hasFocus()) {
        const QRect ring = rect().adjusted(FocusInset, FocusInset, -FocusInset, -FocusInset);
        const QColor mark = QColor::fromRgb(scheme.focusMark);
        painter.fillRect(ring.x(), ring.y(), ring.width(), FocusWidth, mark);
        painter.fillRect(ring.x(), ring.bottom() - FocusWidth + 1, ring.width(), FocusWidth, mark);
        painter.fillRect(ring.x(), ring.y(), FocusWidth, ring.height(), mark);
        painter.fillRect(ring.right() - FocusWidth + 1, ring.y(), FocusWidth, ring.height(), mark);
    }
    painter.setPen(QColor::fromRgb(scheme.caption));
    const QString caption = fontMetrics().elidedText(text(), Qt::ElideRight, width());
    painter.drawText(rect(), Qt::AlignCenter | Qt::TextSingleLine, caption);
}

}  // namespace ovra
