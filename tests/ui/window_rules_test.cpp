// The rules both shells apply: the focus ring, the keys, where the focus goes after a command, the fit to the
// screen, the contrast of every painted colour, the field descriptions and the break of coded labels.
#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <tuple>

#include "tests/ui/contrast.h"
#include "tests/ui/ui_test_support.h"
#include "tool/catalogue/catalogue.h"
#include "text/text.h"
#include "ui/frontend.h"
#include "ui/run_command.h"
#include "ui/screen_fit.h"
#include "ui/window_colours.h"
#include "ui/window_keys.h"
#include "ui/window_layout.h"

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
        // A field reached by Tab is selected whole; nothing else is.
        for (int32_t i = 0; i < ring.count; ++i) {
            const FocusMove move = TabFrom(ring.stops[i], ring.fields, i % 2 == 1);
            EXPECT_EQ(move.selectAll, move.to.kind == StopKind::Field) << i;
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
        {{Character, u'a', true, false, false}, F(2), SelectAll},
        {{Character, u'a', true, false, true}, F(2), Swallow},
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
        // A held key runs its command once; held, it still edits, types and moves the focus.
        {{Enter, 0, false, false, false, true}, F(0), Swallow},
        {{Space, 0, false, false, false, true}, OnSave, Swallow},
        {{Character, u's', true, false, false, true}, F(0), Swallow},
        {{F1, 0, false, false, false, true}, R, Swallow},
        {{Tab, 0, false, false, false, true}, F(0), FocusNext},
        {{Character, u'1', false, false, false, true}, F(0), PassOn},
        {{Character, u'a', true, false, false, true}, F(0), SelectAll},
        // The system's keys: Alt+F4 closes, arrows and Escape stay the control's.
        {{Other, 0, false, true, false}, F(0), PassOn},
        {{Other, 0, false, false, false}, OnSave, PassOn},
    };
    for (const Case& c : cases) {
        const KeyPress& p = c.press;
        EXPECT_EQ(KeyActionFor(p, c.focused), c.action)
            << "key " << static_cast<int>(p.key) << " '" << static_cast<char>(p.character) << "' ctrl " << p.ctrl
            << " alt " << p.alt << " shift " << p.shift << " repeat " << p.repeat << " on " << testing::PrintToString(c.focused);
    }
}

bool Inside(const Box& box, const Box& in) {
    const Edges b = ScaleBox(box, 1.0, ClientWidth), i = ScaleBox(in, 1.0, ClientWidth);
    return b.left >= i.left && b.top >= i.top && b.right <= i.right && b.bottom <= i.bottom;
}

TEST(WindowRules, ButtonsStandInOrderOnTheBarAndNameTheirKeys) {
    const char* const captions[] = {"计算 (F5)", "保存记录", "复制结果", "清空重填", "关于"};
    const char* const hints[] = {"F5", "Ctrl+S", "Ctrl+Shift+C", "", "F1"};
    const Box bar = FillRows[FillRowCount - 1].box;
    for (int32_t b = 0; b < WindowButtonCount; ++b) {
        const ButtonRow& row = ButtonRowOf(static_cast<WindowButton>(b));
        EXPECT_EQ(row.button, static_cast<WindowButton>(b));
        EXPECT_EQ(Utf8(row.caption), captions[b]);
        EXPECT_EQ(Utf8(row.keyHint), hints[b]);
        EXPECT_EQ(row.primary, b == 0);
        EXPECT_TRUE(Inside(row.box, bar)) << captions[b];
        if (b > 0) {
            EXPECT_GT(row.box.x, ButtonRows[b - 1].box.x + ButtonRows[b - 1].box.w) << captions[b];
        }
    }
}

TEST(WindowRules, CommandsSayWhereTheFocusGoesAndWhatIsAnnounced) {
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
        Announcement announce;
    };
    using enum Announcement;
    static const Step steps[] = {
        {"copy before a result", [](FrontEnd& s, Outcome& o, const char16_t*) { CopyResult(s, o); },
         FocusTarget::Unchanged, 0, None},
        {"calculate",
         [](FrontEnd& s, Outcome& o, const char16_t*) {
             Calculate(s, Abcd2Fields(u"60", u"130", u"80", u"1", u"1", u"0").texts, o);
         },
         FocusTarget::Unchanged, 0, Verdict},
        {"calculate, field 4 refused",
         [](FrontEnd& s, Outcome& o, const char16_t*) {
             Calculate(s, Abcd2Fields(u"60", u"130", u"80", u"1", u"7", u"0").texts, o);
         },
         FocusTarget::Field, 4, None},
        {"save", [](FrontEnd& s, Outcome& o, const char16_t* f) { SaveRecord(s, FixedTime, f, o); },
         FocusTarget::Unchanged, 0, Status},
        {"save, no folder", [](FrontEnd& s, Outcome& o, const char16_t*) { SaveRecord(s, FixedTime, u"", o); },
         FocusTarget::Unchanged, 0, Status},
        {"copy", [](FrontEnd& s, Outcome& o, const char16_t*) { CopyResult(s, o); }, FocusTarget::Unchanged, 0, Status},
        {"about", [](FrontEnd& s, Outcome& o, const char16_t*) { ShowAbout(s, o); }, FocusTarget::Unchanged, 0, None},
        {"reset", [](FrontEnd& s, Outcome& o, const char16_t*) { ResetInputs(s, o); }, FocusTarget::Unchanged, 0, Status},
    };
    for (const Step& step : steps) {
        step.run(*state, *outcome, path.c_str());
        EXPECT_EQ(outcome->focus, step.focus) << step.name;
        EXPECT_EQ(outcome->announce, step.announce) << step.name;
        if (step.focus == FocusTarget::Field) {
            EXPECT_EQ(outcome->focusField, step.field) << step.name;
        }
    }
}

// A command runs on what the shell lends: its fields, and the clipboard's answer to the copy.
TEST(WindowRules, CommandsRunThroughWhatTheShellLends) {
    ShellServices services = {
        nullptr,
        [](void*, int32_t index, char16_t* out, int32_t capacity) {
            static const char16_t* const texts[] = {u"60", u"150", u"80", u"1", u"1", u"0"};  // 4 points
            CopyText(out, capacity, texts[index]);
        },
        [] { return FixedTime; },
        [](void*, char16_t* out, int32_t capacity) { CopyText(out, capacity, u""); },
        [](void* takes, const char16_t*) { return *static_cast<bool*>(takes); },
    };
    struct Case {
        KeyAction action;
        bool clipboardTakes, runs;
        const char* status;
    };
    const Case cases[] = {
        {KeyAction::Calculate, true, true, "计算完成  ABCD2 评分"},
        {KeyAction::Copy, false, true, "复制失败：结果未复制到剪贴板"},
        {KeyAction::Copy, true, true, "结果已复制到剪贴板"},
        {KeyAction::FocusNext, true, false, "结果已复制到剪贴板"},
    };
    auto state = std::make_unique<FrontEnd>();
    auto outcome = std::make_unique<Outcome>();
    StartFrontEnd(*state, ActiveTool());
    for (Case c : cases) {
        services.shell = &c.clipboardTakes;
        EXPECT_EQ(RunCommand(*state, c.action, services, *outcome), c.runs) << static_cast<int>(c.action);
        EXPECT_EQ(Utf8(state->statusText), c.status) << static_cast<int>(c.action);
    }
    EXPECT_EQ(Utf8(state->lastReport).find("ABCD2：4 分"), 0u);
}

TEST(WindowRules, WindowShrinksByOneFactorOnlyWhereItDoesNotFit) {
    struct Case {
        int32_t workWidth, workHeight, frameWidth, frameHeight;
        double scale, factor;
    };
    // Frames as a title bar and thin borders measure at 100 % and 150 %.
    constexpr double W = ClientWidth, H = ClientHeight;
    const Case cases[] = {
        {1366, 728, 16, 39, 1.0, (728 - 39) / H},            // 1366×768 with a taskbar: the height decides
        {1920, 1032, 24, 58, 1.5, (1032 - 58) / (1.5 * H)},  // 1920×1080 at 150 %
        {1280, 680, 16, 39, 1.0, (680 - 39) / H},            // 1280×720 with a taskbar
        {2560, 1400, 16, 39, 1.0, 1.0},                      // room to spare: the layout as it is
        {ClientWidth + 16, ClientHeight + 39, 16, 39, 1.0, 1.0},        // exactly enough room
        {ClientWidth + 15, ClientHeight + 39, 16, 39, 1.0, (W - 1) / W},  // one pixel short in width
        {800, 560, 16, 39, 1.0, (560 - 39) / H},             // small, still above the floor
        {1024, 600, 16, 39, 1.5, MinimumFitFactor},          // 150 % on a netbook: the floor
        {640, 400, 16, 39, 1.0, MinimumFitFactor},           // the floor, and the window is moved to see the rest
    };
    for (const Case& c : cases) {
        const double factor = FitFactor(c.workWidth, c.workHeight, c.frameWidth, c.frameHeight, c.scale);
        EXPECT_DOUBLE_EQ(factor, c.factor) << c.workWidth << "×" << c.workHeight << " at " << c.scale;
        // Where it shrinks, the scaled window and its frame fit (unless held at the floor).
        if (factor > MinimumFitFactor) {
            EXPECT_LE(std::lround(ClientWidth * c.scale * factor) + c.frameWidth, c.workWidth);
            EXPECT_LE(std::lround(ClientHeight * c.scale * factor) + c.frameHeight, c.workHeight);
        }
    }
}

TEST(WindowRules, TheWindowIsCentredInTheWorkAreaAndKeepsItsCaptionOnIt) {
    struct Case {
        ScreenRect work;
        int32_t width, height;
        int32_t x, y;
    };
    const Case cases[] = {
        {{0, 0, 1920, 1040}, 1036, 759, 442, 140},
        {{100, 50, 1366, 728}, 1036, 759, 265, 50},  // taller than the work area: held at its top
        {{-1920, 0, 1920, 1080}, 1920, 1080, -1920, 0},
        {{0, 30, 640, 400}, 628, 471, 6, 30},
        {{0, 0, 600, 400}, 628, 471, 0, 0},
    };
    for (const Case& c : cases) {
        const ScreenRect p = PlacedWindow(c.work, c.width, c.height);
        EXPECT_EQ(std::tie(p.x, p.y, p.width, p.height), std::tie(c.x, c.y, c.width, c.height)) << c.work.width;
    }
}

TEST(WindowLayout, BoxesScaleEdgeByEdge) {
    struct Case {
        Box box;
        double factor;
        int32_t clientWidth;
        Edges expected;
    };
    const Case cases[] = {
        {{216, 146, 152, 27}, 1.0, 1020, {216, 146, 368, 173}},
        {{0, 660, FullWidth, 60}, 1.0, 1020, {0, 660, 1020, 720}},
        {{-240, 8, 214, 26}, 1.0, 1020, {780, 8, 994, 34}},  // against the right edge
        {{216, 146, 152, 27}, 1.5, 1530, {324, 219, 552, 260}},
        {{-240, 8, 214, 26}, 1.5, 1530, {1170, 12, 1491, 51}},
        // At 125 % each edge rounds on its own, so the right panel still starts just right of the left one.
        {{20, 96, 440, 552}, 1.25, 1275, {25, 120, 575, 810}},
        {{476, 96, 524, 552}, 1.25, 1275, {595, 120, 1250, 810}},
    };
    for (const Case& c : cases) {
        const Edges g = ScaleBox(c.box, c.factor, c.clientWidth), e = c.expected;
        EXPECT_EQ(std::tie(g.left, g.top, g.right, g.bottom), std::tie(e.left, e.top, e.right, e.bottom))
            << c.box.x << "," << c.box.y << " at " << c.factor;
    }
}

// Every box inside the window; the rows of the most inputs a tool may have clear of each other and of the
// panel's edge; a broken label between the fields above and below.
TEST(WindowLayout, EveryBoxStandsInsideTheWindowAndRowsDoNotMeet) {
    const Box window = {0, 0, ClientWidth, ClientHeight};
    for (int32_t i = 0; i < FillRowCount; ++i) EXPECT_TRUE(Inside(FillRows[i].box, window)) << "fill " << i;
    for (int32_t i = 0; i < TextRowCount; ++i) EXPECT_TRUE(Inside(TextRows[i].box, window)) << "text " << i;
    const Box leftPanel = OutlineRows[0].box, rightPanel = OutlineRows[1].box;
    const Box bar = FillRows[FillRowCount - 1].box;
    for (const ResultRow& row : ResultRows)
        EXPECT_TRUE(Inside(row.box, row.control == ResultControl::Status ? bar : rightPanel));
    const LabelLayout oneLine = {false, 0, true}, twoLines = {true, 3, true};
    for (int32_t row = 0; row < 14; ++row) {
        const Box field = FieldBox(row), unit = UnitBox(row), label = LabelBoxOf(oneLine, row);
        for (const Box& box : {field, unit, label, LabelBoxOf(twoLines, row)}) EXPECT_TRUE(Inside(box, leftPanel)) << row;
        EXPECT_LT(label.x + label.w, field.x);
        EXPECT_LT(field.x + field.w, unit.x);
        EXPECT_LE(field.y + field.h, FieldBox(row + 1).y) << row;
        const Box broken = LabelBoxOf(twoLines, row);
        EXPECT_EQ(broken.y + broken.h / 2, field.y + field.h / 2) << row;
    }
}

TEST(WindowLayout, LabelsAlignByHowTheyFit) {
    struct Case {
        LabelLayout layout;
        TextAlign horizontal;
        bool centred, wholeOnHover;
    };
    const Case cases[] = {
        {{false, 0, true}, TextAlign::Right, false, false},
        {{true, 0, true}, TextAlign::Right, true, false},
        {{true, 4, true}, TextAlign::Right, true, false},
        {{true, 4, false}, TextAlign::Left, true, true},
    };
    for (const Case& c : cases) {
        const LabelAlignment a = LabelAlignmentOf(c.layout);
        EXPECT_EQ(std::tie(a.horizontal, a.centredVertically, a.wholeOnHover),
                  std::tie(c.horizontal, c.centred, c.wholeOnHover))
            << c.layout.smallFont << c.layout.breakAt << c.layout.fits;
    }
}

TEST(WindowLayout, TheFocusMarkGrowsWithTheScaleButNeverBelowTwoPixels) {
    struct Case {
        double factor;
        int32_t gap, width;
    };
    const Case cases[] = {{0.6, 1, 2}, {1.0, 1, 2}, {1.25, 1, 3}, {1.5, 2, 3}, {2.0, 2, 4}};
    for (const Case& c : cases) {
        const FocusMark mark = FocusMarkAt(c.factor);
        EXPECT_EQ(std::tie(mark.gap, mark.width), std::tie(c.gap, c.width)) << c.factor;
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
