#pragma once
// The eight fonts of the window, by pixel height, with fallbacks for machines without the preferred faces.
#include <QFont>

namespace ovra {

struct WindowFonts {
    QFont title, caption, label, field, verdict, report, button, small;
};

WindowFonts MakeWindowFonts();

}  // namespace ovra
