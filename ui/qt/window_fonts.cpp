#include "ui/qt/window_fonts.h"

#include <QStringList>

namespace ovra {
namespace {

QFont MakeFont(const QStringList& families, int pixelSize, QFont::Weight weight) {
    QFont font;
    font.setFamilies(families);
    font.setPixelSize(pixelSize);
    font.setWeight(weight);
    return font;
}

}  // namespace

WindowFonts MakeWindowFonts() {
    const QStringList text = {QStringLiteral("Microsoft YaHei UI"), QStringLiteral("Noto Sans CJK SC")};
    // The CJK face last, so Chinese in a report still renders where the monospace face has no such glyphs.
    const QStringList mono = {QStringLiteral("Consolas"), QStringLiteral("DejaVu Sans Mono"),
                              QStringLiteral("Noto Sans CJK SC")};
    return WindowFonts{
        MakeFont(text, 27, QFont::Bold),   MakeFont(text, 14, QFont::Normal), MakeFont(text, 14, QFont::Normal),
        MakeFont(text, 15, QFont::Normal), MakeFont(text, 21, QFont::Bold),   MakeFont(mono, 15, QFont::Normal),
        MakeFont(text, 15, QFont::Normal), MakeFont(text, 12, QFont::Normal),
    };
}

}  // namespace ovra
