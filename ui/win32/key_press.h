#pragma once
// A Win32 key-down as the shared key rule names it.
#include <windows.h>

#include "ui/window_keys.h"

namespace ovra {

// `virtualKey` and `flags` are a WM_KEYDOWN's or WM_SYSKEYDOWN's wParam and lParam; the modifiers are the
// states at that message.
KeyPress KeyPressFromMessage(WPARAM virtualKey, LPARAM flags, bool ctrl, bool alt, bool shift);

}  // namespace ovra
