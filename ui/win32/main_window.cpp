#include "ui/win32/main_window.h"

#include "text/text.h"
#include "ui/field_reading.h"
#include "ui/win32/dpi.h"
#include "ui/win32/platform_services.h"
#include "ui/win32/wide_text.h"
#include "ui/win32/window_layout.h"
#include "ui/win32/window_paint.h"

namespace ovra {
namespace {

constexpr wchar_t WindowClassName[] = L"OvraMedToolWnd";
constexpr int MaxChildren = MaxInputs * 3 + 4 + ButtonCount;

// A child as laid out at 96 DPI, so a DPI change can place it again.
struct Placed {
    HWND window;
    Box box;
    int font;  // a FontRole, or -1 for a control that selects its own font
};

// The one window of the process, with its front end; lives until the process ends.
struct Shell {
    HINSTANCE instance;
    HWND window;
    UINT dpi;
    FrontEnd state;
    Outcome outcome;
    HFONT fonts[FontCount];
    HBRUSH whiteBrush;
    HBRUSH backgroundBrush;
    HWND fields[MaxInputs];
    HWND verdictLine, reportBox, adviceText;
    Placed children[MaxChildren];
    int childCount;
    NoticePresenter presenter;
};
Shell shell = {};

void CreateFonts(UINT dpi) {
    for (int f = 0; f < FontCount; ++f) {
        const FontRow& row = FontRows[f];
        shell.fonts[f] = CreateFontW(-Scaled(row.height, dpi), 0, 0, 0, row.weight, FALSE, FALSE, FALSE,
                                     DEFAULT_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, CLEARTYPE_QUALITY,
                                     DEFAULT_PITCH | FF_DONTCARE, row.face);
    }
}

HWND CreateChild(const wchar_t* className, const char16_t* text, DWORD style, DWORD exStyle, const Box& box,
                 int id, int font) {
    const RECT rect = ScaledRect(box, shell.dpi, Scaled(ClientWidth, shell.dpi));
    HWND child = CreateWindowExW(exStyle, className, WideFromUtf16(text), WS_CHILD | WS_VISIBLE | style, rect.left,
                                 rect.top, rect.right - rect.left, rect.bottom - rect.top, shell.window,
                                 reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), shell.instance, nullptr);
    if (font >= 0) SendMessageW(child, WM_SETFONT, reinterpret_cast<WPARAM>(shell.fonts[font]), TRUE);
    if (shell.childCount < MaxChildren) shell.children[shell.childCount++] = Placed{child, box, font};
    return child;
}

SIZE OuterSize(UINT dpi) {
    RECT rect = {0, 0, Scaled(ClientWidth, dpi), Scaled(ClientHeight, dpi)};
    AdjustWindowRectForDpi(rect, MainWindowStyle, dpi);
    return SIZE{rect.right - rect.left, rect.bottom - rect.top};
}

RECT StatusRect() {
    for (int i = 0; i < TextRowCount; ++i) {
        if (TextRows[i].text == Painted::Status)
            return ScaledRect(TextRows[i].box, shell.dpi, Scaled(ClientWidth, shell.dpi));
    }
    return RECT{};
}

void ApplyOutcome(const Outcome& done) {
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
    const RECT status = StatusRect();
    InvalidateRect(shell.window, &status, FALSE);
    if (done.noticeIcon != NoticeIcon::None)
        shell.presenter(shell.window, done.noticeIcon, done.noticeCaption, done.noticeText);
    if (done.focus == FocusTarget::Field && done.focusField >= 0 && done.focusField < tool.inputCount)
        SetFocus(shell.fields[done.focusField]);
}

void RunCalculate() {
    const Tool& tool = *shell.state.tool;
    char16_t texts[MaxInputs][FieldTextCapacity];
    const char16_t* fieldTexts[MaxInputs] = {};
    for (int32_t i = 0; i < tool.inputCount && i < MaxInputs; ++i) {
        GetWindowTextW(shell.fields[i], WideFromUtf16(texts[i]), FieldTextCapacity);
        fieldTexts[i] = texts[i];
    }
    Calculate(shell.state, fieldTexts, shell.outcome);
    ApplyOutcome(shell.outcome);
}

void RunSave() {
    char16_t folder[RecordPathCapacity];
    RecordsFolderPath(folder, RecordPathCapacity);
    SaveRecord(shell.state, LocalTimeNow(), folder, shell.outcome);
    ApplyOutcome(shell.outcome);
}

void RunCopy() {
    char16_t previousStatus[StatusTextCapacity];
    CopyText(previousStatus, StatusTextCapacity, shell.state.statusText);
    CopyResult(shell.state, shell.outcome);
    // A clipboard that cannot be opened changes nothing, the status line included.
    if (shell.outcome.setClipboard && !PutClipboardText(shell.window, shell.outcome.clipboard))
        CopyText(shell.state.statusText, StatusTextCapacity, previousStatus);
    ApplyOutcome(shell.outcome);
}

void RunReset() {
    ResetInputs(shell.state, shell.outcome);
    ApplyOutcome(shell.outcome);
}

void RunAbout() {
    ShowAbout(shell.state, shell.outcome);
    ApplyOutcome(shell.outcome);
}

void MoveFieldFocus(int32_t step) {
    const int32_t count = shell.state.tool->inputCount < MaxInputs ? shell.state.tool->inputCount : MaxInputs;
    if (count <= 0) return;
    int32_t current = -1;
    const HWND focus = GetFocus();
    for (int32_t i = 0; i < count; ++i) {
        if (shell.fields[i] == focus) current = i;
    }
    const HWND next = shell.fields[NextFieldIndex(current, count, step)];
    SetFocus(next);
    SendMessageW(next, EM_SETSEL, 0, -1);
}

// Fonts and child positions for `dpi`; the previous fonts go once no control uses them.
void ApplyDpi(UINT dpi) {
    HFONT previous[FontCount];
    for (int f = 0; f < FontCount; ++f) previous[f] = shell.fonts[f];
    shell.dpi = dpi;
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

// The label as the front end lays it out, measured in the fonts of the current DPI.
void PlaceInputLabel(const char16_t* label, int32_t row) {
    HDC dc = GetDC(shell.window);
    const HGDIOBJ original = SelectObject(dc, shell.fonts[LabelFont]);
    const LabelLayout layout = LayOutLabel(label, Scaled(LabelBoxWidth, shell.dpi), LabelWidthInDc, dc);
    SelectObject(dc, original);
    ReleaseDC(shell.window, dc);
    char16_t caption[LineTextCapacity + 1];
    CopyText(caption, LineTextCapacity, label);
    const int32_t length = TextLength(caption);
    if (layout.breakAt > 0 && layout.breakAt < length) {
        for (int32_t k = length; k >= layout.breakAt; --k) caption[k + 1] = caption[k];
        caption[layout.breakAt] = u'\n';
    }
    // A label that cannot fit even so keeps its beginning in view, cut at the box's edge.
    DWORD style = layout.fits ? SS_RIGHT : SS_LEFTNOWORDWRAP;
    if (layout.breakAt == 0 && layout.smallFont) style |= SS_CENTERIMAGE;
    const LabelBox place = LabelBoxOf(layout, row);
    CreateChild(L"STATIC", caption, style | SS_NOPREFIX, 0, Box{place.x, place.y, place.width, place.height}, 0,
                layout.smallFont ? SmallFont : LabelFont);
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
        shell.fields[i] = CreateChild(L"EDIT", text, ES_LEFT | ES_AUTOHSCROLL, WS_EX_CLIENTEDGE, InputFieldBox(i),
                                      FirstFieldId + i, FieldFont);
        if (input.unit != nullptr && input.unit[0] != 0)
            CreateChild(L"STATIC", input.unit, SS_LEFT | SS_NOPREFIX, 0, UnitLabelBox(i), 0, SmallFont);
    }
    shell.verdictLine =
        CreateChild(L"STATIC", InitialVerdictText, SS_LEFT | SS_NOPREFIX, 0, VerdictLineBox, 0, VerdictFont);
    shell.reportBox = CreateChild(L"EDIT", u"", ES_MULTILINE | ES_READONLY | ES_AUTOVSCROLL | WS_VSCROLL,
                                  WS_EX_CLIENTEDGE, ReportBoxBox, ReportBoxId, ReportFont);
    shell.adviceText =
        CreateChild(L"STATIC", tool.advice, SS_LEFT | SS_NOPREFIX, 0, AdviceTextBox, 0, SmallFont);
    char16_t reference[LineTextCapacity];
    ReferenceLineText(tool, reference, LineTextCapacity);
    CreateChild(L"STATIC", reference, SS_LEFT | SS_NOPREFIX, 0, ReferenceLineBox, 0, SmallFont);
    for (int b = 0; b < ButtonCount; ++b)
        CreateChild(L"BUTTON", ButtonRows[b].caption, BS_PUSHBUTTON | BS_OWNERDRAW, 0, ButtonRows[b].box,
                    FirstButtonId + b, -1);
    return true;
}

void OnDestroy() { PostQuitMessage(0); }

void OnPaint(HWND window) {
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(window, &paint);
    RECT client;
    GetClientRect(window, &client);
    PaintMainWindow(dc, client, shell.dpi, shell.state, shell.fonts);
    EndPaint(window, &paint);
}

void OnGetMinMaxInfo(MINMAXINFO& info) {
    // Computed for the frame of this system rather than fixed numbers, so the client area stays exact.
    const SIZE outer = OuterSize(shell.dpi);
    info.ptMinTrackSize = POINT{outer.cx, outer.cy};
    info.ptMaxTrackSize = POINT{outer.cx, outer.cy};
}

HBRUSH OnCtlColorEdit(HDC dc) {
    SetTextColor(dc, ColorRefFromRgb(0x2C3842));
    SetBkColor(dc, ColorRefFromRgb(0xFFFFFF));
    return shell.whiteBrush;
}

HBRUSH OnCtlColorStatic(HDC dc, HWND control) {
    uint32_t colour = 0x78848E;
    if (control == shell.verdictLine) colour = VerdictColourFromLevel(shell.state.lastLevel);
    if (control == shell.reportBox || control == shell.adviceText) colour = 0x2C3842;
    SetTextColor(dc, ColorRefFromRgb(colour));
    SetBkMode(dc, TRANSPARENT);
    return shell.whiteBrush;
}

bool OnCommand(int id) {
    switch (id) {
        case FirstButtonId + CalculateButton:
            RunCalculate();
            return true;
        case FirstButtonId + SaveButton:
            RunSave();
            return true;
        case FirstButtonId + CopyButton:
            RunCopy();
            return true;
        case FirstButtonId + ResetButton:
            RunReset();
            return true;
        case FirstButtonId + AboutButton:
            RunAbout();
            return true;
        default:
            return false;
    }
}

void OnDpiChanged(HWND window, UINT dpi, const RECT& suggested) {
    ApplyDpi(dpi);
    SetWindowPos(window, nullptr, suggested.left, suggested.top, suggested.right - suggested.left,
                 suggested.bottom - suggested.top, SWP_NOZORDER | SWP_NOACTIVATE);
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
            DrawButton(*reinterpret_cast<const DRAWITEMSTRUCT*>(lParam), shell.fonts[ButtonFont]);
            return TRUE;
        case WM_CTLCOLOREDIT:
            return reinterpret_cast<LRESULT>(OnCtlColorEdit(reinterpret_cast<HDC>(wParam)));
        case WM_CTLCOLORSTATIC:
            return reinterpret_cast<LRESULT>(
                OnCtlColorStatic(reinterpret_cast<HDC>(wParam), reinterpret_cast<HWND>(lParam)));
        case WM_COMMAND:
            if (OnCommand(LOWORD(wParam))) return 0;
            break;
        case WM_DPICHANGED:
            OnDpiChanged(window, HIWORD(wParam), *reinterpret_cast<const RECT*>(lParam));
            return 0;
        default:
            break;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

}  // namespace

void SetNoticePresenter(NoticePresenter presenter) { shell.presenter = presenter != nullptr ? presenter : ShowNoticeBox; }

const FrontEnd& MainWindowState() { return shell.state; }

int32_t NextFieldIndex(int32_t current, int32_t count, int32_t step) {
    if (current < 0 || current >= count) return step > 0 ? 0 : count - 1;
    return ((current + step) % count + count) % count;
}

HWND CreateMainWindow(HINSTANCE instance, const Tool& tool) {
    shell.instance = instance;
    if (shell.presenter == nullptr) shell.presenter = ShowNoticeBox;
    StartFrontEnd(shell.state, tool);
    const UINT dpi = SystemDpi();
    shell.dpi = dpi;
    CreateFonts(dpi);
    shell.whiteBrush = CreateSolidBrush(ColorRefFromRgb(0xFFFFFF));
    shell.backgroundBrush = CreateSolidBrush(ColorRefFromRgb(0xF4F7F9));

    WNDCLASSEXW windowClass = {};
    windowClass.cbSize = sizeof windowClass;
    windowClass.lpfnWndProc = MainWindowProc;
    windowClass.hInstance = instance;
    windowClass.hIcon = LoadIconW(instance, MAKEINTRESOURCEW(1));
    windowClass.hCursor = LoadCursorW(nullptr, MAKEINTRESOURCEW(32512));  // IDC_ARROW
    windowClass.hbrBackground = shell.backgroundBrush;
    windowClass.lpszClassName = WindowClassName;
    RegisterClassExW(&windowClass);

    const SIZE outer = OuterSize(dpi);
    const int x = (GetSystemMetrics(SM_CXSCREEN) - outer.cx) / 2;
    const int y = (GetSystemMetrics(SM_CYSCREEN) - outer.cy) / 2;
    HWND window = CreateWindowExW(0, WindowClassName, WideFromUtf16(tool.title), MainWindowStyle, x < 0 ? 0 : x,
                                  y < 0 ? 0 : y, outer.cx, outer.cy, nullptr, nullptr, instance, nullptr);
    if (window == nullptr) return nullptr;
    // The monitor the window opened on may have another DPI than the system's.
    const UINT windowDpi = DpiOfWindow(window);
    if (windowDpi != dpi) {
        ApplyDpi(windowDpi);
        const SIZE size = OuterSize(windowDpi);
        SetWindowPos(window, nullptr, 0, 0, size.cx, size.cy, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
    return window;
}

bool ApplyKeyRule(const MSG& message) {
    if (message.message != WM_KEYDOWN || shell.window == nullptr || !IsChild(shell.window, message.hwnd)) return false;
    switch (message.wParam) {
        case VK_RETURN:
        case VK_F5:
            RunCalculate();
            return true;
        case VK_TAB:
            MoveFieldFocus(GetKeyState(VK_SHIFT) < 0 ? -1 : 1);
            return true;
        default:
            return false;
    }
}

int RunMainWindow(HINSTANCE instance, const Tool& tool) {
    HWND window = CreateMainWindow(instance, tool);
    if (window == nullptr) return 1;
    ShowWindow(window, SW_SHOW);
    UpdateWindow(window);
    if (tool.inputCount > 0) SetFocus(shell.fields[0]);
    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        if (ApplyKeyRule(message)) continue;
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    return 0;
}

}  // namespace ovra
