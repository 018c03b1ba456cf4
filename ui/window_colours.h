#pragma once
// Every colour the window paints, for both shells, as 0xRRGGBB. Where a value was raised to meet WCAG 2.1 AA
// the earlier one is named beside it; hues are kept, greys only darkened (or, on the header, lightened).
#include <cstdint>

namespace ovra {

struct WindowColours {
    uint32_t windowBackground, headerBand, accentStrip, panel, panelOutline, captionRule, buttonBar;
    uint32_t titleText, subLineText, webAddressText, captionText, labelText, statusText, bodyText;
    uint32_t verdictNoResult, verdictLevel0, verdictLevel1, verdictLevel2, verdictLevel3;
    uint32_t primaryFace, primaryPressedFace, primaryEdge, primaryCaption;  // the Calculate button
    uint32_t lightFace, lightPressedFace, lightEdge, lightCaption;          // the other four
    uint32_t focusMark, focusMarkOnPrimary;
};

inline constexpr WindowColours Colours = {
    .windowBackground = 0xF4F7F9,
    .headerBand = 0x006C96,
    .accentStrip = 0x0084B0,
    .panel = 0xFFFFFF,  // panel interiors; background of fields, labels, the verdict line, the report box
    .panelOutline = 0xDAE2E8,
    .captionRule = 0xE4EAEE,
    .buttonBar = 0xECF1F4,
    .titleText = 0xFFFFFF,
    .subLineText = 0xD6ECF6,
    .webAddressText = 0xD8EAF3,   // was #BEDCEB, 4.08:1 on the header
    .captionText = 0x006C96,      // the two section captions
    .labelText = 0x606A72,        // input labels, units, reference line; was #78848E, 3.83:1
    .statusText = 0x606A72,       // was #78848E, 3.36:1 on the button bar
    .bodyText = 0x2C3842,         // fields, report box, advice
    .verdictNoResult = 0x606A72,  // the start prompt and after Reset; was the level-0 green
    .verdictLevel0 = 0x008060,
    .verdictLevel1 = 0xB08400,  // 3.4:1: enough for the 21 px bold verdict line, and drawn nowhere else
    .verdictLevel2 = 0xD66C00,  // likewise, 3.5:1
    .verdictLevel3 = 0xBE1E2D,
    .primaryFace = 0x007AA8,
    .primaryPressedFace = 0x00648A,
    .primaryEdge = 0x006A94,
    .primaryCaption = 0xFFFFFF,
    .lightFace = 0xFFFFFF,
    .lightPressedFace = 0xE2EAF0,
    .lightEdge = 0x65849D,  // was #CED8E0, 1.27:1 on the button bar
    .lightCaption = 0x2C3842,
    // 2 px: around a field or the report box, inside a light button; inside the primary button in white.
    .focusMark = 0x006C96,
    .focusMarkOnPrimary = 0xFFFFFF,
};

}  // namespace ovra
