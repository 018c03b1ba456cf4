#include "ui/win32/main_window.h"

#include <commctrl.h>

#include "text/text.h"
#include "ui/run_command.h"
#include "ui/screen_fit.h"
#include "ui/win32/dpi.h"
#include "ui/win32/field_accessible.h"
#include "ui/win32/font_face.h"
#include "ui/win32/key_press.h"
#include "ui/win32/platform_services.h"
#include "ui/win32/wide_text.h"
#include "ui/win32/window_layout.h"
#include "ui/win32/window_paint.h"
#include "ui/window_keys.h"

namespace ovra {
namespace {

constexpr wchar_t WindowClassName[] = L"OvraMedToolWnd";
constexpr UINT AddTipsMessage = WM_APP + 1;
// Each input's label, field and unit; the result controls, the report box's hidden label and the buttons.
constexpr int MaxChildren = MaxInputs * 3 + ResultControlCount + 1 + WindowButtonCount;
constexpr int32_t FieldDescriptionCapacity = 128;
// One brush for each background a control stands on, and the window's own.
constexpr int MaxBrushes = ResultControlCount + 2;

// A child as the shared layout places it at 100 %, so a DPI or screen change can place it again.
struct Placed {
    HWND window;
    Box box;
    FontRole font;
};

// A label the layout breaks in two: drawn by the window, so that its text, which names the field for
// assistive technology, stays the label as written.
struct BrokenLabel {
    HWND window;
    int32_t breakAt;
    LabelAlignment alignment;
};

struct Brush {
    uint32_t colour;
    HBRUSH brush;
};

// The one window of the process, with its front end; lives until the process ends.
struct Shell {
    HINSTANCE instance;
    HWND window;
    UINT dpi;        // of the window's monitor: the frame's
    UINT layoutDpi;  // the layout's: dpi, times the factor that fits the window into the work area
    FrontEnd state;
    Outcome outcome;
    HFONT fonts[FontRoleCount];
    const wchar_t* faces[FontRoleCount];  // of each font's face list, the face the system has
    Brush brushes[MaxBrushes];
    int brushCount;
    HWND fields[MaxInputs];
    char16_t fieldDescriptions[MaxInputs][FieldDescriptionCapacity];
    WNDPROC systemEditProc;
    BrokenLabel brokenLabels[MaxInputs];
    int brokenLabelCount;
    HWND cutLabels[MaxInputs];  // labels that cannot show whole: their text in a tooltip
    const char16_t* cutLabelTexts[MaxInputs];
    int cutLabelCount;
    HWND results[ResultControlCount];  // in the order of ResultControl
    HWND buttons[WindowButtonCount];
    HWND lastFocus;  // the control that had the focus when the window was last left
    Placed children[MaxChildren];
    int childCount;
};
Shell shell = {};

HFONT FontFor(FontRole role) { return shell.fonts[static_cast<int>(role)]; }
HWND ResultWindow(ResultControl control) { return shell.results[static_cast<int>(control)]; }
FocusMark CurrentFocusMark() { return FocusMarkAt(FactorOf(shell.layoutDpi)); }

// Made when first asked for and kept: the few colours the controls stand on.
HBRUSH BrushOf(uint32_t colour) {
    for (int i = 0; i < shell.brushCount; ++i)
        if (shell.brushes[i].colour == colour) return shell.brushes[i].brush;
    const HBRUSH brush = CreateSolidBrush(ColorRefFromRgb(colour));
    if (shell.brushCount < MaxBrushes) shell.brushes[shell.brushCount++] = Brush{colour, brush};
    return brush;
}

// Looked up once for each face list the font table holds; the system's fonts do not change while it runs.
void ChooseFaces() {
    for (int f = 0; f < FontRoleCount; ++f) {
        shell.faces[f] = nullptr;
        for (int earlier = 0; earlier < f && shell.faces[f] == nullptr; ++earlier)
            if (FontRows[earlier].faces == FontRows[f].faces) shell.faces[f] = shell.faces[earlier];
        if (shell.faces[f] == nullptr) shell.faces[f] = FirstInstalledFace(WideFromUtf16(FontRows[f].faces));
    }
}

void CreateFonts(UINT dpi) {
    for (int f = 0; f < FontRoleCount; ++f) {
        const FontRow& row = FontRows[f];
        shell.fonts[f] = CreateFontW(-Scaled(row.pixelHeight, dpi), 0, 0, 0, row.bold ? FW_BOLD : FW_NORMAL, FALSE,
                                     FALSE, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS,
                                     CLEARTYPE_QUALITY, DEFAULT_PITCH | FF_DONTCARE, shell.faces[f]);
    }
}

HWND CreateChild(const wchar_t* className, const char16_t* text, DWORD style, DWORD exStyle, const Box& box, int id,
                 FontRole font) {
    const RECT rect = ScaledRect(box, shell.layoutDpi, Scaled(ClientWidth, shell.layoutDpi));
    HWND child = CreateWindowExW(exStyle, className, WideFromUtf16(text), WS_CHILD | WS_VISIBLE | style, rect.left,
                                 rect.top, rect.right - rect.left, rect.bottom - rect.top, shell.window,
                                 reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), shell.instance, nullptr);
    SendMessageW(child, WM_SETFONT, reinterpret_cast<WPARAM>(FontFor(font)), TRUE);
    if (shell.childCount < MaxChildren) shell.children[shell.childCount++] = Placed{child, box, font};
    return child;
}

RECT WorkAreaOf(HMONITOR monitor) {
    MONITORINFO info = {};
    info.cbSize = sizeof info;
    if (monitor != nullptr && GetMonitorInfoW(monitor, &info)) return info.rcWork;
    RECT work = {0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
    return work;
}

ScreenRect PlacedIn(const RECT& work, SIZE outer) {
    const ScreenRect area = {work.left, work.top, work.right - work.left, work.bottom - work.top};
    return PlacedWindow(area, outer.cx, outer.cy);
}

void MoveMainWindow(HWND window, const ScreenRect& at) {
    SetWindowPos(window, nullptr, at.x, at.y, at.width, at.height, SWP_NOZORDER | SWP_NOACTIVATE);
}

FocusStop StopOf(HWND control) {
    const Tool& tool = *shell.state.tool;
    for (int32_t i = 0; i < tool.inputCount && i < MaxInputs; ++i) {
        if (shell.fields[i] == control) return FocusStop{StopKind::Field, i};
    }
    if (control == ResultWindow(ResultControl::Report)) return FocusStop{StopKind::ReportBox, 0};
    for (int32_t b = 0; b < WindowButtonCount; ++b) {
        if (shell.buttons[b] == control) return FocusStop{StopKind::Button, b};
    }
    return FocusStop{StopKind::Window, 0};
}

HWND ControlOf(FocusStop stop) {
    switch (stop.kind) {
        case StopKind::Field:
            return stop.index >= 0 && stop.index < MaxInputs ? shell.fields[stop.index] : nullptr;
        case StopKind::ReportBox:
            return ResultWindow(ResultControl::Report);
        case StopKind::Button:
            return stop.index >= 0 && stop.index < WindowButtonCount ? shell.buttons[stop.index] : nullptr;
        case StopKind::Window:
            break;
    }
    return nullptr;
}

// Every focus change goes through here, so the window always knows where to give the focus back.
void FocusControl(HWND control) {
    if (control == nullptr) return;
    shell.lastFocus = control;
    SetFocus(control);
}

// Where the focus goes when the main window itself would get it: back to the control that had it.
HWND ControlToRefocus() {
    if (shell.lastFocus != nullptr && IsWindow(shell.lastFocus)) return shell.lastFocus;
    const HWND first = ControlOf(NextFocusStop(FocusStop{StopKind::Window, 0}, shell.state.tool->inputCount, false));
    return first != nullptr ? first : shell.buttons[0];
}

// A focused field or report box gets a frame painted by the window around it.
bool IsFramedControl(HWND control) {
    const FocusStop stop = StopOf(control);
    return control != nullptr && (stop.kind == StopKind::Field || stop.kind == StopKind::ReportBox);
}

// The focus frame's outer edge around `control`, in the window's client coordinates.
RECT FocusFrameRect(HWND control) {
    RECT rect;
    GetWindowRect(control, &rect);
    MapWindowPoints(nullptr, shell.window, reinterpret_cast<POINT*>(&rect), 2);
    const FocusMark mark = CurrentFocusMark();
    InflateRect(&rect, mark.gap + mark.width, mark.gap + mark.width);
    return rect;
}

void InvalidateFocusFrame(HWND control) {
    if (!IsFramedControl(control)) return;
    const RECT rect = FocusFrameRect(control);
    InvalidateRect(shell.window, &rect, FALSE);
}

// Says a changed text out loud: the object named by the text tells assistive technology it changed.
void Announce(HWND object, DWORD event) { NotifyWinEvent(event, object, OBJID_CLIENT, CHILDID_SELF); }

void ShowNotice(const Outcome& done) {
    // A closing message box gives the focus to the bare main window; it goes back where it was instead.
    const HWND had = GetFocus();
    ShowNoticeBox(shell.window, done.noticeIcon, done.noticeCaption, done.noticeText);
    if (had != nullptr && IsChild(shell.window, had)) FocusControl(had);
}

void ApplyOutcome(const Outcome& done) {
    const Tool& tool = *shell.state.tool;
    if (done.restoreFields) {
        for (int32_t i = 0; i < tool.inputCount && i < MaxInputs; ++i) {
            char16_t text[LineTextCapacity];
            DefaultFieldText(tool.inputs[i], text, LineTextCapacity);
            SetWindowTextW(shell.fields[i], WideFromUtf16(text));
        }
        SetWindowTextW(ResultWindow(ResultControl::Advice), WideFromUtf16(tool.advice));
    }
    const HWND verdict = ResultWindow(ResultControl::Verdict);
    const HWND report = ResultWindow(ResultControl::Report);
    const HWND status = ResultWindow(ResultControl::Status);
    if (done.showResult) {
        SetWindowTextW(report, WideFromUtf16(done.report));
        SetWindowTextW(verdict, WideFromUtf16(done.verdict));
    }
    // The verdict line takes the colour of the new level when it repaints its background.
    InvalidateRect(verdict, nullptr, TRUE);
    wchar_t shown[StatusTextCapacity];
    GetWindowTextW(status, shown, StatusTextCapacity);
    const bool statusChanged = lstrcmpW(shown, WideFromUtf16(shell.state.statusText)) != 0;
    if (statusChanged) SetWindowTextW(status, WideFromUtf16(shell.state.statusText));
    if (done.showResult || done.announce == Announcement::Verdict) {
        Announce(report, EVENT_OBJECT_VALUECHANGE);
        Announce(verdict, EVENT_OBJECT_NAMECHANGE);
    }
    if (statusChanged || done.announce == Announcement::Status) Announce(status, EVENT_OBJECT_NAMECHANGE);
    if (done.noticeIcon != NoticeIcon::None) ShowNotice(done);
    // Otherwise the focus stays where it was: on the control whose key or click ran the command.
    if (done.focus == FocusTarget::Field && done.focusField >= 0 && done.focusField < tool.inputCount)
        FocusControl(shell.fields[done.focusField]);
}

const ShellServices Services = {
    nullptr,
    [](void*, int32_t index, char16_t* out, int32_t capacity) {
        GetWindowTextW(shell.fields[index], WideFromUtf16(out), capacity);
    },
    LocalTimeNow,
    [](void*, char16_t* out, int32_t capacity) { RecordsFolderPath(out, capacity); },
    [](void*, const char16_t* text) { return PutClipboardText(shell.window, text); },
};

// The command `action` names, then what it did shown.
void RunCommand(KeyAction action) {
    if (RunCommand(shell.state, action, Services, shell.outcome)) ApplyOutcome(shell.outcome);
}

void MoveFocus(FocusStop from, bool backward) {
    const FocusMove move = TabFrom(from, shell.state.tool->inputCount, backward);
    const HWND next = ControlOf(move.to);
    if (next == nullptr) return;
    FocusControl(next);
    if (move.selectAll) SendMessageW(next, EM_SETSEL, 0, -1);
}

// Fonts and child positions for the layout DPI `dpi`; the previous fonts go once no control uses them.
void ApplyLayoutDpi(UINT dpi) {
    HFONT previous[FontRoleCount];
    for (int f = 0; f < FontRoleCount; ++f) previous[f] = shell.fonts[f];
    shell.layoutDpi = dpi;
    CreateFonts(dpi);
    const int clientWidth = Scaled(ClientWidth, dpi);
    for (int c = 0; c < shell.childCount; ++c) {
        const Placed& child = shell.children[c];
        const RECT rect = ScaledRect(child.box, dpi, clientWidth);
        MoveWindow(child.window, rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top, FALSE);
        SendMessageW(child.window, WM_SETFONT, reinterpret_cast<WPARAM>(FontFor(child.font)), FALSE);
    }
    for (HFONT font : previous) DeleteObject(font);
}

int32_t LabelWidthInDc(const void* dc, const char16_t* text, int32_t length, bool smallFont) {
    HDC measuring = static_cast<HDC>(const_cast<void*>(dc));
    SelectObject(measuring, FontFor(smallFont ? FontRole::Small : FontRole::Label));
    SIZE size = {};
    return GetTextExtentPoint32W(measuring, WideFromUtf16(text), length, &size) ? size.cx : INT32_MAX;
}

// The label as the front end lays it out, measured in the fonts of the current DPI. Created right before
// its field, it names the field for assistive technology.
void PlaceInputLabel(const char16_t* label, int32_t row) {
    HDC dc = GetDC(shell.window);
    const HGDIOBJ original = SelectObject(dc, FontFor(FontRole::Label));
    const LabelLayout layout = LayOutLabel(label, Scaled(LabelBoxWidth, shell.layoutDpi), LabelWidthInDc, dc);
    SelectObject(dc, original);
    ReleaseDC(shell.window, dc);
    const LabelAlignment alignment = LabelAlignmentOf(layout);
    const bool broken = layout.breakAt > 0 && layout.breakAt < TextLength(label);
    DWORD style = alignment.horizontal == TextAlign::Right ? SS_RIGHT : SS_LEFTNOWORDWRAP;
    if (layout.breakAt == 0 && alignment.centredVertically) style |= SS_CENTERIMAGE;
    if (broken) style = SS_OWNERDRAW;
    // A tooltip sees the mouse over a static control only when the control takes it.
    if (alignment.wholeOnHover) style |= SS_NOTIFY;
    const HWND created = CreateChild(L"STATIC", label, style | SS_NOPREFIX, 0, LabelBoxOf(layout, row), 0,
                                     layout.smallFont ? FontRole::Small : FontRole::Label);
    if (broken && shell.brokenLabelCount < MaxInputs)
        shell.brokenLabels[shell.brokenLabelCount++] = BrokenLabel{created, layout.breakAt, alignment};
    if (alignment.wholeOnHover && shell.cutLabelCount < MaxInputs) {
        shell.cutLabels[shell.cutLabelCount] = created;
        shell.cutLabelTexts[shell.cutLabelCount++] = label;
    }
}

// A broken label drawn as the static control would draw the text with its line break.
void DrawBrokenLabel(const DRAWITEMSTRUCT& item) {
    for (int i = 0; i < shell.brokenLabelCount; ++i) {
        const BrokenLabel& label = shell.brokenLabels[i];
        if (label.window != item.hwndItem) continue;
        wchar_t caption[LineTextCapacity + 1];
        const int length = GetWindowTextW(label.window, caption, LineTextCapacity);
        for (int k = length; k >= label.breakAt; --k) caption[k + 1] = caption[k];
        caption[label.breakAt] = L'\n';
        const HFONT font = reinterpret_cast<HFONT>(SendMessageW(label.window, WM_GETFONT, 0, 0));
        DrawLabelText(item, caption, font, label.alignment);
    }
}

// The fields answer assistive technology with their description; everything else is the edit control's.
LRESULT CALLBACK FieldProc(HWND field, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_GETOBJECT && static_cast<LONG>(static_cast<DWORD>(lParam)) == OBJID_CLIENT) {
        const FocusStop stop = StopOf(field);
        const LRESULT answer = DescribedFieldObject(field, wParam, WideFromUtf16(shell.fieldDescriptions[stop.index]));
        if (answer != 0) return answer;
    }
    return CallWindowProcW(shell.systemEditProc, field, message, wParam, lParam);
}

void AddTip(HWND tips, HWND control, const char16_t* text) {
    TOOLINFOW tool = {};
    tool.cbSize = TTTOOLINFOW_V2_SIZE;  // the size every version of the common controls accepts
    tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
    tool.hwnd = shell.window;
    tool.uId = reinterpret_cast<UINT_PTR>(control);
    tool.lpszText = const_cast<wchar_t*>(WideFromUtf16(text));
    SendMessageW(tips, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
}

// Each button's key, and each label that cannot show whole, in a tooltip. Made once the window has been
// painted, so that loading the common controls never delays it.
void AddTips() {
    INITCOMMONCONTROLSEX classes = {sizeof classes, ICC_WIN95_CLASSES};
    InitCommonControlsEx(&classes);
    HWND tips =
        CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX, CW_USEDEFAULT,
                        CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, shell.window, nullptr, shell.instance, nullptr);
    if (tips == nullptr) return;
    for (const ButtonRow& row : ButtonRows)
        if (row.keyHint[0] != 0) AddTip(tips, shell.buttons[static_cast<int>(row.button)], row.keyHint);
    for (int i = 0; i < shell.cutLabelCount; ++i) AddTip(tips, shell.cutLabels[i], shell.cutLabelTexts[i]);
}

// A static control for the text of `row`; the report box is a read-only edit, named by a hidden label right
// before it, as the caption above it is painted.
void CreateResultControl(const ResultRow& row, const char16_t* text) {
    HWND& control = shell.results[static_cast<int>(row.control)];
    if (row.control == ResultControl::Report) {
        const HWND name =
            CreateChild(L"STATIC", ReportBoxName, SS_LEFT | SS_NOPREFIX, 0, ResultCaptionBox(), 0, FontRole::Caption);
        ShowWindow(name, SW_HIDE);
        control = CreateChild(L"EDIT", text, ES_MULTILINE | ES_READONLY | ES_AUTOVSCROLL | WS_VSCROLL | WS_TABSTOP,
                              WS_EX_CLIENTEDGE, row.box, ReportBoxId, row.font);
        return;
    }
    DWORD style = row.align == TextAlign::Right ? SS_RIGHT : SS_LEFT;
    if (!row.wraps) style |= SS_ENDELLIPSIS;  // one line, cut with an ellipsis
    if (row.centredVertically) style |= SS_CENTERIMAGE;
    control = CreateChild(L"STATIC", text, style | SS_NOPREFIX, 0, row.box, 0, row.font);
}

// ---- message handlers, one per message

bool OnCreate(HWND window) {
    shell.window = window;
    const Tool& tool = *shell.state.tool;
    for (int32_t i = 0; i < tool.inputCount && i < MaxInputs; ++i) {
        const InputField& input = tool.inputs[i];
        PlaceInputLabel(input.label, i);
        char16_t text[LineTextCapacity];
        DefaultFieldText(input, text, LineTextCapacity);
        shell.fields[i] = CreateChild(L"EDIT", text, ES_LEFT | ES_AUTOHSCROLL | WS_TABSTOP, WS_EX_CLIENTEDGE,
                                      FieldBox(i), FirstFieldId + i, FontRole::Field);
        FieldAccessibleDescription(input, shell.fieldDescriptions[i], FieldDescriptionCapacity);
        const LONG_PTR editProc =
            SetWindowLongPtrW(shell.fields[i], GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(FieldProc));
        shell.systemEditProc = reinterpret_cast<WNDPROC>(editProc);
        if (input.unit != nullptr && input.unit[0] != 0)
            CreateChild(L"STATIC", input.unit, SS_LEFT | SS_NOPREFIX, 0, UnitBox(i), 0, FontRole::Small);
    }
    char16_t reference[LineTextCapacity];
    ReferenceLineText(tool, reference, LineTextCapacity);
    // In the order of ResultControl.
    const char16_t* const startTexts[ResultControlCount] = {InitialVerdictText, nullptr, tool.advice, reference,
                                                            shell.state.statusText};
    // The status line after the buttons, where a screen reader reading the window comes to it last.
    for (const ResultRow& row : ResultRows)
        if (row.control != ResultControl::Status) CreateResultControl(row, startTexts[static_cast<int>(row.control)]);
    for (const ButtonRow& row : ButtonRows)
        shell.buttons[static_cast<int>(row.button)] =
            CreateChild(L"BUTTON", row.caption, BS_PUSHBUTTON | BS_OWNERDRAW | WS_TABSTOP, 0, row.box,
                        FirstButtonId + static_cast<int>(row.button), FontRole::Button);
    CreateResultControl(ResultRowOf(ResultControl::Status), startTexts[static_cast<int>(ResultControl::Status)]);
    return true;
}

void OnDestroy() { PostQuitMessage(0); }

void OnPaint(HWND window) {
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(window, &paint);
    RECT client;
    GetClientRect(window, &client);
    PaintMainWindow(dc, client, shell.layoutDpi, *shell.state.tool, shell.fonts);
    const HWND focus = GetFocus();
    if (IsFramedControl(focus)) PaintFocusFrame(dc, FocusFrameRect(focus), CurrentFocusMark().width, Colours.focusMark);
    EndPaint(window, &paint);
}

void OnGetMinMaxInfo(MINMAXINFO& info) {
    // Computed for the frame of this system rather than fixed numbers, so the client area stays exact.
    const SIZE outer = OuterSize(shell.layoutDpi, shell.dpi);
    info.ptMinTrackSize = POINT{outer.cx, outer.cy};
    info.ptMaxTrackSize = POINT{outer.cx, outer.cy};
}

// A field's colours, or a static control's (the read-only report box is one): a result control's from its
// row, the rest in the colour `text` on the panel.
HBRUSH OnCtlColor(HDC dc, HWND control, uint32_t text) {
    uint32_t background = Colours.panel;
    for (const ResultRow& row : ResultRows) {
        if (ResultWindow(row.control) != control) continue;
        text = row.control == ResultControl::Verdict ? VerdictColour(shell.state) : row.textColour;
        background = row.background;
    }
    SetTextColor(dc, ColorRefFromRgb(text));
    SetBkColor(dc, ColorRefFromRgb(background));
    return BrushOf(background);
}

bool OnCommand(int id, int code, HWND control) {
    if (code == EN_SETFOCUS || code == EN_KILLFOCUS) {
        if (code == EN_SETFOCUS) shell.lastFocus = control;
        InvalidateFocusFrame(control);
        return true;
    }
    if (id < FirstButtonId || id >= FirstButtonId + WindowButtonCount) return false;
    RunCommand(ButtonCommand(static_cast<WindowButton>(id - FirstButtonId)));
    return true;
}

void OnDrawItem(const DRAWITEMSTRUCT& item) {
    if (item.CtlType == ODT_STATIC) {
        DrawBrokenLabel(item);
        return;
    }
    const ButtonRow& row = ButtonRowOf(static_cast<WindowButton>(static_cast<int>(item.CtlID) - FirstButtonId));
    DrawButton(item, row, FontFor(FontRole::Button), CurrentFocusMark());
}

void OnActivate(HWND window, WPARAM state) {
    // Leaving, the control that had the focus is kept; coming back, it gets the focus again.
    const HWND focus = GetFocus();
    if (LOWORD(state) == WA_INACTIVE) {
        if (focus != nullptr && IsChild(window, focus)) shell.lastFocus = focus;
        return;
    }
    if (HIWORD(state) == 0) FocusControl(ControlToRefocus());
}

// Lays the window out for a monitor at `dpi` with the work area `work`; returns its outer size.
SIZE FitToScreen(UINT dpi, const RECT& work) {
    shell.dpi = dpi;
    const UINT layoutDpi = FittedLayoutDpi(dpi, work);
    if (layoutDpi != shell.layoutDpi) ApplyLayoutDpi(layoutDpi);
    return OuterSize(shell.layoutDpi, dpi);
}

void OnDpiChanged(HWND window, UINT dpi, const RECT& suggested) {
    const RECT work = WorkAreaOf(MonitorFromRect(&suggested, MONITOR_DEFAULTTONEAREST));
    const SIZE outer = FitToScreen(dpi, work);
    ScreenRect at = {suggested.left, suggested.top, outer.cx, outer.cy};
    if (shell.layoutDpi != dpi) at = PlacedIn(work, outer);
    MoveMainWindow(window, at);
    InvalidateRect(window, nullptr, TRUE);
}

// The work area or the screen changed: the window fits it again, and is placed anew when it had to change.
void OnScreenChanged(HWND window) {
    const UINT before = shell.layoutDpi;
    const RECT work = WorkAreaOf(MonitorFromWindow(window, MONITOR_DEFAULTTONEAREST));
    const SIZE outer = FitToScreen(DpiOfWindow(window), work);
    if (shell.layoutDpi == before) return;
    MoveMainWindow(window, PlacedIn(work, outer));
    InvalidateRect(window, nullptr, TRUE);
}

LRESULT CALLBACK MainWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_CREATE:
            return OnCreate(window) ? 0 : -1;
        case WM_DESTROY:
            OnDestroy();
            return 0;
        case WM_PAINT:
            OnPaint(window);
            return 0;
        case WM_ERASEBKGND:
            return 1;
        case WM_GETMINMAXINFO:
            OnGetMinMaxInfo(*reinterpret_cast<MINMAXINFO*>(lParam));
            return 0;
        case WM_DRAWITEM:
            OnDrawItem(*reinterpret_cast<const DRAWITEMSTRUCT*>(lParam));
            return TRUE;
        case WM_CTLCOLOREDIT:
            return reinterpret_cast<LRESULT>(
                OnCtlColor(reinterpret_cast<HDC>(wParam), reinterpret_cast<HWND>(lParam), FieldTextColour));
        case WM_CTLCOLORSTATIC:
            return reinterpret_cast<LRESULT>(
                OnCtlColor(reinterpret_cast<HDC>(wParam), reinterpret_cast<HWND>(lParam), LabelColour));
        case WM_COMMAND:
            if (OnCommand(LOWORD(wParam), HIWORD(wParam), reinterpret_cast<HWND>(lParam))) return 0;
            break;
        case WM_ACTIVATE:
            OnActivate(window, wParam);
            return 0;
        case WM_SETFOCUS:
            FocusControl(ControlToRefocus());
            return 0;
        case WM_DPICHANGED:
            OnDpiChanged(window, HIWORD(wParam), *reinterpret_cast<const RECT*>(lParam));
            return 0;
        case AddTipsMessage:
            AddTips();
            return 0;
        case WM_DISPLAYCHANGE:
            OnScreenChanged(window);
            return 0;
        case WM_SETTINGCHANGE:
            if (wParam == SPI_SETWORKAREA) OnScreenChanged(window);
            break;
        default:
            break;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

// A key-down aimed at the window or a control in it, as the shared key rule says: a command, a focus move, or
// nothing at all; true when the message was used up, so it is neither translated nor dispatched.
bool ApplyKeyRule(const MSG& message) {
    if (message.message != WM_KEYDOWN && message.message != WM_SYSKEYDOWN) return false;
    if (shell.window == nullptr || (message.hwnd != shell.window && !IsChild(shell.window, message.hwnd))) return false;
    const KeyPress press = KeyPressFromMessage(message.wParam, message.lParam, GetKeyState(VK_CONTROL) < 0,
                                               GetKeyState(VK_MENU) < 0, GetKeyState(VK_SHIFT) < 0);
    const FocusStop focused = StopOf(message.hwnd);
    const KeyAction action = KeyActionFor(press, focused);
    switch (action) {
        case KeyAction::PassOn:
            return false;
        case KeyAction::Swallow:
            // Used up before translation, so no character reaches the field either.
            return true;
        case KeyAction::SelectAll:
            SendMessageW(message.hwnd, EM_SETSEL, 0, -1);
            return true;
        case KeyAction::Calculate:
        case KeyAction::Save:
        case KeyAction::Copy:
        case KeyAction::Reset:
        case KeyAction::About:
            RunCommand(action);
            return true;
        case KeyAction::FocusNext:
        case KeyAction::FocusPrevious:
            MoveFocus(focused, action == KeyAction::FocusPrevious);
            return true;
    }
    return false;
}

}  // namespace

HWND CreateMainWindow(HINSTANCE instance, const Tool& tool) {
    shell.instance = instance;
    StartFrontEnd(shell.state, tool);
    // Laid out for the primary monitor, where the window opens; corrected below for another one.
    const UINT dpi = SystemDpi();
    const RECT work = WorkAreaOf(MonitorFromPoint(POINT{0, 0}, MONITOR_DEFAULTTOPRIMARY));
    shell.dpi = dpi;
    shell.layoutDpi = FittedLayoutDpi(dpi, work);
    ChooseFaces();
    CreateFonts(shell.layoutDpi);

    WNDCLASSEXW windowClass = {};
    windowClass.cbSize = sizeof windowClass;
    windowClass.lpfnWndProc = MainWindowProc;
    windowClass.hInstance = instance;
    windowClass.hIcon = LoadIconW(instance, MAKEINTRESOURCEW(1));
    // An integer resource, the same in either character set.
    windowClass.hCursor = LoadCursorW(nullptr, reinterpret_cast<const wchar_t*>(IDC_ARROW));
    windowClass.hbrBackground = BrushOf(Colours.windowBackground);
    windowClass.lpszClassName = WindowClassName;
    RegisterClassExW(&windowClass);

    const ScreenRect at = PlacedIn(work, OuterSize(shell.layoutDpi, dpi));
    HWND window = CreateWindowExW(0, WindowClassName, WideFromUtf16(tool.title), MainWindowStyle, at.x, at.y, at.width,
                                  at.height, nullptr, nullptr, instance, nullptr);
    if (window == nullptr) return nullptr;
    // The monitor the window opened on may have another DPI than the system's.
    const UINT windowDpi = DpiOfWindow(window);
    if (windowDpi != dpi) {
        const RECT windowWork = WorkAreaOf(MonitorFromWindow(window, MONITOR_DEFAULTTONEAREST));
        MoveMainWindow(window, PlacedIn(windowWork, FitToScreen(windowDpi, windowWork)));
    }
    return window;
}

int RunMainWindow(HINSTANCE instance, const Tool& tool) {
    HWND window = CreateMainWindow(instance, tool);
    if (window == nullptr) return 1;
    ShowWindow(window, SW_SHOW);
    UpdateWindow(window);
    FocusControl(ControlToRefocus());
    PostMessageW(window, AddTipsMessage, 0, 0);
    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        if (ApplyKeyRule(message)) continue;
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    return 0;
}

}  // namespace ovra
