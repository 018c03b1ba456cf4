#include "ui/program_icon_pixels.h"

#include <algorithm>

namespace ovra {
namespace {

constexpr int Samples = 8;  // per pixel and axis, for the antialiased edge of the rounded square

struct Rgb {
    int r, g, b;
};
constexpr Rgb FillColour = {0x00, 0x8C, 0xB6};
constexpr Rgb RimColour = {0x00, 0x74, 0x9E};

// Inside the square [lo, hi] x [lo, hi] whose corners are rounded with `radius`.
bool InsideRoundedSquare(double x, double y, double lo, double hi, double radius) {
    if (x < lo || y < lo || x > hi || y > hi) return false;
    const double cx = std::clamp(x, lo + radius, hi - radius);
    const double cy = std::clamp(y, lo + radius, hi - radius);
    return (x - cx) * (x - cx) + (y - cy) * (y - cy) <= radius * radius;
}

}  // namespace

void ProgramIconPixels(int size, uint8_t* out) {
    const int rim = size < 32 ? 1 : size / 32;
    const double radius = size * 0.1875;
    // The rim is a stroke of width `rim` centred on the square inset by half of it.
    const double outerRadius = radius + rim / 2.0;
    const double innerRadius = std::max(0.0, radius - rim / 2.0);
    // Whole pixels for the plus, so small sizes stay sharp.
    const int thickness = std::max(2, size * 3 / 16);
    const int length = size * 9 / 16;
    const int barStart = (size - thickness) / 2;
    const int armStart = (size - length) / 2;
    for (int py = 0; py < size; ++py) {
        for (int px = 0; px < size; ++px) {
            uint8_t* pixel = out + (static_cast<long>(py) * size + px) * 4;
            const bool vertical = px >= barStart && px < barStart + thickness && py >= armStart && py < armStart + length;
            const bool horizontal = py >= barStart && py < barStart + thickness && px >= armStart && px < armStart + length;
            if (vertical || horizontal) {
                pixel[0] = pixel[1] = pixel[2] = pixel[3] = 255;
                continue;
            }
            int rimCount = 0;
            int fillCount = 0;
            for (int sy = 0; sy < Samples; ++sy) {
                for (int sx = 0; sx < Samples; ++sx) {
                    const double x = px + (sx + 0.5) / Samples;
                    const double y = py + (sy + 0.5) / Samples;
                    if (InsideRoundedSquare(x, y, rim, size - rim, innerRadius)) ++fillCount;
                    else if (InsideRoundedSquare(x, y, 0, size, outerRadius)) ++rimCount;
                }
            }
            const int covered = rimCount + fillCount;
            if (covered == 0) {
                pixel[0] = pixel[1] = pixel[2] = pixel[3] = 0;
                continue;
            }
            // Colour of the covered part alone; coverage goes into alpha.
            pixel[0] = static_cast<uint8_t>((RimColour.r * rimCount + FillColour.r * fillCount + covered / 2) / covered);
            pixel[1] = static_cast<uint8_t>((RimColour.g * rimCount + FillColour.g * fillCount + covered / 2) / covered);
            pixel[2] = static_cast<uint8_t>((RimColour.b * rimCount + FillColour.b * fillCount + covered / 2) / covered);
            pixel[3] = static_cast<uint8_t>((255 * covered + Samples * Samples / 2) / (Samples * Samples));
        }
    }
}

}  // namespace ovra
