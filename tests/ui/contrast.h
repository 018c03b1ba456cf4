#pragma once
// What the window's colours must reach, for the tests: WCAG 2.1 contrast, and every colour the window draws
// paired with what lies under or beside it.
#include <cstdint>

#include "ui/window_colours.h"

namespace ovra {

// WCAG 2.1 contrast ratio of two colours, 1 to 21.
double ContrastRatio(uint32_t a, uint32_t b);

// The ratio each pair must reach: 4.5 for text, 3 for large bold text, edges and focus marks.
struct ColourPair {
    const char* what;
    uint32_t colour;
    uint32_t against;
    double minimum;
};
extern const ColourPair ColourPairs[];
extern const int32_t ColourPairCount;

}  // namespace ovra
