#pragma once
// The Windows services the commands need besides the window: message boxes, the clipboard, the records folder
// and the clock.
#include <windows.h>

#include <cstdint>

#include "ui/frontend.h"

namespace ovra {

// A modal message box owned by `owner` with an OK button.
void ShowNoticeBox(HWND owner, NoticeIcon icon, const char16_t* caption, const char16_t* text);

// Replaces the clipboard with `text` as CF_UNICODETEXT; false when it does not hold the text afterwards. The
// memory is had before the clipboard is opened, so a failure up to the emptying leaves it as it was.
bool PutClipboardText(HWND owner, const char16_t* text);

// The local application-data folder followed by \OvraMedSuite\records; empty when the shell names none.
void RecordsFolderPath(char16_t* out, int32_t capacity);

LocalTime LocalTimeNow();

}  // namespace ovra
