#include "ui/screen_fit.h"

namespace ovra {

double FitFactor(int32_t workWidth, int32_t workHeight, int32_t frameWidth, int32_t frameHeight, double scale) {
    const double clientWidth = 1020.0 * scale;
    const double clientHeight = 720.0 * scale;
    const double roomWidth = static_cast<double>(workWidth) - frameWidth;
    const double roomHeight = static_cast<double>(workHeight) - frameHeight;
    if (clientWidth <= roomWidth && clientHeight <= roomHeight) return 1.0;
    double factor = roomWidth / clientWidth;
    if (roomHeight / clientHeight < factor) factor = roomHeight / clientHeight;
    // Below this the texts are unreadable: keep it, and the user moves the window to see the rest.
    return factor < MinimumFitFactor ? MinimumFitFactor : factor;
}

}  // namespace ovra
