#pragma once
// The Win32 window over the shared front end: it reads the fields, calls a command and applies the Outcome.
#include <windows.h>

#include "tool/tool.h"

namespace ovra {

// Creates, shows and runs the window until it is closed: 0, or 1 when the window cannot be created.
int RunMainWindow(HINSTANCE instance, const Tool& tool);
// The window created, not yet shown, for a benchmark that times its first paint.
HWND CreateMainWindow(HINSTANCE instance, const Tool& tool);

}  // namespace ovra
