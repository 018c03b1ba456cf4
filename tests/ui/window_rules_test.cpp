// The rules both shells apply: the focus ring, the keys, where the focus goes after a command, the fit to the
// screen, the contrast of every painted colour, the field descriptions and the break of coded labels.
#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "tests/ui/contrast.h"
#include "tests/ui/ui_test_support.h"
#include "tool/catalogue/catalogue.h"
#include "ui/frontend.h"
#include "ui/screen_fit.h"
#include "ui/window_colours.h"
#include "ui/window_keys.h"

namespace ovra {

bool operator==(FocusStop a, FocusStop b) { return a.kind == b.kind && a.index == b.index; }
void PrintTo(FocusStop stop, std::ostream* out) {
    static const char* const kinds[] = {"Field", "ReportBox", "Button", "Window"};
    *out << kinds[static_cast<int>(stop.kind)] << ' ' << stop.index;
}

namespace {

constexpr FocusStop F(int32_t i) { return {StopKind::Field, i}; }
constexpr FocusStop R = {StopKind::ReportBox, 0};
constexpr FocusStop B(WindowButton b) { return {StopKind::Button, static_cast<int32_t>(b)}; }
constexpr FocusStop W = {StopKind::Window, 0};
constexpr FocusStop OnCalculate = B(WindowButton::Calculate), OnSave = B(WindowButton::Save),
                    OnCopy = B(WindowButton::Copy), OnReset = B(WindowButton::Reset), OnAbout = B(WindowButton::About);

TEST(WindowRules, TabRunsThroughFieldsReportBoxAndButtonsAndWraps) {
    const FocusStop six[] = {F(0), F(1), F(2), F(3), F(4), F(5), R, OnCalculate, OnSave, OnCopy, OnReset, OnAbout};
    const FocusStop none[] = {R, OnCalculate, OnSave, OnCopy, OnReset, OnAbout};
    struct Ring {
        int32_t fields;
        const FocusStop* stops;
        int32_t count;
    };
    for (const Ring ring : {Ring{6, six, 12}, Ring{0, none, 6}}) {
        for (int32_t i = 0; i < ring.count; ++i) {
            const FocusStop next = ring.stops[(i + 1) % ring.count];
            EXPECT_EQ(NextFocusStop(ring.stops[i], ring.fields, false), next);
            EXPECT_EQ(NextFocusStop(next, ring.fields, true), ring.stops[i]);
        }
        // The bare window, or a field the tool does not have, enters at either end.
        for (const FocusStop outside : {W, F(ring.fields), F(-1), FocusStop{StopKind::Button, 5}}) {
            EXPECT_EQ(NextFocusStop(outside, ring.fields, false), ring.stops[0]);
            EXPECT_EQ(NextFocusStop(outside, ring.fields, true), ring.stops[ring.count - 1]);
        }
    }
}

TEST(WindowRules, KeysRunCommandsByWhereTheFocusIs) {
    using enum KeyName;
    using enum KeyAction;
    struct Case {
        KeyPress press;
        FocusStop focused;
        KeyAction action;
    };
    const Case cases[] = {
        // Enter, keypad Enter and F5 calculate from a field or the report box; on a button Enter is that button.
        {{Enter, 0, false, false, false}, F(0), Calculate},
        {{KeypadEnter, 0, false, false, false}, F(3), Calculate},
        {{F5, 0, false, false, false}, R, Calculate},
        {{Enter, 0, false, false, true}, R, Calculate},
        {{Enter, 0, false, false, false}, OnSave, Save},
        {{KeypadEnter, 0, false, false, false}, OnReset, Reset},
        {{F5, 0, false, false, false}, OnAbout, Calculate},
        {{Enter, 0, false, false, false}, W, Calculate},
        {{Enter, 0, true, false, false}, F(1), Calculate},
        {{Enter, 0, true, false, false}, OnCopy, Copy},
        {{F5, 0, true, false, false}, F(1), Calculate},
        {{Enter, 0, false, true, false}, F(0), PassOn},
        {{F5, 0, false, true, false}, F(0), PassOn},
        // Space presses a button and types into a field; with a modifier it is the input method's or the system's.
        {{Space, 0, false, false, false}, OnCalculate, Calculate},
        {{Space, 0, false, false, false}, OnCopy, Copy},
        {{Space, 0, false, false, false}, OnAbout, About},
        {{Space, 0, false, false, false}, F(1), PassOn},
        {{Space, 0, false, false, false}, R, PassOn},
        {{Space, 0, true, false, false}, OnSave, PassOn},
        {{Space, 0, false, true, false}, OnSave, PassOn},
        {{Space, 0, false, false, true}, OnSave, PassOn},
        // Commands from anywhere.
        {{Character, u's', true, false, false}, F(2), Save},
        {{Character, u's', true, false, false}, OnReset, Save},
        {{Character, u'c', true, false, true}, R, Copy},
        {{Character, u'c', true, false, true}, OnAbout, Copy},
        {{F1, 0, false, false, false}, F(0), About},
        {{F1, 0, false, false, true}, F(0), PassOn},
        // Tab and Shift+Tab walk the ring; Ctrl+Tab is left alone.
        {{Tab, 0, false, false, false}, F(5), FocusNext},
        {{Tab, 0, false, false, true}, OnCalculate, FocusPrevious},
        {{Tab, 0, true, false, false}, F(0), PassOn},
        // Editing keeps its meaning inside text.
        {{Character, u'c', true, false, false}, F(0), PassOn},
        {{Character, u'v', true, false, false}, F(0), PassOn},
        {{Character, u'a', true, false, false}, R, PassOn},
        {{Character, u'z', true, false, false}, F(0), PassOn},
        {{Character, u'z', true, false, true}, F(0), PassOn},
        {{Character, u'x', true, false, false}, F(0), PassOn},
        {{Character, u'y', true, false, false}, F(0), PassOn},
        {{Character, u'1', false, false, false}, F(0), PassOn},
        {{Character, u'1', false, false, true}, F(0), PassOn},
        // Any other modifier with a printable key types nothing.
        {{Character, u'1', false, true, false}, F(0), Swallow},
        {{Character, u'9', false, true, true}, F(0), Swallow},
        {{Character, u'c', false, true, false}, F(0), Swallow},
        {{Character, u'q', true, true, false}, F(0), Swallow},
        {{Character, u's', true, false, true}, F(0), Swallow},
        {{Character, u'v', true, false, true}, F(0), Swallow},
        {{Character, u'b', true, false, false}, F(0), Swallow},
        {{Character, u'c', true, false, false}, OnCopy, Swallow},
        // The system's keys: Alt+F4 closes, arrows and Escape stay the control's.
        {{Other, 0, false, true, false}, F(0), PassOn},
        {{Other, 0, false, false, false}, OnSave, PassOn},
    };
    for (const Case& c : cases) {
        const KeyPress& p = c.press;
        EXPECT_EQ(KeyActionFor(p, c.focused), c.action)
            << "key " << static_cast<int>(p.key) << " '" << static_cast<char>(p.character) << "' ctrl " << p.ctrl
            << " alt " << p.alt << " shift " << p.shift << " on " << testing::PrintToString(c.focused);
    }
}

TEST(WindowRules, ButtonsNameTheirKeys) {
    const char* const captions[] = {"计算 (F5)", "保存记录", "复制结果", "清空重填", "关于"};
    const char* const hints[] = {"F5", "Ctrl+S", "Ctrl+Shift+C", "", "F1"};
    for (int32_t b = 0; b < WindowButtonCount; ++b) {
        EXPECT_EQ(Utf8(WindowButtonCaption(static_cast<WindowButton>(b))), captions[b]);
        EXPECT_EQ(Utf8(WindowButtonKeyHint(static_cast<WindowButton>(b))), hints[b]);
    }
}

TEST(WindowRules, NoCommandLeavesTheFocusOnTheWindow) {
    auto state = std::make_unique<FrontEnd>();
    auto outcome = std::make_unique<Outcome>();
    StartFrontEnd(*state, ActiveTool());
    ScratchFolder folder;
    const std::u16string path = folder.Path16();
    struct Step {
        const char* name;
        void (*run)(FrontEnd&, Outcome&, const char16_t* folder);
        FocusTarget focus;
        int32_t field;
    };
    static const Step steps[] = {
        {"copy before a result", [](FrontEnd& s, Outcome& o, const char16_t*) { CopyResult(s, o); },
         FocusTarget::Unchanged, 0},
        {"calculate",
         [](FrontEnd& s, Outcome& o, const char16_t*) {
             Calculate(s, Abcd2Fields(u"60", u"130", u"80", u"1", u"1", u"0").texts, o);
         },
         FocusTarget::Unchanged, 0},
        {"calculate, field 4 refused",
         [](FrontEnd& s, Outcome& o, const char16_t*) {
             Calculate(s, Abcd2Fields(u"60", u"130", u"80", u"1", u"7", u"0").texts, o);
         },
         FocusTarget::Field, 4},
        {"save", [](FrontEnd& s, Outcome& o, const char16_t* f) { SaveRecord(s, FixedTime, f, o); },
         FocusTarget::Unchanged, 0},
        {"save, no folder", [](FrontEnd& s, Outcome& o, const char16_t*) { SaveRecord(s, FixedTime, u"", o); },
         FocusTarget::Unchanged, 0},
        {"copy", [](FrontEnd& s, Outcome& o, const char16_t*) { CopyResult(s, o); }, FocusTarget::Unchanged, 0},
        {"about", [](FrontEnd& s, Outcome& o, const char16_t*) { ShowAbout(s, o); }, FocusTarget::Unchanged, 0},
        {"reset", [](FrontEnd& s, Outcome& o, const char16_t*) { ResetInputs(s, o); }, FocusTarget::Unchanged, 0},
    };
    for (const Step& step : steps) {
        step.run(*state, *outcome, path.c_str());
        EXPECT_EQ(outcome->focus, step.focus) << step.name;
        if (step.focus == FocusTarget::Field) {
            EXPECT_EQ(outcome->focusField, step.field) << step.name;
        }
    }
}

TEST(WindowRules, WindowShrinksByOneFactorOnlyWhereItDoesNotFit) {
    struct Case {
        int32_t workWidth, workHeight, frameWidth, frameHeight;
        double scale, factor;
    };
    // Frames as a title bar and thin borders measure at 100 % and 150 %.
    const Case cases[] = {
        {1366, 728, 16, 39, 1.0, (728 - 39) / 720.0},     // 1366×768 with a taskbar: the height decides
        {1920, 1032, 24, 58, 1.5, (1032 - 58) / 1080.0},  // 1920×1080 at 150 %
        {1280, 680, 16, 39, 1.0, (680 - 39) / 720.0},     // 1280×720 with a taskbar
        {2560, 1400, 16, 39, 1.0, 1.0},                   // room to spare: the layout as it is
        {1036, 759, 16, 39, 1.0, 1.0},                    // exactly enough room
        {1035, 759, 16, 39, 1.0, (1035 - 16) / 1020.0},   // one pixel short in width
        {800, 560, 16, 39, 1.0, (560 - 39) / 720.0},      // small, still above the floor
        {1024, 600, 16, 39, 1.5, MinimumFitFactor},       // 150 % on a netbook: the floor
        {640, 400, 16, 39, 1.0, MinimumFitFactor},        // the floor, and the window is moved to see the rest
    };
    for (const Case& c : cases) {
        const double factor = FitFactor(c.workWidth, c.workHeight, c.frameWidth, c.frameHeight, c.scale);
        EXPECT_DOUBLE_EQ(factor, c.factor) << c.workWidth << "×" << c.workHeight << " at " << c.scale;
        // Where it shrinks, the scaled window and its frame fit (unless held at the floor).
        if (factor > MinimumFitFactor) {
            EXPECT_LE(std::lround(1020 * c.scale * factor) + c.frameWidth, c.workWidth);
            EXPECT_LE(std::lround(720 * c.scale * factor) + c.frameHeight, c.workHeight);
        }
    }
}

TEST(WindowRules, ContrastRatiosFollowWcag) {
    struct Case {
        uint32_t a, b;
        double ratio;
    };
    const Case cases[] = {
        {0x000000, 0xFFFFFF, 21.0}, {0xFFFFFF, 0x000000, 21.0}, {0x777777, 0x777777, 1.0},
        {0x78848E, 0xFFFFFF, 3.83}, {0x78848E, 0xECF1F4, 3.36}, {0xBEDCEB, 0x006C96, 4.08},  // the old greys
    };
    for (const Case& c : cases) EXPECT_NEAR(ContrastRatio(c.a, c.b), c.ratio, 0.005) << std::hex << c.a;
}

TEST(WindowRules, EveryPaintedColourMeetsItsContrast) {
    EXPECT_GE(ColourPairCount, 20);
    for (int32_t i = 0; i < ColourPairCount; ++i) {
        const ColourPair& pair = ColourPairs[i];
        EXPECT_GE(ContrastRatio(pair.colour, pair.against), pair.minimum) << pair.what;
    }
    // The start prompt is not any level's colour.
    for (int32_t level = 0; level <= 3; ++level) EXPECT_NE(Colours.verdictNoResult, VerdictColourFromLevel(level));
}

TEST(WindowRules, FieldsAreDescribedByUnitAndWhatTheyAccept) {
    const Tool& tool = ActiveTool();
    const char* const expected[] = {"岁；0 至 130 之间的数",
                                    "mmHg；40 至 300 之间的数",
                                    "mmHg；20 至 200 之间的数",
                                    "0、1 或 2",
                                    "0、1 或 2",
                                    "0 或 1"};
    ASSERT_EQ(tool.inputCount, 6);
    for (int32_t i = 0; i < tool.inputCount; ++i) {
        char16_t text[128];
        FieldAccessibleDescription(tool.inputs[i], text, 128);
        EXPECT_EQ(Utf8(text), expected[i]);
    }
    const InputField bare = {"n", u"数量", nullptr, 1};
    char16_t text[8] = u"x";
    FieldAccessibleDescription(bare, text, 8);
    EXPECT_EQ(Utf8(text), "");
    EXPECT_EQ(Utf8(ReportBoxName), "计算结果");
}

// Advances near those of the CJK face: Chinese one em, a space 0.23, a parenthesis 0.33, other Latin 0.55.
int32_t ModelWidth(const void*, const char16_t* text, int32_t length, bool smallFont) {
    const double em = smallFont ? 12 : 14;
    double width = 0;
    for (int32_t i = 0; i < length; ++i) {
        const char16_t c = text[i];
        width += em * (c >= 0x2E80 ? 1 : c == u' ' ? 0.23 : c == u'(' || c == u')' ? 0.33 : 0.55);
    }
    return static_cast<int32_t>(std::ceil(width));
}

TEST(WindowRules, CodedLabelsBreakBetweenItems) {
    struct Case {
        int32_t tool;
        const char* secondLine;  // empty: one line
    };
    const Case cases[] = {
        {146, ""},  // a short label stays one line; see the ABCD2 rows below
        {203, " 5血培养 6血糖乳酸 0其他)"},
        {204, " 4凝血 5微生物 6心肌胰酶 0其他)"},
        {205, " 3抗凝化疗 4麻醉肌松)"},
        {211, " 5心肌 6尿常规)"},
    };
    for (const Case& c : cases) {
        const Tool* tool = nullptr;
        for (int32_t t = 0; t < ToolCount(); ++t)
            if (AllTools()[t]->id == c.tool) tool = AllTools()[t];
        ASSERT_NE(tool, nullptr);
        const char16_t* label = tool->inputs[0].label;
        const LabelLayout layout = LayOutLabel(label, LabelBoxWidth, ModelWidth, nullptr);
        EXPECT_TRUE(layout.fits) << Utf8(label);
        EXPECT_EQ(layout.breakAt > 0 ? Utf8(label + layout.breakAt) : "", c.secondLine) << Utf8(label);
    }
    // A range after a code ("1 10-59") is no code of its own; the parenthesis still comes first.
    struct Narrow {
        const char16_t* label;
        int32_t box;
        const char* secondLine;
    };
    const Narrow narrow[] = {
        {u"持续时间(0<10min/1 10-59/2≥60)", 184, "(0<10min/1 10-59/2≥60)"},
        {u"持续时间0<10min/1 10-59/2≥60", 140, "9/2≥60"},
        {u"项目(1血常规 2凝血)", 72, " 2凝血)"},
        {u"项目(1血常规 2凝血)x", 40, "血常规 2凝血)x"},  // no whole item fits: as much as fits
    };
    for (const Narrow& n : narrow) {
        const LabelLayout layout = LayOutLabel(n.label, n.box, ModelWidth, nullptr);
        EXPECT_EQ(Utf8(n.label + layout.breakAt), n.secondLine) << Utf8(n.label);
    }
}

}  // namespace
}  // namespace ovra
