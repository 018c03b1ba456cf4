#include "tests/ui/contrast.h"

#include <cmath>

namespace ovra {
namespace {

double Channel(uint32_t colour, int shift) {
    const double c = static_cast<double>((colour >> shift) & 0xFF) / 255.0;
    return c <= 0.03928 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
}

double RelativeLuminance(uint32_t colour) {
    return 0.2126 * Channel(colour, 16) + 0.7152 * Channel(colour, 8) + 0.0722 * Channel(colour, 0);
}

constexpr double Text = 4.5;
constexpr double Large = 3.0;  // text of at least 18.66 px bold, edges, focus marks

}  // namespace

double ContrastRatio(uint32_t a, uint32_t b) {
    const double la = RelativeLuminance(a);
    const double lb = RelativeLuminance(b);
    return la > lb ? (la + 0.05) / (lb + 0.05) : (lb + 0.05) / (la + 0.05);
}

const ColourPair ColourPairs[] = {
    {"title on header", Colours.titleText, Colours.headerBand, Text},
    {"sub-line on header", Colours.subLineText, Colours.headerBand, Text},
    {"web address on header", Colours.webAddressText, Colours.headerBand, Text},
    {"section caption on panel", Colours.captionText, Colours.panel, Text},
    {"label on panel", Colours.labelText, Colours.panel, Text},
    {"status on button bar", Colours.statusText, Colours.buttonBar, Text},
    {"field text on panel", Colours.bodyText, Colours.panel, Text},
    {"verdict, no result", Colours.verdictNoResult, Colours.panel, Large},
    {"verdict level 0", Colours.verdictLevel0, Colours.panel, Large},
    {"verdict level 1", Colours.verdictLevel1, Colours.panel, Large},
    {"verdict level 2", Colours.verdictLevel2, Colours.panel, Large},
    {"verdict level 3", Colours.verdictLevel3, Colours.panel, Large},
    {"primary caption", Colours.primaryCaption, Colours.primaryFace, Text},
    {"primary caption, pressed", Colours.primaryCaption, Colours.primaryPressedFace, Text},
    {"light caption", Colours.lightCaption, Colours.lightFace, Text},
    {"light caption, pressed", Colours.lightCaption, Colours.lightPressedFace, Text},
    {"primary edge on button bar", Colours.primaryEdge, Colours.buttonBar, Large},
    {"light edge on button bar", Colours.lightEdge, Colours.buttonBar, Large},
    {"focus mark on panel", Colours.focusMark, Colours.panel, Large},
    {"focus mark in a light button", Colours.focusMark, Colours.lightFace, Large},
    {"focus mark in a pressed light button", Colours.focusMark, Colours.lightPressedFace, Large},
    {"focus mark in the primary button", Colours.focusMarkOnPrimary, Colours.primaryFace, Large},
    {"focus mark in the pressed primary button", Colours.focusMarkOnPrimary, Colours.primaryPressedFace, Large},
};
const int32_t ColourPairCount = sizeof ColourPairs / sizeof ColourPairs[0];

}  // namespace ovra
