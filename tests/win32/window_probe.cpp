// Reads the calculator's window from another process, as assistive technology does, for the Wine tests.
//   window_probe.exe names <title>            every control's MSAA name, description and value
//   window_probe.exe watch <title> <seconds>  the focus as it changes, each focus event and each name or value
//                                             change event, in the order they came
//   window_probe.exe place <title>            the window's rectangle and its monitor's work area
//   window_probe.exe tips <title>             how many tools the window's tooltip control holds
//   window_probe.exe clip <text>              puts the text on the clipboard
// One line per finding, in UTF-8.
#include <windows.h>
// After windows.h, which they need.
#include <commctrl.h>
#include <oleacc.h>

#include <cstdio>
#include <cstring>
#include <cwchar>

namespace {

void Print(const wchar_t* format, ...) {
    wchar_t line[2048];
    va_list args;
    va_start(args, format);
    vswprintf(line, 2048, format, args);
    va_end(args);
    char bytes[8192];
    const int length = WideCharToMultiByte(CP_UTF8, 0, line, -1, bytes, sizeof bytes, nullptr, nullptr);
    DWORD written = 0;
    if (length > 1) WriteFile(GetStdHandle(STD_OUTPUT_HANDLE), bytes, length - 1, &written, nullptr);
}

HWND FindMain(const wchar_t* title) { return FindWindowW(L"OvraMedToolWnd", title); }

// Line breaks shown as \n, so that each finding stays one line.
void Flatten(const wchar_t* text, wchar_t* out, int capacity) {
    int n = 0;
    for (; *text != 0 && n < capacity - 3; ++text) {
        if (*text == L'\r') continue;
        if (*text == L'\n') {
            out[n++] = L'\\';
            out[n++] = L'n';
        } else {
            out[n++] = *text;
        }
    }
    out[n] = 0;
}

void PrintAccessible(HWND child) {
    IAccessible* accessible = nullptr;
    const HRESULT got = AccessibleObjectFromWindow(child, static_cast<DWORD>(OBJID_CLIENT), __uuidof(IAccessible),
                                                   reinterpret_cast<void**>(&accessible));
    if (FAILED(got)) {
        Print(L"%d none %lx\n", GetDlgCtrlID(child), static_cast<unsigned long>(got));
        return;
    }
    VARIANT self;
    VariantInit(&self);
    self.vt = VT_I4;
    self.lVal = CHILDID_SELF;
    BSTR name = nullptr, description = nullptr, value = nullptr;
    accessible->get_accName(self, &name);
    accessible->get_accDescription(self, &description);
    accessible->get_accValue(self, &value);
    wchar_t className[64], flatName[1024], flatValue[1024];
    GetClassNameW(child, className, 64);
    Flatten(name != nullptr ? name : L"", flatName, 1024);
    Flatten(value != nullptr ? value : L"", flatValue, 1024);
    Print(L"%d %ls name=%ls|description=%ls|value=%ls\n", GetDlgCtrlID(child), className, flatName,
          description != nullptr ? description : L"", flatValue);
    SysFreeString(name);
    SysFreeString(description);
    SysFreeString(value);
    accessible->Release();
}

BOOL CALLBACK PrintChild(HWND child, LPARAM) {
    if (IsWindowVisible(child)) PrintAccessible(child);
    return TRUE;
}

int Names(const wchar_t* title) {
    const HWND main = FindMain(title);
    if (main == nullptr) return 2;
    EnumChildWindows(main, PrintChild, 0);
    return 0;
}

void CALLBACK OnEvent(HWINEVENTHOOK, DWORD event, HWND window, LONG object, LONG child, DWORD, DWORD) {
    if (window == nullptr || object != OBJID_CLIENT || child != CHILDID_SELF) return;
    if (event == EVENT_OBJECT_FOCUS) {
        // Named with the title of its top-level window, so that a message box's focus tells from the window's.
        wchar_t className[64] = L"-", root[256] = L"", flat[256];
        GetClassNameW(window, className, 64);
        GetWindowTextW(GetAncestor(window, GA_ROOT), root, 256);
        Flatten(root, flat, 256);
        Print(L"focused %d %ls in %ls\n", GetDlgCtrlID(window), className, flat);
        return;
    }
    // Through the message, which an edit control of another process answers too.
    wchar_t text[1024] = L"", flat[1024];
    DWORD_PTR copied = 0;
    SendMessageTimeoutW(window, WM_GETTEXT, 1024, reinterpret_cast<LPARAM>(text), SMTO_ABORTIFHUNG, 2000, &copied);
    Flatten(text, flat, 1024);
    Print(L"%ls %d %ls\n", event == EVENT_OBJECT_NAMECHANGE ? L"name" : L"value", GetDlgCtrlID(window), flat);
}

int Watch(const wchar_t* title, int seconds) {
    HWND main = nullptr;
    for (int i = 0; i < 200 && main == nullptr; ++i, Sleep(50)) main = FindMain(title);
    if (main == nullptr) return 2;
    DWORD process = 0;
    const DWORD thread = GetWindowThreadProcessId(main, &process);
    const HWINEVENTHOOK hook = SetWinEventHook(EVENT_OBJECT_NAMECHANGE, EVENT_OBJECT_VALUECHANGE, nullptr, OnEvent,
                                               process, 0, WINEVENT_OUTOFCONTEXT);
    const HWINEVENTHOOK focusHook =
        SetWinEventHook(EVENT_OBJECT_FOCUS, EVENT_OBJECT_FOCUS, nullptr, OnEvent, process, 0, WINEVENT_OUTOFCONTEXT);
    Print(L"watching%ls\n", hook != nullptr && focusHook != nullptr ? L"" : L" without events");
    HWND shown = reinterpret_cast<HWND>(-1);
    const ULONGLONG end = GetTickCount64() + static_cast<ULONGLONG>(seconds) * 1000;
    while (GetTickCount64() < end && IsWindow(main)) {
        GUITHREADINFO info = {};
        info.cbSize = sizeof info;
        if (GetGUIThreadInfo(thread, &info) && info.hwndActive == main && info.hwndFocus != shown) {
            shown = info.hwndFocus;
            wchar_t className[64] = L"-";
            if (shown != nullptr) GetClassNameW(shown, className, 64);
            Print(L"focus %d %ls\n", shown == main ? -1 : GetDlgCtrlID(shown), className);
        }
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 20, QS_ALLINPUT);
        MSG message;
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&message);
    }
    if (hook != nullptr) UnhookWinEvent(hook);
    if (focusHook != nullptr) UnhookWinEvent(focusHook);
    return 0;
}

int Place(const wchar_t* title) {
    HWND main = nullptr;
    for (int i = 0; i < 200 && main == nullptr; ++i, Sleep(50)) main = FindMain(title);
    if (main == nullptr) return 2;
    RECT window, client;
    GetWindowRect(main, &window);
    GetClientRect(main, &client);
    MONITORINFO monitor = {};
    monitor.cbSize = sizeof monitor;
    GetMonitorInfoW(MonitorFromWindow(main, MONITOR_DEFAULTTONEAREST), &monitor);
    const RECT& work = monitor.rcWork;
    Print(L"window %ld %ld %ld %ld\nwork %ld %ld %ld %ld\nclient %ld %ld\n", window.left, window.top, window.right,
          window.bottom, work.left, work.top, work.right, work.bottom, client.right, client.bottom);
    return 0;
}

int Tips(const wchar_t* title) {
    const HWND main = FindMain(title);
    if (main == nullptr) return 2;
    DWORD process = 0;
    const DWORD thread = GetWindowThreadProcessId(main, &process);
    // Made once the window has been painted: waits for it, within the caller's time limit.
    for (;; Sleep(50)) {
        HWND tips = nullptr;
        while ((tips = FindWindowExW(nullptr, tips, L"tooltips_class32", nullptr)) != nullptr) {
            if (GetWindowThreadProcessId(tips, nullptr) != thread) continue;
            Print(L"tips %ld\n", static_cast<long>(SendMessageW(tips, TTM_GETTOOLCOUNT, 0, 0)));
            return 0;
        }
        if (!IsWindow(main)) break;
    }
    Print(L"tips none\n");
    return 0;
}

// Waits while another process has the clipboard open; a refused open changes nothing, so it is tried again.
int Clip(const wchar_t* text) {
    while (!OpenClipboard(nullptr)) Sleep(20);
    EmptyClipboard();
    const size_t bytes = (wcslen(text) + 1) * sizeof(wchar_t);
    HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, bytes);
    void* copy = memory != nullptr ? GlobalLock(memory) : nullptr;
    if (copy != nullptr) {
        memcpy(copy, text, bytes);
        GlobalUnlock(memory);
    }
    const bool set = copy != nullptr && SetClipboardData(CF_UNICODETEXT, memory) != nullptr;
    if (!set && memory != nullptr) GlobalFree(memory);
    CloseClipboard();
    Print(set ? L"clip set\n" : L"clip failed\n");
    return set ? 0 : 1;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc < 3) return 2;
    CoInitialize(nullptr);
    if (wcscmp(argv[1], L"names") == 0) return Names(argv[2]);
    if (wcscmp(argv[1], L"watch") == 0 && argc > 3) return Watch(argv[2], _wtoi(argv[3]));
    if (wcscmp(argv[1], L"place") == 0) return Place(argv[2]);
    if (wcscmp(argv[1], L"tips") == 0) return Tips(argv[2]);
    if (wcscmp(argv[1], L"clip") == 0) return Clip(argv[2]);
    return 2;
}
