#include "ui/qt/window_fonts.h"

#include <QFontDatabase>
#include <QStringList>
#include <initializer_list>

namespace ovra {
namespace {

// Naming only faces that exist spares the font matcher a fallback search per font, a few milliseconds each at
// start-up. They are looked up in the plain list of families: asking hasFamily resolves aliases through the
// font configuration, which cost a third of the start-up.
QStringList InstalledFaces(const QStringList& installed, std::initializer_list<const char*> preferred) {
    QStringList faces;
    for (const char* face : preferred) {
        if (installed.contains(QString::fromLatin1(face), Qt::CaseInsensitive)) faces.append(QString::fromLatin1(face));
    }
    if (faces.isEmpty()) faces.append(QString::fromLatin1(*preferred.begin()));
    return faces;
}

QFont MakeFont(const QStringList& families, int pixelSize, QFont::Weight weight) {
    QFont font;
    font.setFamilies(families);
    font.setPixelSize(pixelSize);
    font.setWeight(weight);
    return font;
}

}  // namespace

WindowFonts MakeWindowFonts() {
    const QStringList installed = QFontDatabase::families();
    // As on Windows, where Windows 7 has only "Microsoft YaHei".
    const QStringList text = InstalledFaces(installed, {"Microsoft YaHei UI", "Microsoft YaHei", "Noto Sans CJK SC"});
    // The CJK face last, so Chinese in a report still renders where the monospace face has no such glyphs.
    const QStringList mono = InstalledFaces(installed, {"Consolas", "DejaVu Sans Mono", "Noto Sans CJK SC"});
    return WindowFonts{
        MakeFont(text, 27, QFont::Bold),   MakeFont(text, 14, QFont::Normal), MakeFont(text, 14, QFont::Normal),
        MakeFont(text, 15, QFont::Normal), MakeFont(text, 21, QFont::Bold),   MakeFont(mono, 15, QFont::Normal),
        MakeFont(text, 15, QFont::Normal), MakeFont(text, 12, QFont::Normal),
    };
}

}  // namespace ovra
