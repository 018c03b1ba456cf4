#include <gtest/gtest.h>

#include "ui/screen_fit.h"
#include "ui/win32/dpi.h"
#include "ui/win32/font_face.h"
#include "ui/win32/window_layout.h"

namespace ovra {
namespace {

// The shared layout's boxes and font heights in device pixels: edges and heights round as the shared
// ScaleLength does, a box against the right edge stands off the client width.
TEST(WindowLayout, BoxesAndFontsScaleToTheDpi) {
    const RECT address = ScaledRect(Box{-240, 8, 214, 26}, 144, 1530);
    EXPECT_EQ(address.left, 1170);
    EXPECT_EQ(address.top, 12);
    EXPECT_EQ(address.right, 1491);
    EXPECT_EQ(address.bottom, 51);
    EXPECT_EQ(Scaled(FontOf(FontRole::Title).pixelHeight, 96), 27);
    EXPECT_EQ(Scaled(FontOf(FontRole::Title).pixelHeight, 144), 41);  // 40.5 rounds up
    EXPECT_EQ(Scaled(FontOf(FontRole::Small).pixelHeight, 120), 15);
}

// Faces asked of the system's fonts as the window asks for each face list (the test prefix has Noto Sans CJK SC).
TEST(WindowLayout, AFontTakesTheFirstFaceTheSystemHas) {
    struct Pick {
        const wchar_t* faces[4];
        const wchar_t* expected;
    };
    const Pick picks[] = {
        {{L"Noto Sans CJK SC", L"Ovra Missing Face", nullptr}, L"Noto Sans CJK SC"},
        {{L"Ovra Missing Face", L"Noto Sans CJK SC", nullptr}, L"Noto Sans CJK SC"},
        {{L"Ovra Missing Face", L"Ovra Other Missing Face", nullptr}, L"Ovra Other Missing Face"},
    };
    for (const Pick& p : picks) EXPECT_STREQ(FirstInstalledFace(p.faces), p.expected) << p.faces[0];
}

enum class Fit { AsIs, Scaled, Floor };
struct Screen {
    UINT dpi;
    LONG width, height;  // the work area
    Fit fit;
};

// The whole window, frame included, inside the work area at the fitted layout DPI, and no smaller than it must
// be; where it fits, the monitor's own DPI; below the floor, the floor.
TEST(ScreenFit, TheWindowFillsNoMoreThanTheWorkArea) {
    const Screen screens[] = {
        {96, 1280, 984, Fit::AsIs},     {96, 1366, 728, Fit::Scaled},   {96, 1280, 680, Fit::Scaled},
        {144, 1920, 1032, Fit::Scaled}, {144, 1920, 1080, Fit::Scaled}, {120, 1366, 728, Fit::Scaled},
        {144, 2560, 1400, Fit::AsIs},   {192, 2560, 1400, Fit::Scaled}, {96, 800, 560, Fit::Scaled},
        {96, 600, 400, Fit::Floor},     {144, 800, 560, Fit::Floor},
    };
    for (const Screen& s : screens) {
        const UINT layout = FittedLayoutDpi(s.dpi, RECT{0, 0, s.width, s.height});
        const SIZE outer = OuterSize(layout, s.dpi);
        const SIZE larger = OuterSize(layout + 1, s.dpi);
        switch (s.fit) {
            case Fit::AsIs:
                EXPECT_EQ(layout, s.dpi) << s.width << "x" << s.height << " at " << s.dpi;
                break;
            case Fit::Scaled:
                EXPECT_LT(layout, s.dpi) << s.width << "x" << s.height << " at " << s.dpi;
                EXPECT_TRUE(larger.cx > s.width || larger.cy > s.height)
                    << "one more DPI would fit too: " << s.width << "x" << s.height << " at " << s.dpi;
                break;
            case Fit::Floor:
                EXPECT_EQ(layout, static_cast<UINT>(s.dpi * MinimumFitFactor)) << s.width << "x" << s.height;
                continue;  // and may stand out of the work area, to be moved
        }
        EXPECT_LE(outer.cx, s.width) << s.width << "x" << s.height << " at " << s.dpi;
        EXPECT_LE(outer.cy, s.height) << s.width << "x" << s.height << " at " << s.dpi;
    }
}

}  // namespace
}  // namespace ovra
