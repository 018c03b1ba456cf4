#include "ui/qt/program_icon.h"

#include <QPainter>
#include <QPixmap>

namespace ovra {

QImage ProgramIconImage(int size) {
    QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    const int rim = size < 32 ? 1 : size / 32;
    const qreal radius = size * 0.1875;
    painter.setPen(QPen(QColor(0x00, 0x74, 0x9E), rim));
    painter.setBrush(QColor(0x00, 0x8C, 0xB6));
    painter.drawRoundedRect(QRectF(rim / 2.0, rim / 2.0, size - rim, size - rim), radius, radius);
    // Whole pixels for the plus, so small sizes stay sharp.
    const int thickness = qMax(2, size * 3 / 16);
    const int length = size * 9 / 16;
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.fillRect((size - thickness) / 2, (size - length) / 2, thickness, length, Qt::white);
    painter.fillRect((size - length) / 2, (size - thickness) / 2, length, thickness, Qt::white);
    return image;
}

QIcon ProgramIcon() {
    QIcon icon;
    for (int size : ProgramIconSizes) icon.addPixmap(QPixmap::fromImage(ProgramIconImage(size)));
    return icon;
}

}  // namespace ovra
