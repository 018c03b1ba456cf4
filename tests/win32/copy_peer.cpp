// Another Windows process beside the program, for the Copy test:
//   copy_peer hold                      opens the clipboard as a program does while it reads or writes it, prints
//                                       HELD, and closes it once its standard input ends
//   copy_peer length <title> <id>       prints the length of the text of control <id> in the window <title>
//   copy_peer focus <title>             prints the id of the control with the keyboard focus while the window
//                                       <title> is active, else "none"
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <windows.h>

#include <cstdio>
#include <cwchar>

namespace {

int Hold() {
    // Wine's own clipboard bridge to X opens it now and then; wait for it to be free, up to 10 s.
    bool held = false;
    for (int i = 0; i < 500 && !held; ++i) {
        held = OpenClipboard(nullptr) != 0;
        if (!held) Sleep(20);
    }
    if (!held) return 1;
    std::printf("HELD\n");
    std::fflush(stdout);
    while (std::getchar() != EOF) {
    }
    CloseClipboard();
    return 0;
}

int Length(const wchar_t* title, int id) {
    const HWND main = FindWindowW(L"OvraMedToolWnd", title);
    const HWND control = main != nullptr ? GetDlgItem(main, id) : nullptr;
    if (control == nullptr) return 2;
    // Asked of the control itself: for a window of another process, GetWindowTextLength reads only a caption.
    DWORD_PTR length = 0;
    if (!SendMessageTimeoutW(control, WM_GETTEXTLENGTH, 0, 0, SMTO_ABORTIFHUNG, 5000, &length)) return 1;
    std::printf("%lu\n", static_cast<unsigned long>(length));
    return 0;
}

int Focus(const wchar_t* title) {
    const HWND main = FindWindowW(L"OvraMedToolWnd", title);
    if (main == nullptr) return 2;
    GUITHREADINFO info = {};
    info.cbSize = sizeof info;
    const bool active = GetGUIThreadInfo(GetWindowThreadProcessId(main, nullptr), &info) && info.hwndActive == main;
    if (active && info.hwndFocus != nullptr)
        std::printf("%d\n", GetDlgCtrlID(info.hwndFocus));
    else
        std::printf("none\n");
    return 0;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc == 2 && std::wcscmp(argv[1], L"hold") == 0) return Hold();
    if (argc == 4 && std::wcscmp(argv[1], L"length") == 0) return Length(argv[2], _wtoi(argv[3]));
    if (argc == 3 && std::wcscmp(argv[1], L"focus") == 0) return Focus(argv[2]);
    return 2;
}
