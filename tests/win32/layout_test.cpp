#include <gtest/gtest.h>

#include "ui/screen_fit.h"
#include "ui/win32/dpi.h"
#include "ui/win32/font_face.h"
#include "ui/win32/main_window.h"
#include "ui/win32/window_layout.h"

namespace ovra {
namespace {

struct Placement {
    Box box;
    UINT dpi;
    int clientWidth;
    RECT expected;
};

TEST(WindowLayout, BoxesAreExactAt96DpiAndScaledEdgeByEdgeElsewhere) {
    const LabelBox lastLabel = LabelBoxOf(LabelLayout{false, 0, true}, 13);
    const Placement cases[] = {
        {InputFieldBox(0), 96, 1020, {216, 146, 368, 173}},
        {{lastLabel.x, lastLabel.y, lastLabel.width, lastLabel.height},
         96,
         1020,
         {24, 593, 208, 615}},  // the fourteenth row ends at 615
        {{0, 660, FullWidth, 60}, 96, 1020, {0, 660, 1020, 720}},
        {{-240, 8, 214, 26}, 96, 1020, {780, 8, 994, 34}},  // against the right edge
        {InputFieldBox(0), 144, 1530, {324, 219, 552, 260}},
        {{0, 660, FullWidth, 60}, 144, 1530, {0, 990, 1530, 1080}},
        {{-240, 8, 214, 26}, 144, 1530, {1170, 12, 1491, 51}},
        // 125%: each edge rounds on its own, so the right panel still starts just right of the left one.
        {{20, 96, 440, 552}, 120, 1275, {25, 120, 575, 810}},
        {{476, 96, 524, 552}, 120, 1275, {595, 120, 1250, 810}},
    };
    for (const Placement& c : cases) {
        const RECT got = ScaledRect(c.box, c.dpi, c.clientWidth);
        EXPECT_EQ(got.left, c.expected.left) << c.box.x << "," << c.box.y << " at " << c.dpi;
        EXPECT_EQ(got.top, c.expected.top) << c.box.x << "," << c.box.y << " at " << c.dpi;
        EXPECT_EQ(got.right, c.expected.right) << c.box.x << "," << c.box.y << " at " << c.dpi;
        EXPECT_EQ(got.bottom, c.expected.bottom) << c.box.x << "," << c.box.y << " at " << c.dpi;
    }
}

TEST(WindowLayout, FontHeightsScaleWithTheDpi) {
    EXPECT_EQ(Scaled(FontRows[TitleFont].height, 96), 27);
    EXPECT_EQ(Scaled(FontRows[TitleFont].height, 144), 41);  // 40.5 rounds up
    EXPECT_EQ(Scaled(FontRows[SmallFont].height, 120), 15);
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
