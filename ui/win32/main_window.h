#pragma once
// The Win32 window over the shared front end: it reads the fields, calls a command and applies the Outcome.
#include <windows.h>

#include <cstdint>

#include "tool/tool.h"
#include "ui/frontend.h"

namespace ovra {

// Shows a message box; tests replace it so that nothing blocks.
using NoticePresenter = void (*)(HWND owner, NoticeIcon icon, const char16_t* caption, const char16_t* text);
void SetNoticePresenter(NoticePresenter presenter);

// Creates, shows and runs the window until it is closed: 0, or 1 when the window cannot be created.
int RunMainWindow(HINSTANCE instance, const Tool& tool);

// The pieces of RunMainWindow, for tests that drive the window message by message.
HWND CreateMainWindow(HINSTANCE instance, const Tool& tool);
// A key-down aimed at the window or a control in it, as the shared key rule says: a command, a focus move, or
// nothing at all; true when the message was used up, so it is neither translated nor dispatched.
bool ApplyKeyRule(const MSG& message);
const FrontEnd& MainWindowState();

}  // namespace ovra
