#pragma once
// The window's geometry and fonts as constant tables in 96-DPI pixels; every use scales them by dpi/96.
#include <windows.h>

#include <cstdint>

#include "ui/window_colours.h"

namespace ovra {

constexpr int ClientWidth = 1020;
constexpr int ClientHeight = 720;
constexpr DWORD MainWindowStyle = WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_CLIPCHILDREN;
constexpr int FullWidth = -1;  // a box that reaches the right edge of the client area

enum FontRole {
    TitleFont,
    CaptionFont,
    LabelFont,
    FieldFont,
    VerdictFont,
    ReportFont,
    ButtonFont,
    SmallFont,
    FontCount
};

struct FontRow {
    int height;  // character height, not cell height
    int weight;
    const wchar_t* const* faces;  // in order of preference, ended by nullptr: the first the system has is used
};
extern const FontRow FontRows[FontCount];

struct Box {
    int x, y, w, h;
};

enum ButtonIndex { CalculateButton, SaveButton, CopyButton, ResetButton, AboutButton, ButtonCount };
constexpr int FirstButtonId = 1001;
constexpr int FirstFieldId = 2000;
constexpr int ReportBoxId = 3000;

struct ButtonRow {
    const char16_t* caption;
    Box box;
};
extern const ButtonRow ButtonRows[ButtonCount];

// Rows of input i start at InputRowTop + InputRowStep * i.
constexpr int InputRowTop = 150;
constexpr int InputRowStep = 34;
Box InputFieldBox(int32_t row);
Box UnitLabelBox(int32_t row);
constexpr Box VerdictLineBox = {492, 142, 492, 46};
constexpr Box ReportBoxBox = {492, 196, 492, 232};
constexpr Box AdviceTextBox = {492, 444, 492, 120};
constexpr Box ReferenceLineBox = {492, 576, 492, 56};
constexpr Box ResultCaptionBox = {492, 104, 300, 30};
// A static control rather than paint, so that it is read out.
constexpr Box StatusLineBox = {740, 704, 264, 16};

enum class Painted { Title, SubLine, WebAddress, InputCaption, ResultCaption };

struct FillRow {
    Box box;
    uint32_t colour;
};
struct TextRow {
    Box box;  // x below 0 counts from the right edge
    Painted text;
    FontRole font;
    uint32_t colour;
    UINT align;
};
extern const FillRow FillRows[];
extern const int FillRowCount;
extern const FillRow OutlineRows[];
extern const int OutlineRowCount;
extern const TextRow TextRows[];
extern const int TextRowCount;

// Pixels at `dpi` for a length of the tables.
inline int Scaled(int length, UINT dpi) { return MulDiv(length, static_cast<int>(dpi), 96); }
// The box at `dpi`; a FullWidth or right-based box is placed against the client width `clientWidth`.
RECT ScaledRect(const Box& box, UINT dpi, int clientWidth);

}  // namespace ovra
