#include "ui/win32/main_window.h"

#include <commctrl.h>

#include "text/text.h"
#include "ui/field_reading.h"
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
constexpr UINT AddButtonTipsMessage = WM_APP + 1;
constexpr int MaxChildren = MaxInputs * 3 + 6 + ButtonCount;
constexpr int32_t FieldDescriptionCapacity = 128;

// A child as laid out at 96 DPI, so a DPI or screen change can place it again.
struct Placed {
    HWND window;
    Box box;
    int font;  // a FontRole, or -1 for a control that selects its own font
};

// A label the layout breaks in two: drawn by the window, so that its text, which names the field for
// assistive technology, stays the label as written.
struct BrokenLabel {
    HWND window;
    int32_t breakAt;
    bool fits;
};

// The one window of the process, with its front end; lives until the process ends.
struct Shell {
    HINSTANCE instance;
    HWND window;
    UINT dpi;        // of the window's monitor: the frame's
    UINT layoutDpi;  // the layout's: dpi, times the factor that fits the window into the work area
    FrontEnd state;
    Outcome outcome;
    HFONT fonts[FontCount];
    const wchar_t* faces[FontCount];  // of each font's face list, the face the system has
    HBRUSH whiteBrush;
    HBRUSH backgroundBrush;
    HBRUSH barBrush;
    HWND fields[MaxInputs];
    char16_t fieldDescriptions[MaxInputs][FieldDescriptionCapacity];
    WNDPROC systemEditProc;
    BrokenLabel brokenLabels[MaxInputs];
    int brokenLabelCount;
    HWND verdictLine, reportBox, adviceText, statusLine;
    HWND buttons[ButtonCount];
    HWND lastFocus;  // the control that had the focus when the window was last left
    Placed children[MaxChildren];
    int childCount;
    NoticePresenter presenter;
};
Shell shell = {};

// Looked up once for each face list the font table holds; the system's fonts do not change while it runs.
void ChooseFaces() {
    for (int f = 0; f < FontCount; ++f) {
        shell.faces[f] = nullptr;
        for (int earlier = 0; earlier < f && shell.faces[f] == nullptr; ++earlier)
            if (FontRows[earlier].faces == FontRows[f].faces) shell.faces[f] = shell.faces[earlier];
        if (shell.faces[f] == nullptr) shell.faces[f] = FirstInstalledFace(FontRows[f].faces);
    }
}

void CreateFonts(UINT dpi) {
    for (int f = 0; f < FontCount; ++f) {
        const FontRow& row = FontRows[f];
        shell.fonts[f] = CreateFontW(-Scaled(row.height, dpi), 0, 0, 0, row.weight, FALSE, FALSE, FALSE,
                                     DEFAULT_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, CLEARTYPE_QUALITY,
                                     DEFAULT_PITCH | FF_DONTCARE, shell.faces[f]);
    }
}

HWND CreateChild(const wchar_t* className, const char16_t* text, DWORD style, DWORD exStyle, const Box& box, int id,
                 int font) {
    const RECT rect = ScaledRect(box, shell.layoutDpi, Scaled(ClientWidth, shell.layoutDpi));
    HWND child = CreateWindowExW(exStyle, className, WideFromUtf16(text), WS_CHILD | WS_VISIBLE | style, rect.left,
                                 rect.top, rect.right - rect.left, rect.bottom - rect.top, shell.window,
                                 reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), shell.instance, nullptr);
    if (font >= 0) SendMessageW(child, WM_SETFONT, reinterpret_cast<WPARAM>(shell.fonts[font]), TRUE);
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

POINT CentredIn(const RECT& work, SIZE outer) {
    const LONG x = work.left + (work.right - work.left - outer.cx) / 2;
    const LONG y = work.top + (work.bottom - work.top - outer.cy) / 2;
    // A window larger than the work area keeps its caption on the screen.
    return POINT{x < work.left ? work.left : x, y < work.top ? work.top : y};
}

FocusStop StopOf(HWND control) {
    const Tool& tool = *shell.state.tool;
    for (int32_t i = 0; i < tool.inputCount && i < MaxInputs; ++i) {
        if (shell.fields[i] == control) return FocusStop{StopKind::Field, i};
    }
    if (control == shell.reportBox) return FocusStop{StopKind::ReportBox, 0};
    for (int32_t b = 0; b < ButtonCount; ++b) {
        if (shell.buttons[b] == control) return FocusStop{StopKind::Button, b};
    }
    return FocusStop{StopKind::Window, 0};
}

HWND ControlOf(FocusStop stop) {
    switch (stop.kind) {
        case StopKind::Field:
            return stop.index >= 0 && stop.index < MaxInputs ? shell.fields[stop.index] : nullptr;
        case StopKind::ReportBox:
            return shell.reportBox;
        case StopKind::Button:
            return stop.index >= 0 && stop.index < ButtonCount ? shell.buttons[stop.index] : nullptr;
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

int FocusMarkWidth() {
    const int width = Scaled(2, shell.layoutDpi);
    return width < 2 ? 2 : width;
}

// The focus frame's outer edge around `control`, in the window's client coordinates.
RECT FocusFrameRect(HWND control) {
    RECT rect;
    GetWindowRect(control, &rect);
    MapWindowPoints(nullptr, shell.window, reinterpret_cast<POINT*>(&rect), 2);
    const int gap = Scaled(1, shell.layoutDpi);
    InflateRect(&rect, gap + FocusMarkWidth(), gap + FocusMarkWidth());
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
    shell.presenter(shell.window, done.noticeIcon, done.noticeCaption, done.noticeText);
    if (had != nullptr && IsChild(shell.window, had)) FocusControl(had);
}

void ApplyOutcome(const Outcome& done, bool announceStatus) {
    const Tool& tool = *shell.state.tool;
    if (done.restoreFields) {
        for (int32_t i = 0; i < tool.inputCount && i < MaxInputs; ++i) {
            char16_t text[64];
            DefaultFieldText(tool.inputs[i], text, 64);
            SetWindowTextW(shell.fields[i], WideFromUtf16(text));
        }
        SetWindowTextW(shell.adviceText, WideFromUtf16(tool.advice));
    }
    if (done.showResult) {
        SetWindowTextW(shell.reportBox, WideFromUtf16(done.report));
        SetWindowTextW(shell.verdictLine, WideFromUtf16(done.verdict));
    }
    // The verdict line takes the colour of the new level when it repaints its background.
    InvalidateRect(shell.verdictLine, nullptr, TRUE);
    wchar_t shown[StatusTextCapacity];
    GetWindowTextW(shell.statusLine, shown, StatusTextCapacity);
    const bool statusChanged = lstrcmpW(shown, WideFromUtf16(shell.state.statusText)) != 0;
    if (statusChanged) SetWindowTextW(shell.statusLine, WideFromUtf16(shell.state.statusText));
    if (done.showResult) {
        Announce(shell.reportBox, EVENT_OBJECT_VALUECHANGE);
        Announce(shell.verdictLine, EVENT_OBJECT_NAMECHANGE);
    }
    if (statusChanged || announceStatus) Announce(shell.statusLine, EVENT_OBJECT_NAMECHANGE);
    if (done.noticeIcon != NoticeIcon::None) ShowNotice(done);
    // Otherwise the focus stays where it was: on the control whose key or click ran the command.
    if (done.focus == FocusTarget::Field && done.focusField >= 0 && done.focusField < tool.inputCount)
        FocusControl(shell.fields[done.focusField]);
}

void RunCalculate() {
    const Tool& tool = *shell.state.tool;
    char16_t texts[MaxInputs][FieldReadCapacity];
    const char16_t* fieldTexts[MaxInputs] = {};
    for (int32_t i = 0; i < tool.inputCount && i < MaxInputs; ++i) {
        GetWindowTextW(shell.fields[i], WideFromUtf16(texts[i]), FieldReadCapacity);
        fieldTexts[i] = texts[i];
    }
    Calculate(shell.state, fieldTexts, shell.outcome);
    ApplyOutcome(shell.outcome, false);
}

void RunSave() {
    char16_t folder[RecordPathCapacity];
    RecordsFolderPath(folder, RecordPathCapacity);
    SaveRecord(shell.state, LocalTimeNow(), folder, shell.outcome);
    ApplyOutcome(shell.outcome, true);
}

void RunCopy() {
    CopyResult(shell.state, shell.outcome);
    if (shell.outcome.setClipboard)
        FinishCopy(shell.state, PutClipboardText(shell.window, shell.outcome.clipboard), shell.outcome);
    ApplyOutcome(shell.outcome, true);
}

void RunReset() {
    ResetInputs(shell.state, shell.outcome);
    ApplyOutcome(shell.outcome, false);
}

void RunAbout() {
    ShowAbout(shell.state, shell.outcome);
    ApplyOutcome(shell.outcome, false);
}

void RunButton(int32_t button) {
    switch (button) {
        case CalculateButton:
            RunCalculate();
            break;
        case SaveButton:
            RunSave();
            break;
        case CopyButton:
            RunCopy();
            break;
        case ResetButton:
            RunReset();
            break;
        case AboutButton:
            RunAbout();
            break;
        default:
            break;
    }
}

void MoveFocus(FocusStop from, bool backward) {
    const HWND next = ControlOf(NextFocusStop(from, shell.state.tool->inputCount, backward));
    if (next == nullptr) return;
    FocusControl(next);
    // A field reached by Tab is selected whole, so typing replaces it.
    if (StopOf(next).kind == StopKind::Field) SendMessageW(next, EM_SETSEL, 0, -1);
}

// Fonts and child positions for the layout DPI `dpi`; the previous fonts go once no control uses them.
void ApplyLayoutDpi(UINT dpi) {
    HFONT previous[FontCount];
    for (int f = 0; f < FontCount; ++f) previous[f] = shell.fonts[f];
    shell.layoutDpi = dpi;
    CreateFonts(dpi);
    const int clientWidth = Scaled(ClientWidth, dpi);
    for (int c = 0; c < shell.childCount; ++c) {
        const Placed& child = shell.children[c];
        const RECT rect = ScaledRect(child.box, dpi, clientWidth);
        MoveWindow(child.window, rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top, FALSE);
        if (child.font >= 0)
            SendMessageW(child.window, WM_SETFONT, reinterpret_cast<WPARAM>(shell.fonts[child.font]), FALSE);
    }
    for (HFONT font : previous) DeleteObject(font);
}

int32_t LabelWidthInDc(const void* dc, const char16_t* text, int32_t length, bool smallFont) {
    HDC measuring = static_cast<HDC>(const_cast<void*>(dc));
    SelectObject(measuring, shell.fonts[smallFont ? SmallFont : LabelFont]);
    SIZE size = {};
    return GetTextExtentPoint32W(measuring, WideFromUtf16(text), length, &size) ? size.cx : INT32_MAX;
}

// The label as the front end lays it out, measured in the fonts of the current DPI. Created right before
// its field, it names the field for assistive technology.
void PlaceInputLabel(const char16_t* label, int32_t row) {
    HDC dc = GetDC(shell.window);
    const HGDIOBJ original = SelectObject(dc, shell.fonts[LabelFont]);
    const LabelLayout layout = LayOutLabel(label, Scaled(LabelBoxWidth, shell.layoutDpi), LabelWidthInDc, dc);
    SelectObject(dc, original);
    ReleaseDC(shell.window, dc);
    const bool broken = layout.breakAt > 0 && layout.breakAt < TextLength(label);
    // A label that cannot fit even so keeps its beginning in view, cut at the box's edge.
    DWORD style = layout.fits ? SS_RIGHT : SS_LEFTNOWORDWRAP;
    if (layout.breakAt == 0 && layout.smallFont) style |= SS_CENTERIMAGE;
    if (broken) style = SS_OWNERDRAW;
    const LabelBox place = LabelBoxOf(layout, row);
    const HWND created =
        CreateChild(L"STATIC", label, style | SS_NOPREFIX, 0, Box{place.x, place.y, place.width, place.height}, 0,
                    layout.smallFont ? SmallFont : LabelFont);
    if (broken && shell.brokenLabelCount < MaxInputs)
        shell.brokenLabels[shell.brokenLabelCount++] = BrokenLabel{created, layout.breakAt, layout.fits};
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
        DrawLabelText(item, caption, font, Colours.labelText, label.fits);
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

// Each button's key in a tooltip. Made once the window has been painted, so that loading the common controls
// never delays it.
void AddButtonTips() {
    INITCOMMONCONTROLSEX classes = {sizeof classes, ICC_WIN95_CLASSES};
    InitCommonControlsEx(&classes);
    HWND tips =
        CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX, CW_USEDEFAULT,
                        CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, shell.window, nullptr, shell.instance, nullptr);
    if (tips == nullptr) return;
    for (int32_t b = 0; b < ButtonCount; ++b) {
        const char16_t* hint = WindowButtonKeyHint(static_cast<WindowButton>(b));
        if (hint[0] == 0) continue;
        TOOLINFOW tool = {};
        tool.cbSize = TTTOOLINFOW_V2_SIZE;  // the size every version of the common controls accepts
        tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
        tool.hwnd = shell.window;
        tool.uId = reinterpret_cast<UINT_PTR>(shell.buttons[b]);
        tool.lpszText = const_cast<wchar_t*>(WideFromUtf16(hint));
        SendMessageW(tips, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
    }
}

// ---- message handlers, one per message

bool OnCreate(HWND window) {
    shell.window = window;
    const Tool& tool = *shell.state.tool;
    for (int32_t i = 0; i < tool.inputCount && i < MaxInputs; ++i) {
        const InputField& input = tool.inputs[i];
        PlaceInputLabel(input.label, i);
        char16_t text[64];
        DefaultFieldText(input, text, 64);
        shell.fields[i] = CreateChild(L"EDIT", text, ES_LEFT | ES_AUTOHSCROLL | WS_TABSTOP, WS_EX_CLIENTEDGE,
                                      InputFieldBox(i), FirstFieldId + i, FieldFont);
        FieldAccessibleDescription(input, shell.fieldDescriptions[i], FieldDescriptionCapacity);
        const LONG_PTR editProc =
            SetWindowLongPtrW(shell.fields[i], GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(FieldProc));
        shell.systemEditProc = reinterpret_cast<WNDPROC>(editProc);
        if (input.unit != nullptr && input.unit[0] != 0)
            CreateChild(L"STATIC", input.unit, SS_LEFT | SS_NOPREFIX, 0, UnitLabelBox(i), 0, SmallFont);
    }
    shell.verdictLine =
        CreateChild(L"STATIC", InitialVerdictText, SS_LEFT | SS_NOPREFIX, 0, VerdictLineBox, 0, VerdictFont);
    // A hidden label right before the report box names it; the caption above it is painted.
    ShowWindow(CreateChild(L"STATIC", ReportBoxName, SS_LEFT | SS_NOPREFIX, 0, ResultCaptionBox, 0, -1), SW_HIDE);
    shell.reportBox = CreateChild(L"EDIT", u"", ES_MULTILINE | ES_READONLY | ES_AUTOVSCROLL | WS_VSCROLL | WS_TABSTOP,
                                  WS_EX_CLIENTEDGE, ReportBoxBox, ReportBoxId, ReportFont);
    shell.adviceText = CreateChild(L"STATIC", tool.advice, SS_LEFT | SS_NOPREFIX, 0, AdviceTextBox, 0, SmallFont);
    char16_t reference[LineTextCapacity];
    ReferenceLineText(tool, reference, LineTextCapacity);
    CreateChild(L"STATIC", reference, SS_LEFT | SS_NOPREFIX, 0, ReferenceLineBox, 0, SmallFont);
    for (int b = 0; b < ButtonCount; ++b)
        shell.buttons[b] = CreateChild(L"BUTTON", ButtonRows[b].caption, BS_PUSHBUTTON | BS_OWNERDRAW | WS_TABSTOP, 0,
                                       ButtonRows[b].box, FirstButtonId + b, -1);
    // A static control, so that the status is a readable object and not only paint.
    shell.statusLine =
        CreateChild(L"STATIC", shell.state.statusText, SS_RIGHT | SS_CENTERIMAGE | SS_ENDELLIPSIS | SS_NOPREFIX, 0,
                    StatusLineBox, 0, SmallFont);
    return true;
}

void OnDestroy() { PostQuitMessage(0); }

void OnPaint(HWND window) {
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(window, &paint);
    RECT client;
    GetClientRect(window, &client);
    PaintMainWindow(dc, client, shell.layoutDpi, shell.state, shell.fonts);
    const HWND focus = GetFocus();
    if (IsFramedControl(focus)) PaintFocusFrame(dc, FocusFrameRect(focus), FocusMarkWidth(), Colours.focusMark);
    EndPaint(window, &paint);
}

void OnGetMinMaxInfo(MINMAXINFO& info) {
    // Computed for the frame of this system rather than fixed numbers, so the client area stays exact.
    const SIZE outer = OuterSize(shell.layoutDpi, shell.dpi);
    info.ptMinTrackSize = POINT{outer.cx, outer.cy};
    info.ptMaxTrackSize = POINT{outer.cx, outer.cy};
}

HBRUSH OnCtlColorEdit(HDC dc) {
    SetTextColor(dc, ColorRefFromRgb(Colours.bodyText));
    SetBkColor(dc, ColorRefFromRgb(Colours.panel));
    return shell.whiteBrush;
}

HBRUSH OnCtlColorStatic(HDC dc, HWND control) {
    uint32_t colour = Colours.labelText;
    if (control == shell.verdictLine) colour = VerdictColour(shell.state);
    if (control == shell.reportBox || control == shell.adviceText) colour = Colours.bodyText;
    if (control == shell.statusLine) colour = Colours.statusText;
    SetTextColor(dc, ColorRefFromRgb(colour));
    if (control == shell.statusLine) {
        SetBkColor(dc, ColorRefFromRgb(Colours.buttonBar));
        return shell.barBrush;
    }
    SetBkMode(dc, TRANSPARENT);
    return shell.whiteBrush;
}

bool OnCommand(int id, int code, HWND control) {
    if (code == EN_SETFOCUS || code == EN_KILLFOCUS) {
        if (code == EN_SETFOCUS) shell.lastFocus = control;
        InvalidateFocusFrame(control);
        return true;
    }
    if (id < FirstButtonId || id >= FirstButtonId + ButtonCount) return false;
    RunButton(id - FirstButtonId);
    return true;
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
    POINT at = {suggested.left, suggested.top};
    if (shell.layoutDpi != dpi) at = CentredIn(work, outer);
    SetWindowPos(window, nullptr, at.x, at.y, outer.cx, outer.cy, SWP_NOZORDER | SWP_NOACTIVATE);
    InvalidateRect(window, nullptr, TRUE);
}

// The work area or the screen changed: the window fits it again, and is centred when it had to change.
void OnScreenChanged(HWND window) {
    const UINT before = shell.layoutDpi;
    const RECT work = WorkAreaOf(MonitorFromWindow(window, MONITOR_DEFAULTTONEAREST));
    const SIZE outer = FitToScreen(DpiOfWindow(window), work);
    if (shell.layoutDpi == before) return;
    const POINT at = CentredIn(work, outer);
    SetWindowPos(window, nullptr, at.x, at.y, outer.cx, outer.cy, SWP_NOZORDER | SWP_NOACTIVATE);
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
        case WM_DRAWITEM: {
            const DRAWITEMSTRUCT& item = *reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
            if (item.CtlType == ODT_STATIC)
                DrawBrokenLabel(item);
            else
                DrawButton(item, shell.fonts[ButtonFont], FocusMarkWidth());
            return TRUE;
        }
        case WM_CTLCOLOREDIT:
            return reinterpret_cast<LRESULT>(OnCtlColorEdit(reinterpret_cast<HDC>(wParam)));
        case WM_CTLCOLORSTATIC:
            return reinterpret_cast<LRESULT>(
                OnCtlColorStatic(reinterpret_cast<HDC>(wParam), reinterpret_cast<HWND>(lParam)));
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
        case AddButtonTipsMessage:
            AddButtonTips();
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

}  // namespace

void SetNoticePresenter(NoticePresenter presenter) {
    shell.presenter = presenter != nullptr ? presenter : ShowNoticeBox;
}

const FrontEnd& MainWindowState() { return shell.state; }

HWND CreateMainWindow(HINSTANCE instance, const Tool& tool) {
    shell.instance = instance;
    if (shell.presenter == nullptr) shell.presenter = ShowNoticeBox;
    StartFrontEnd(shell.state, tool);
    // Laid out for the primary monitor, where the window opens; corrected below for another one.
    const UINT dpi = SystemDpi();
    const RECT work = WorkAreaOf(MonitorFromPoint(POINT{0, 0}, MONITOR_DEFAULTTOPRIMARY));
    shell.dpi = dpi;
    shell.layoutDpi = FittedLayoutDpi(dpi, work);
    ChooseFaces();
    CreateFonts(shell.layoutDpi);
    shell.whiteBrush = CreateSolidBrush(ColorRefFromRgb(Colours.panel));
    shell.barBrush = CreateSolidBrush(ColorRefFromRgb(Colours.buttonBar));
    shell.backgroundBrush = CreateSolidBrush(ColorRefFromRgb(Colours.windowBackground));

    WNDCLASSEXW windowClass = {};
    windowClass.cbSize = sizeof windowClass;
    windowClass.lpfnWndProc = MainWindowProc;
    windowClass.hInstance = instance;
    windowClass.hIcon = LoadIconW(instance, MAKEINTRESOURCEW(1));
    windowClass.hCursor = LoadCursorW(nullptr, MAKEINTRESOURCEW(32512));  // IDC_ARROW
    windowClass.hbrBackground = shell.backgroundBrush;
    windowClass.lpszClassName = WindowClassName;
    RegisterClassExW(&windowClass);

    const SIZE outer = OuterSize(shell.layoutDpi, dpi);
    const POINT at = CentredIn(work, outer);
    HWND window = CreateWindowExW(0, WindowClassName, WideFromUtf16(tool.title), MainWindowStyle, at.x, at.y, outer.cx,
                                  outer.cy, nullptr, nullptr, instance, nullptr);
    if (window == nullptr) return nullptr;
    // The monitor the window opened on may have another DPI than the system's.
    const UINT windowDpi = DpiOfWindow(window);
    if (windowDpi != dpi) {
        const RECT windowWork = WorkAreaOf(MonitorFromWindow(window, MONITOR_DEFAULTTONEAREST));
        const SIZE size = FitToScreen(windowDpi, windowWork);
        const POINT centred = CentredIn(windowWork, size);
        SetWindowPos(window, nullptr, centred.x, centred.y, size.cx, size.cy, SWP_NOZORDER | SWP_NOACTIVATE);
    }
    return window;
}

bool ApplyKeyRule(const MSG& message) {
    if (message.message != WM_KEYDOWN && message.message != WM_SYSKEYDOWN) return false;
    if (shell.window == nullptr || (message.hwnd != shell.window && !IsChild(shell.window, message.hwnd))) return false;
    const KeyPress press = KeyPressFromMessage(message.wParam, message.lParam, GetKeyState(VK_CONTROL) < 0,
                                               GetKeyState(VK_MENU) < 0, GetKeyState(VK_SHIFT) < 0);
    const FocusStop focused = StopOf(message.hwnd);
    const KeyAction action = KeyActionFor(press, focused);
    // A held key runs its command once: its repeats would save again each time a notice closed.
    const bool repeated = (message.lParam & (LPARAM{1} << 30)) != 0;
    const bool command = action == KeyAction::Calculate || action == KeyAction::Save || action == KeyAction::Copy ||
                         action == KeyAction::Reset || action == KeyAction::About;
    if (repeated && command) return true;
    switch (action) {
        case KeyAction::PassOn:
            // Select-all is an editing key the system's field does not know everywhere.
            if (focused.kind == StopKind::Field && press.ctrl && !press.alt && press.character == u'a') {
                SendMessageW(message.hwnd, EM_SETSEL, 0, -1);
                return true;
            }
            return false;
        case KeyAction::Swallow:
            // Used up before translation, so no character reaches the field either.
            return true;
        case KeyAction::Calculate:
            RunButton(CalculateButton);
            return true;
        case KeyAction::Save:
            RunButton(SaveButton);
            return true;
        case KeyAction::Copy:
            RunButton(CopyButton);
            return true;
        case KeyAction::Reset:
            RunButton(ResetButton);
            return true;
        case KeyAction::About:
            RunButton(AboutButton);
            return true;
        case KeyAction::FocusNext:
        case KeyAction::FocusPrevious:
            MoveFocus(focused, action == KeyAction::FocusPrevious);
            return true;
    }
    return false;
}

int RunMainWindow(HINSTANCE instance, const Tool& tool) {
    HWND window = CreateMainWindow(instance, tool);
    if (window == nullptr) return 1;
    ShowWindow(window, SW_SHOW);
    UpdateWindow(window);
    FocusControl(ControlToRefocus());
    PostMessageW(window, AddButtonTipsMessage, 0, 0);
    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        if (ApplyKeyRule(message)) continue;
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    return 0;
}

}  // namespace ovra
