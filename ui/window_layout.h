#pragma once
// The whole window at 100 % (96 DPI), once, for both shells: every box, fill, painted text, control, button
// and font. A shell builds, paints and places from these rows alone, scaled by ScaleBox; it holds no
// coordinate, caption, colour or face name of its own.
#include <cstdint>

#include "tool/tool.h"
#include "ui/frontend.h"
#include "ui/window_colours.h"
#include "ui/window_keys.h"

namespace ovra {

constexpr int32_t ClientWidth = 1020;
constexpr int32_t ClientHeight = 720;

// In 100 % pixels. A box with x below 0 stands that far left of the right edge; one of width FullWidth
// reaches the right edge.
struct Box {
    int32_t x, y, w, h;
};
constexpr int32_t FullWidth = -1;

// A box scaled by `factor`, in device pixels: the edges are scaled, not the sizes, so boxes that meet at 100 %
// still meet. `clientWidth` is the scaled client width, for boxes placed against the right edge.
struct Edges {
    int32_t left, top, right, bottom;
};
Edges ScaleBox(const Box& box, double factor, int32_t clientWidth);
int32_t ScaleLength(int32_t length, double factor);

enum class FontRole : int32_t { Title, Caption, Label, Field, Verdict, Report, Button, Small };
constexpr int32_t FontRoleCount = 8;
struct FontRow {
    int32_t pixelHeight;  // the character height, not the cell's
    bool bold;
    const char16_t* const* faces;  // in order of preference, ended by nullptr: a shell uses the first it has
};
extern const FontRow FontRows[FontRoleCount];
const FontRow& FontOf(FontRole role);

enum class TextAlign : int32_t { Left, Right };

// Fills and outlines in painting order: later boxes cover earlier ones. An outline is one pixel inside its box.
struct FillRow {
    Box box;
    uint32_t colour;
};
extern const FillRow FillRows[];
extern const int32_t FillRowCount;
extern const FillRow OutlineRows[];
extern const int32_t OutlineRowCount;

// Texts painted by the window itself, each on one line, vertically centred, cut with an ellipsis.
enum class PaintedText : int32_t { Title, SubLine, WebAddress, InputCaption, ResultCaption };
struct TextRow {
    Box box;
    PaintedText text;
    FontRole font;
    uint32_t colour;
    TextAlign align;
};
extern const TextRow TextRows[];
extern const int32_t TextRowCount;
// The text a painted row shows for `tool`.
void PaintedTextOf(PaintedText which, const Tool& tool, char16_t* out, int32_t capacity);

// The input rows: a label, a field and, where the input has one, its unit, for input `row`.
constexpr int32_t InputRowTop = 150;
constexpr int32_t InputRowStep = 34;
constexpr int32_t LabelBoxWidth = 184;
Box FieldBox(int32_t row);
Box UnitBox(int32_t row);
// Where the label of input `row` stands once laid out to LabelBoxWidth.
Box LabelBoxOf(const LabelLayout& layout, int32_t row);
// A label that fits stands against its field; one that cannot keeps its beginning in view, and shows whole on
// hover. A label in the small font is centred on its row, so that its baseline meets that of the label font.
struct LabelAlignment {
    TextAlign horizontal;
    bool centredVertically;
    bool wholeOnHover;
};
LabelAlignment LabelAlignmentOf(const LabelLayout& layout);

// The controls of the result panel and the status line: each shows a text of the front end.
enum class ResultControl : int32_t { Verdict, Report, Advice, Reference, Status };
constexpr int32_t ResultControlCount = 5;
struct ResultRow {
    ResultControl control;
    Box box;
    FontRole font;
    uint32_t textColour;  // the verdict's is VerdictColour(state) instead
    uint32_t background;
    TextAlign align;
    bool centredVertically;  // else at the top of its box
    bool wraps;
};
extern const ResultRow ResultRows[ResultControlCount];
const ResultRow& ResultRowOf(ResultControl control);
// Above the report box: the result caption's box, where a shell that names controls by the text before them
// puts a hidden label with ReportBoxName.
const Box& ResultCaptionBox();
// The input rows' colours: labels, units and fields.
constexpr uint32_t LabelColour = Colours.labelText;
constexpr uint32_t FieldTextColour = Colours.bodyText;

// The five buttons on the button bar, in the order of WindowButton.
struct ButtonRow {
    WindowButton button;
    Box box;
    const char16_t* caption;
    const char16_t* keyHint;  // the key named in its tooltip and description; empty for none
    bool primary;             // drawn in the primary colours
};
extern const ButtonRow ButtonRows[WindowButtonCount];
const ButtonRow& ButtonRowOf(WindowButton button);
struct ButtonScheme {
    uint32_t face, pressedFace, edge, caption, focusMark;
};
const ButtonScheme& ButtonSchemeOf(const ButtonRow& row);

// The focus mark at `factor`, in device pixels, never thinner than 2: a ring `gap` outside a focused field or
// the report box; inside a focused button, `gap` inside its one-pixel edge.
struct FocusMark {
    int32_t gap, width;
};
FocusMark FocusMarkAt(double factor);

}  // namespace ovra
