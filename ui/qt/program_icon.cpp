#include "ui/qt/program_icon.h"

#include <QIconEngine>
#include <QPainter>
#include <QPixmap>
#include <iterator>

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

namespace {

// Draws each size only when asked for, so start-up does not render seven images nobody may look at.
class ProgramIconEngine : public QIconEngine {
   public:
    void paint(QPainter* painter, const QRect& rect, QIcon::Mode, QIcon::State) override {
        painter->drawImage(rect, ProgramIconImage(qMin(rect.width(), rect.height())));
    }
    QPixmap pixmap(const QSize& size, QIcon::Mode, QIcon::State) override {
        return QPixmap::fromImage(ProgramIconImage(NearestSize(qMin(size.width(), size.height()))));
    }
    QList<QSize> availableSizes(QIcon::Mode, QIcon::State) override {
        QList<QSize> sizes;
        for (int size : ProgramIconSizes) sizes.append(QSize(size, size));
        return sizes;
    }
    QIconEngine* clone() const override { return new ProgramIconEngine; }

   private:
    static int NearestSize(int wanted) {
        for (int size : ProgramIconSizes) {
            if (size >= wanted) return size;
        }
        return ProgramIconSizes[std::size(ProgramIconSizes) - 1];
    }
};

}  // namespace

QIcon ProgramIcon() { return QIcon(new ProgramIconEngine); }

}  // namespace ovra
