#include "ui/win32/platform_services.h"

#include <shlobj.h>

#include "text/format.h"
#include "text/text.h"
#include "ui/win32/wide_text.h"

namespace ovra {

void ShowNoticeBox(HWND owner, NoticeIcon icon, const char16_t* caption, const char16_t* text) {
    const UINT type = MB_OK | (icon == NoticeIcon::Warning ? MB_ICONWARNING : MB_ICONINFORMATION);
    MessageBoxW(owner, WideFromUtf16(text), WideFromUtf16(caption), type);
}

bool PutClipboardText(HWND owner, const char16_t* text) {
    const int32_t length = TextLength(text);
    HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, (static_cast<SIZE_T>(length) + 1) * sizeof(char16_t));
    if (memory == nullptr) return false;
    char16_t* copy = static_cast<char16_t*>(GlobalLock(memory));
    if (copy == nullptr) {
        GlobalFree(memory);
        return false;
    }
    CopyText(copy, length + 1, text);
    GlobalUnlock(memory);
    // Another program (a clipboard viewer, a remote desktop's bridge, Wine's bridge to X) opens the clipboard
    // for a moment now and then: a Copy that meets it tries again, for a tenth of a second at most.
    bool open = OpenClipboard(owner) != 0;
    for (int attempt = 0; attempt < 10 && !open; ++attempt) {
        Sleep(10);
        open = OpenClipboard(owner) != 0;
    }
    bool set = false;
    if (open) {
        // The clipboard owns the block once it is accepted; only a refused block is ours to free.
        set = EmptyClipboard() && SetClipboardData(CF_UNICODETEXT, memory) != nullptr;
        CloseClipboard();
    }
    if (!set) GlobalFree(memory);
    return set;
}

void RecordsFolderPath(char16_t* out, int32_t capacity) {
    out[0] = 0;
    wchar_t folder[MAX_PATH];
    if (SHGetFolderPathW(nullptr, CSIDL_LOCAL_APPDATA, nullptr, SHGFP_TYPE_CURRENT, folder) != S_OK) return;
    FormatText(out, capacity, u"%ls\\OvraMedSuite\\records", Utf16FromWide(folder));
}

LocalTime LocalTimeNow() {
    SYSTEMTIME now;
    GetLocalTime(&now);
    return LocalTime{now.wYear, now.wMonth, now.wDay, now.wHour, now.wMinute, now.wSecond};
}

}  // namespace ovra
