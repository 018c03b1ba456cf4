#include "ui/qt/program_icon.h"

#include <QIconEngine>
#include <QPainter>
#include <QPixmap>
#include <iterator>

namespace ovra {

QImage ProgramIconImage(int size) {
    QImage image(size, size, QImage::Format_RGBA8888);
    ProgramIconPixels(size, image.bits());
    return image.convertToFormat(QImage::Format_ARGB32_Premultiplied);
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
