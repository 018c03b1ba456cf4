// The Windows program: the whole command line decides between the headless self-test and the window.
#include <windows.h>

#include "entry/command_line.h"
#include "entry/dll_search_windows.h"
#include "entry/selftest.h"
#include "tool/tool.h"
#include "ui/win32/dpi.h"
#include "ui/win32/main_window.h"
#include "ui/win32/wide_text.h"

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
    ovra::RestrictDllSearchToSystem32();
    const ovra::StartRequest request = ovra::ReadCommandLine(ovra::Utf16FromWide(GetCommandLineW()));
    if (request.selfTest) return ovra::RunSelfTest(request.reportPath);
    ovra::DeclareDpiAwareness();
    return ovra::RunMainWindow(instance, ovra::ActiveTool());
}
